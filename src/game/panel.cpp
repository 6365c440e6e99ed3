#include "game/panel.h"

namespace zendor {

void DrawPanel(Ventana&) {}
void DrawScore(Ventana&) {}
void DrawLives(Ventana&) {}

}  // namespace zendor
