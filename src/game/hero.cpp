#include "game/hero.h"

namespace zendor {

void HeroKeyRight(Ventana&) {}
void HeroKeyLeft(Ventana&) {}
void HeroKeyUp(Ventana&) {}
void HeroKeyDown(Ventana&) {}
void HeroKeyFire(Ventana&) {}
void HeroKeyRelease(Ventana&, int) {}
void HeroUpkeep(Ventana&) {}
void IdleGesture(Ventana&) {}
void PitFallTest(Ventana&, int) {}

}  // namespace zendor
