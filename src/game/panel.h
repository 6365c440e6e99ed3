#pragma once

#include "common/ventana.h"

namespace zendor {

// The panel picture into the window's persistent image at the start of a game.
void DrawPanel(Ventana& v);
// The score as six digits over the panel's own background.
void DrawScore(Ventana& v);
// The lives cell for the current number of lives.
void DrawLives(Ventana& v);

}  // namespace zendor
