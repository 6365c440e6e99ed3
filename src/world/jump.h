#pragma once

#include "common/ventana.h"

namespace zendor {

// One frame of a jump or fall, facing right (state 2) or left (state 8).
void StepJump(Ventana& v, bool facingRight);
// The hero's picture onto the frame.
void DrawHero(Ventana& v);

}  // namespace zendor
