#pragma once

#include "game/ventana.h"

namespace zendor {

enum class ZoneFamily { A, B };

void SpawnFlyer(Ventana& v, int slot);
void SpawnFromZone(Ventana& v, int slot, ZoneFamily family);
// One frame of a live enemy: voice, movement, hop, drawing, touch test, animation.
void UpdateEnemy(Ventana& v, int slot);
// Every slot in order: update, explosion, or a spawn attempt.
void UpdateEnemies(Ventana& v);

}  // namespace zendor
