#include "game/compose.h"

namespace zendor {

void ComposeView(Ventana&) {}
void DrawShadow(Ventana&, int) {}
void PresentPlayfield(Ventana&) {}

}  // namespace zendor
