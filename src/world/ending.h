#pragma once

#include "game/ventana.h"

namespace zendor {

// Writes "THE END" (and on completion the code line), restarts the title theme and waits for a
// key. Returns once a key has taken the player back to the menu; the caller's loop then ends.
void ShowEnding(Ventana& v, bool completed);

}  // namespace zendor
