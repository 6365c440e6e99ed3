#pragma once

#include <string>

namespace zendor {

class Platform;
class Tracer;

// Runs the whole program on a platform back end: start-up, then the window's messages until the
// program ends. Returns why it ended ("shutdown", "error", or the back end's stop reason). An
// exception that escapes the program deletes the run's temporary files on its way out.
std::string RunProgram(Platform& platform, const std::string& programFolder, Tracer& tracer);

}  // namespace zendor
