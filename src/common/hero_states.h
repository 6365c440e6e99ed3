#pragma once

#include <cstdint>

namespace zendor {

// The hero's states. Each name carries the state's number, because the number is what the
// state is: it picks the hero's sprite sheet (Zendor(n)) and it is what the trace shows. The
// left-facing states are mirrored copies of the right-facing ones.
enum HeroStateNumber : std::int16_t {
  kHero02AirborneRight = 2,  // jumping or falling; the jump routine ends it with 15
  kHero03StandRight = 3,     // standing or walking
  kHero04CrouchRight = 4,    // left only by releasing the down key
  kHero06CrouchLeft = 6,
  kHero07StandLeft = 7,
  kHero08AirborneLeft = 8,
  kHero13TakeOffRight = 13,  // for one frame, then 2
  kHero15LandedRight = 15,   // for one frame, then 3
  kHero17TakeOffLeft = 17,   // for one frame, then 8
  kHero19LandedLeft = 19,    // for one frame, then 7
  kHero23AttackRight = 23,   // six frames, then 3
  kHero27AttackLeft = 27,    // six frames, then 7
};

// An attack state is its standing state plus this; every state above it is an attack.
inline constexpr int kHeroAttackOffset = 20;

// The ground line: HeroY of a hero standing on the ground (his picture's top on the playfield).
inline constexpr int kGroundLine = 55;

}  // namespace zendor
