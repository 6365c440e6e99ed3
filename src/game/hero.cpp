#include "game/hero.h"

#include <cmath>

#include "common/int16.h"
#include "common/settings.h"
#include "common/sound_catalogue.h"
#include "common/sound_system.h"
#include "game/game_loop.h"
#include "platform/platform.h"
#include "world/jump.h"
#include "world/shots.h"

namespace zendor {
namespace {

bool IsOdd(double step) {
  return std::llround(step) % 2 != 0;
}

// Everything the mirror-image key rules need to know about the way the hero faces.
struct Facing {
  HeroStateNumber stand, crouch, takeOff, airborne, landed, attack;
  Binding own, opposite;
  bool Hero::*held;             // the flag of this direction's key
  std::int16_t firstShotStep;   // HeroBusy when a crouching shot starts this way
  std::int16_t crouchOffsetX;   // the crouching picture's x offset
  std::int16_t takeOffOffsetX;  // the take-off picture's
  std::int16_t attackOffsetX;   // the attack picture's
  // Facing left, the wide pictures stand left of the hero's place: entering a crouch, a take-off
  // or an attack sets the x offset, and standing up or leaving the ground clears it. Facing
  // right the offset is left as it is.
  bool shiftsPictures;
  bool takeOffStopsWalking;  // leaving the ground facing right ends the walk; facing left not
};

constexpr Facing kFacingRight = {kHero03StandRight,
                                 kHero04CrouchRight,
                                 kHero13TakeOffRight,
                                 kHero02AirborneRight,
                                 kHero15LandedRight,
                                 kHero23AttackRight,
                                 kBindRight,
                                 kBindLeft,
                                 &Hero::RightHeld,
                                 1,
                                 0,
                                 0,
                                 0,
                                 false,
                                 true};
constexpr Facing kFacingLeft = {kHero07StandLeft,
                                kHero06CrouchLeft,
                                kHero17TakeOffLeft,
                                kHero08AirborneLeft,
                                kHero19LandedLeft,
                                kHero27AttackLeft,
                                kBindLeft,
                                kBindRight,
                                &Hero::LeftHeld,
                                8,
                                -8,
                                -6,
                                -10,
                                true,
                                false};

const Facing& Opposite(const Facing& f) {
  return &f == &kFacingRight ? kFacingLeft : kFacingRight;
}

// In the air or landed, facing either way: the direction keys wait.
bool IsInTheAirOrLanding(const Hero& h) {
  return h.HeroState == kHero02AirborneRight || h.HeroState == kHero08AirborneLeft ||
         h.HeroState == kHero15LandedRight || h.HeroState == kHero19LandedLeft;
}

// The movement keys restart a paused game before they act; the game runs inside the key press
// and the rest of the press is applied once the loop has stopped again.
void ResumeIfPaused(Ventana& v) {
  if (v.game.Playing) return;
  v.game.Playing = true;
  RunGameLoop(v);
}

// Applies a bound key that is still held as if it had just been pressed. A player who bound two
// moves to one key could otherwise make the hero hand the key back and forth for ever, so the
// chain of repeated presses is cut short.
void PressAgain(Ventana& v, Binding binding) {
  constexpr int kMaxDepth = 8;
  int& depth = v.pressAgainDepth;
  if (depth >= kMaxDepth) return;
  ++depth;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{depth};
  HandleGameKey(v, v.settings.KeyBindings[binding]);
}

// Turning round mid-stride keeps the legs where they are in the mirrored walk cycle.
void MirrorWalkStep(Hero& h) {
  if (h.HeroStep == 0) {
    h.HeroStep = 3;
  } else if (h.HeroStep == 2) {
    h.HeroStep = 1;
  }
}

void StandUp(Hero& h) {
  h.HeroWidth = 22;
  h.CrouchDrop = 0;
  h.HeroY = h.GroundY;
}

void FireLaser(Ventana& v, std::int16_t firstStep) {
  v.hero.HeroBusy = firstStep;
  v.sound.Restart(kEffect11LaserCharge);
}

void StartAttack(Hero& h, std::int16_t state) {
  h.HeroState = state;
  h.CrouchDrop = -8;
  h.HeroStep = 0;
  h.HeroY = h.GroundY - 11;
  h.HeroWidth = 32;
  h.HeroLocked = true;
}

// The level scrolls under the walking hero, who finishes every stride he has begun.
void WalkingStep(Hero& h, GameState& g, const LevelTables& l) {
  if (!((h.Walking || IsOdd(h.HeroStep)) && h.HeroActive)) return;
  if (h.HeroState == kHero03StandRight) {
    g.ScrollX += 4 * g.ScrollSpeed;
    const double limit = l.EndPieceX - 84;
    if (g.ScrollX <= limit) {
      g.StarDrift -= 0.5 * g.ScrollSpeed;
    } else {
      g.ScrollX = limit;
    }
    h.HeroStep += 1;
  } else if (h.HeroState == kHero07StandLeft) {
    g.ScrollX -= 4 * g.ScrollSpeed;
    if (g.ScrollX > 0) {
      g.StarDrift += 0.5 * g.ScrollSpeed;
      h.HeroStep += 1;
    } else {
      g.ScrollX = 0;
    }
  }
}

void WrapHeroStep(Hero& h) {
  if (h.HeroStep > 3) h.HeroStep -= 4;
  if (h.HeroStep > 3) h.HeroStep -= 4;
  if (h.HeroStep > 3) h.HeroStep = 0;
}

// Standing again after a landing, a held jump key jumps again (and a held key of the other
// direction turns him first); a held key of his own direction walks on.
void ReapplyHeldKeys(Ventana& v, const Facing& f) {
  Hero& h = v.hero;
  if (h.UpHeld) {
    if (h.*Opposite(f).held) PressAgain(v, f.opposite);
    PressAgain(v, kBindUp);
  }
  if (h.*f.held) h.Walking = true;
}

// The frame after a take-off he is in the air; the frame after a landing he stands.
void FinishTakeOffAndLanding(Ventana& v, const Facing& f) {
  Hero& h = v.hero;
  if (h.HeroState == f.takeOff) {
    h.HeroState = f.airborne;
    if (f.takeOffStopsWalking) h.Walking = false;
    if (f.shiftsPictures) h.HeroOffsetX = 0;
    h.HeroY -= 4;
    h.HeroWidth = 23;
  }
  if (h.HeroState == f.landed) {
    h.HeroState = f.stand;
    h.HeroWidth = 22;
    h.JumpFalling = false;
  }
  if (h.HeroState == f.stand) ReapplyHeldKeys(v, f);
}

void StepAttack(Ventana& v) {
  Hero& h = v.hero;
  if (h.OnIsland) h.CrouchDrop = -8;
  h.HeroStep += 1;
  if (h.HeroStep == 3) AttackHitTest(v);
  if (h.HeroStep == 6) {
    h.CrouchDrop = 0;
    h.HeroY = h.GroundY;
    h.HeroState -= kHeroAttackOffset;
    h.HeroWidth = 22;
    h.HeroStep = 0;
    h.HeroLocked = false;
    h.FireHeld = true;
    h.HeroOffsetX = 0;
  }
}

// Releasing one direction while the other is held turns the hero that way.
void ReleaseDirection(Hero& h, const Facing& f) {
  h.*f.held = false;
  const Facing& other = Opposite(f);
  if (!(h.*other.held)) {
    h.Walking = false;
    return;
  }
  if (h.HeroState == f.stand) {
    h.HeroState = other.stand;
    h.Walking = true;
  }
  if (h.HeroState == f.crouch) {
    h.HeroState = other.crouch;
    h.Walking = false;
  }
}

// Letting go of the down key stands a crouching hero up, unless a shot is under way.
void ReleaseDown(Hero& h) {
  h.DownHeld = false;
  if (h.HeroBusy != 0) return;  // he stays down until the shot is over
  for (const Facing* f : {&kFacingRight, &kFacingLeft}) {
    if (h.HeroState != f->crouch) continue;
    h.HeroState = f->stand;
    StandUp(h);
    if (f->shiftsPictures) h.HeroOffsetX = 0;
    if (h.*f->held) h.Walking = true;
    return;
  }
}

// A direction key: walk that way, turn, or turn while crouching.
void HeroKeyDirection(Ventana& v, const Facing& f) {
  Hero& h = v.hero;
  if (h.HeroLocked) return;
  h.*f.held = true;
  ResumeIfPaused(v);
  if (h.HeroState == f.crouch || h.HeroState == f.takeOff || IsInTheAirOrLanding(h)) return;
  if (h.UpHeld) {
    h.HeroState = f.stand;
    PressAgain(v, kBindUp);
    return;
  }
  if (h.HeroBusy != 0) return;
  const Facing& other = Opposite(f);
  if (h.HeroState == other.crouch) {
    h.HeroState = f.crouch;
    h.HeroOffsetX = f.crouchOffsetX;
    return;
  }
  if (h.DownHeld) {
    PressAgain(v, kBindDown);
    return;
  }
  if (v.game.FastToggle) v.game.ScrollSpeed = 2;
  if (h.Walking && h.HeroState != other.stand) return;
  if (h.HeroState == other.stand) MirrorWalkStep(h);
  h.HeroState = f.stand;
  h.Walking = true;
  h.HeroWidth = 22;
}

// The facing of a standing or crouching hero, if he is in one of those states.
const Facing* FacingOfStandOrCrouch(std::int16_t state) {
  for (const Facing* f : {&kFacingRight, &kFacingLeft}) {
    if (state == f->stand || state == f->crouch) return f;
  }
  return nullptr;
}

}  // namespace

void HeroKeyRight(Ventana& v) {
  HeroKeyDirection(v, kFacingRight);
}

void HeroKeyLeft(Ventana& v) {
  HeroKeyDirection(v, kFacingLeft);
}

void HeroKeyDown(Ventana& v) {
  Hero& h = v.hero;
  if (h.HeroLocked) return;
  ResumeIfPaused(v);
  h.DownHeld = true;
  const Facing* f = FacingOfStandOrCrouch(h.HeroState);
  if (f && h.HeroState == f->stand) {
    h.HeroState = f->crouch;
    if (f->shiftsPictures) h.HeroOffsetX = f->crouchOffsetX;
    h.Walking = false;
    h.HeroStep = 0;
    h.HeroWidth = 30;
    h.CrouchDrop = 9;
    h.HeroY = h.GroundY + h.CrouchDrop;
  }
  if (h.HoverMode) h.ApexPause = 0;
}

void HeroKeyUp(Ventana& v) {
  Hero& h = v.hero;
  if (h.HeroLocked) return;
  h.UpHeld = true;
  if (v.game.FastToggle) v.game.ScrollSpeed = 2;
  ResumeIfPaused(v);
  if (h.HeroState == kHero13TakeOffRight || h.HeroState == kHero17TakeOffLeft ||
      IsInTheAirOrLanding(h))
    return;
  h.ApexLimitY = 15;
  const Facing* f = FacingOfStandOrCrouch(h.HeroState);
  if (f && h.HeroState == f->stand) {
    h.CrouchDrop = 0;
    h.HeroY = h.GroundY;
    h.HeroState = f->takeOff;
    if (f->shiftsPictures) h.HeroOffsetX = f->takeOffOffsetX;
  }
  h.Walking = false;
  h.HeroStep = 0;
  h.HeroWidth = 30;
}

// Standing he strikes at close range; crouching he fires the laser.
void HeroKeyFire(Ventana& v) {
  Hero& h = v.hero;
  if (h.FireHeld || h.HeroBusy != 0 || h.HeroLocked) return;
  h.FireHeld = true;
  const Facing* f = FacingOfStandOrCrouch(h.HeroState);
  if (!f) return;
  if (h.HeroState == f->stand) {
    StartAttack(h, f->attack);
    if (f->shiftsPictures) h.HeroOffsetX = f->attackOffsetX;
  } else {
    FireLaser(v, f->firstShotStep);
  }
}

void HeroKeyRelease(Ventana& v, int keyCode) {
  Hero& h = v.hero;
  const auto& bind = v.settings.KeyBindings;
  if (keyCode == bind[kBindUp]) {
    h.UpHeld = false;
    // Letting go of the jump key caps the rise just above where the hero is now.
    TryAssign(h.ApexLimitY, h.HeroY);
  } else if (keyCode == bind[kBindRight]) {
    ReleaseDirection(h, kFacingRight);
  } else if (keyCode == bind[kBindDown]) {
    ReleaseDown(h);
  } else if (keyCode == bind[kBindLeft]) {
    ReleaseDirection(h, kFacingLeft);
  } else if (keyCode == bind[kBindFire]) {
    h.FireHeld = false;
  }
}

void HeroUpkeep(Ventana& v) {
  Hero& h = v.hero;
  WalkingStep(h, v.game, v.level);
  if (!h.HeroLocked) {
    h.FireHeld = false;  // a held fire key fires again on the keyboard's repeat
    WrapHeroStep(h);
  }
  // Facing right first: a hero who turns left on landing takes off left in the same frame.
  FinishTakeOffAndLanding(v, kFacingRight);
  FinishTakeOffAndLanding(v, kFacingLeft);
  if (h.HeroActive || v.game.EndReached) {
    if (h.HeroState == kHero02AirborneRight) StepJump(v, true);
    if (h.HeroState == kHero08AirborneLeft) StepJump(v, false);
    if (h.HeroState > kHeroAttackOffset) StepAttack(v);
  }
}

void IdleGesture(Ventana& v) {
  Hero& h = v.hero;
  if (h.HeroState != kHero03StandRight && h.HeroState != kHero07StandLeft) return;
  Random& random = v.platform.random();
  random.Reseed(v.platform.Timer());
  if (!random.OneIn(40)) return;
  if (random.OneIn(4)) h.HeroStep += 4;  // the second, rarer gesture
  h.HeroStep += 4;
}

void PitFallTest(Hero& h, GameState& g, const LevelTables& l, int pit) {
  if (pit < 1 || pit > LevelTables::kPits) return;
  const double heroLeft = g.ScrollX + kHeroScreenX;
  const int pitX = l.PitX[static_cast<std::size_t>(pit)];
  const int pitWidth = l.PitWidth[static_cast<std::size_t>(pit)];
  if (heroLeft >= pitX && heroLeft + h.HeroWidth <= pitX + pitWidth &&
      h.HeroY + h.CrouchDrop >= h.GroundY && !h.OnIsland) {
    g.Indicador = "Caida";
    h.HeroStep = 0;
    // Standing, jumping or landing facing right he falls facing right; any other way, left.
    const Facing& r = kFacingRight;
    const bool right = h.HeroState == r.stand || h.HeroState == r.airborne ||
                       h.HeroState == r.landed || h.HeroState == r.takeOff;
    h.HeroState = right ? r.airborne : kFacingLeft.airborne;
    h.JumpFalling = true;
    h.PitFall = true;
  }
}

void CatchHero(Hero& h) {
  h.HeroState = kHero03StandRight;
  h.HeroActive = false;
  h.Walking = false;
  h.HeroStep = 0;
  h.HeroCaught = true;
}

}  // namespace zendor
