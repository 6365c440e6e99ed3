#pragma once

#include "game/ventana.h"

namespace zendor {

// Ends the program in order: blank window, temporary files deleted, the desktop, cursor,
// keyboard and task switching given back, the farewell box. Does not return (ProgramExit).
[[noreturn]] void ShutDownGame(Ventana& v);
// The same clean-up without the wait and the farewell, for a closed window or a signal.
[[noreturn]] void ShutDownAtOnce(Ventana& v);

}  // namespace zendor
