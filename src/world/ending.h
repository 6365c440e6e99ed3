#pragma once

#include "common/ventana.h"

namespace zendor {

// Shown after "LA CLAVE ES " when the level is completed.
inline constexpr const char* kCompletionCode = "361947";

// Writes "THE END" (and on completion the code line), restarts the title theme and waits for a
// key. Returns once a key has taken the player back to the menu; the caller's loop then ends.
void ShowEnding(Ventana& v, bool completed);

}  // namespace zendor
