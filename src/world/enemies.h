#pragma once

#include <optional>

#include "common/ventana.h"

namespace zendor {

enum class ZoneFamily { A, B };

void SpawnFlyer(Ventana& v, int slot);
void SpawnFromZone(Ventana& v, int slot, ZoneFamily family);
// One frame of a live enemy: voice, movement, hop, drawing, touch test, animation.
void UpdateEnemy(Ventana& v, int slot);
// Every slot in order: update, explosion, or a spawn attempt.
void UpdateEnemies(Ventana& v);

// Width and height of one frame of an enemy kind's picture (four frames side by side, images
// above masks); nothing for a kind without a picture.
struct EnemyFrameSize {
  int width;
  int height;
};
std::optional<EnemyFrameSize> EnemyFrame(const Ventana& v, int kind);

// The sound buffer that carries the voice of the enemy in a slot.
int EnemyVoice(const GameState& g, int slot);

}  // namespace zendor
