#pragma once

#include <string>

#include "common/ventana.h"

namespace zendor {

// Ends the program in order: blank window, temporary files deleted, the desktop, cursor,
// keyboard and task switching given back, the farewell box. Does not return (ProgramExit).
[[noreturn]] void ShutDownGame(Ventana& v);
// The same clean-up without the wait and the farewell, for a closed window or a signal.
[[noreturn]] void ShutDownAtOnce(Ventana& v);

// Deletes what runs that were killed left in the game's temporary folder: their lists and the
// files those name, except files that a copy of the game still running lists too. Returns how
// many lists were removed.
int RemoveFilesOfDeadRuns(const std::string& tempFolder);

// The farewell box's text: the version and how to reach us.
std::string FarewellText(const std::string& newLine);

}  // namespace zendor
