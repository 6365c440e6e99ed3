#include "world/shots.h"

namespace zendor {

void StepShot(Ventana&) {}
void AttackHitTest(Ventana&) {}
void KillEnemy(Ventana&, int) {}
void StepEnemyExplosion(Ventana&, int) {}
void StepHeroCaught(Ventana&) {}

}  // namespace zendor
