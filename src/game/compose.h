#pragma once

#include "common/ventana.h"

namespace zendor {

// The view copied from the strip into temp, then the hero's and the enemies' shadows.
void ComposeView(Ventana& v);
// One shadow blended onto temp at (x, 91) with the current shadow alpha.
void DrawShadow(Ventana& v, int x);
// temp's playfield stretched onto the window at the display offset and scale.
void PresentPlayfield(Ventana& v);

}  // namespace zendor
