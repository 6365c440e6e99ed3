#include "world/jump.h"

namespace zendor {

void StepJump(Ventana&, bool) {}
void DrawHero(Ventana&) {}

}  // namespace zendor
