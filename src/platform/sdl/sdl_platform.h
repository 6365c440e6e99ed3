#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace zendor {

class RecordingWriter;

// The platform players run the game on: real time, the keyboard through SDL, the game window in
// an SDL window (or full screen), sound effects and music in one SDL audio stream. Works without
// a display too (nothing is shown, message boxes go to standard error). With a recorder, every
// clock reading, wait for input and delivered key goes to it while it is open.
std::unique_ptr<Platform> CreateSdlPlatform(RecordingWriter* recorder = nullptr);
// The same with another window title (the set-up program's).
std::unique_ptr<Platform> CreateSdlPlatform(const std::string& title);

}  // namespace zendor
