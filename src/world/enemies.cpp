#include "world/enemies.h"

namespace zendor {

void SpawnFlyer(Ventana&, int) {}
void SpawnFromZone(Ventana&, int, ZoneFamily) {}
void UpdateEnemy(Ventana&, int) {}
void UpdateEnemies(Ventana&) {}

}  // namespace zendor
