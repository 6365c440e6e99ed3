#pragma once

#include <cstdint>

namespace zendor {

// The five kinds of creature. Each name carries the kind's number, which the map's spawn zones
// name, the trace shows, and which picks the creature's sprite sheet (Bicho(n)), its voice and
// its explosion picture.
enum EnemyKind : std::int16_t {
  kEnemy0Stinger = 0,   // winged; the flyer slots hold only this kind
  kEnemy1Armoured = 1,  // slow, and blades bounce off its dome
  kEnemy2Hopper = 2,    // hops the first lava pool it meets
  kEnemy3Brute = 3,
  kEnemy4Stilts = 4,
};

inline constexpr int kEnemyKinds = 5;

}  // namespace zendor
