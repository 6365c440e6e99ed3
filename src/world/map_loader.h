#pragma once

#include "common/ventana.h"

namespace zendor {

// Reads "zendor.map" from the program folder into the level tables and paints the level strip.
void LoadMap(Ventana& v);

// Ground piece k copied opaque into the strip at (x, 105).
void DrawGroundPiece(Ventana& v, int x, int k);

}  // namespace zendor
