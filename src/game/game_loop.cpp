#include "game/game_loop.h"

namespace zendor {

void Jugar(Ventana&) {}
void RunGameLoop(Ventana&) {}
void HandleGameKey(Ventana&, int) {}
void StartTheme(Ventana&, int) {}
void ClearEnemies(Ventana&) {}
void ResetHero(Ventana&) {}
void RewindStep(Ventana&) {}

}  // namespace zendor
