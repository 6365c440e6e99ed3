#pragma once

#include "common/ventana.h"

namespace zendor {

void StepShot(Ventana& v);
void AttackHitTest(Ventana& v);
void KillEnemy(Ventana& v, int slot);
void StepEnemyExplosion(Ventana& v, int slot);
void StepHeroCaught(Ventana& v);

}  // namespace zendor
