#include "game/hero.h"

#include <cmath>
#include <initializer_list>

#include "app/settings.h"
#include "assets/sound_system.h"
#include "game/game_loop.h"
#include "game/int16.h"
#include "platform/platform.h"
#include "world/jump.h"
#include "world/shots.h"

namespace zendor {
namespace {

constexpr int kLaserSound = 11;

bool IsOneOf(std::int16_t state, std::initializer_list<int> states) {
  for (int s : states) {
    if (state == s) return true;
  }
  return false;
}

bool IsOdd(double step) {
  return std::llround(step) % 2 != 0;
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
  v.sound.Stop(kLaserSound);
  v.sound.Rewind(kLaserSound);
  v.sound.Play(kLaserSound, false);
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
void WalkingStep(Ventana& v) {
  Hero& h = v.hero;
  GameState& g = v.game;
  if (!((h.Walking || IsOdd(h.HeroStep)) && h.HeroActive)) return;
  if (h.HeroState == 3) {
    g.ScrollX += 4 * g.ScrollSpeed;
    const double limit = v.level.EndPieceX - 84;
    if (g.ScrollX <= limit) {
      g.StarDrift -= 0.5 * g.ScrollSpeed;
    } else {
      g.ScrollX = limit;
    }
    h.HeroStep += 1;
  } else if (h.HeroState == 7) {
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
void ReapplyHeldKeys(Ventana& v, Binding own, Binding other) {
  Hero& h = v.hero;
  if (h.UpHeld) {
    if (other == kBindLeft ? h.LeftHeld : h.RightHeld) PressAgain(v, other);
    PressAgain(v, kBindUp);
  }
  if (own == kBindRight ? h.RightHeld : h.LeftHeld) h.Walking = true;
}

void StepAttack(Ventana& v) {
  Hero& h = v.hero;
  if (h.OnIsland) h.CrouchDrop = -8;
  h.HeroStep += 1;
  if (h.HeroStep == 3) AttackHitTest(v);
  if (h.HeroStep == 6) {
    h.CrouchDrop = 0;
    h.HeroY = h.GroundY;
    h.HeroState -= 20;
    h.HeroWidth = 22;
    h.HeroStep = 0;
    h.HeroLocked = false;
    h.FireHeld = true;
    h.HeroOffsetX = 0;
  }
}

// Releasing one direction while the other is held turns the hero that way.
void ReleaseDirection(Hero& h, bool otherHeld, std::int16_t standing, std::int16_t turned,
                      std::int16_t crouching, std::int16_t crouchTurned) {
  if (!otherHeld) {
    h.Walking = false;
    return;
  }
  if (h.HeroState == standing) {
    h.HeroState = turned;
    h.Walking = true;
  }
  if (h.HeroState == crouching) {
    h.HeroState = crouchTurned;
    h.Walking = false;
  }
}

}  // namespace

void HeroKeyRight(Ventana& v) {
  Hero& h = v.hero;
  if (h.HeroLocked) return;
  h.RightHeld = true;
  ResumeIfPaused(v);
  if (IsOneOf(h.HeroState, {4, 2, 8, 13, 15, 19})) return;
  if (h.UpHeld) {
    h.HeroState = 3;
    PressAgain(v, kBindUp);
    return;
  }
  if (h.HeroBusy != 0) return;
  if (h.HeroState == 6) {
    h.HeroState = 4;
    h.HeroOffsetX = 0;
    return;
  }
  if (h.DownHeld) {
    PressAgain(v, kBindDown);
    return;
  }
  if (v.game.FastToggle) v.game.ScrollSpeed = 2;
  if (h.Walking && h.HeroState != 7) return;
  if (h.HeroState == 7) MirrorWalkStep(h);
  h.HeroState = 3;
  h.Walking = true;
  h.HeroWidth = 22;
}

void HeroKeyLeft(Ventana& v) {
  Hero& h = v.hero;
  if (h.HeroLocked) return;
  h.LeftHeld = true;
  ResumeIfPaused(v);
  if (IsOneOf(h.HeroState, {2, 6, 8, 17, 19, 15})) return;
  if (h.UpHeld) {
    h.HeroState = 7;
    PressAgain(v, kBindUp);
    return;
  }
  if (h.HeroBusy != 0) return;
  if (h.HeroState == 4) {
    h.HeroState = 6;
    h.HeroOffsetX = -8;
    return;
  }
  if (h.DownHeld) {
    PressAgain(v, kBindDown);
    return;
  }
  if (v.game.FastToggle) v.game.ScrollSpeed = 2;
  if (h.Walking && h.HeroState != 3) return;
  if (h.HeroState == 3) MirrorWalkStep(h);
  h.HeroState = 7;
  h.Walking = true;
  h.HeroWidth = 22;
}

void HeroKeyDown(Ventana& v) {
  Hero& h = v.hero;
  if (h.HeroLocked) return;
  ResumeIfPaused(v);
  h.DownHeld = true;
  if (h.HeroState == 3 || h.HeroState == 7) {
    if (h.HeroState == 3) {
      h.HeroState = 4;
    } else {
      h.HeroState = 6;
      h.HeroOffsetX = -8;
    }
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
  if (IsOneOf(h.HeroState, {13, 17, 2, 8, 15, 19})) return;
  h.ApexLimitY = 15;
  if (h.HeroState == 3 || h.HeroState == 7) {
    h.CrouchDrop = 0;
    h.HeroY = h.GroundY;
    if (h.HeroState == 3) {
      h.HeroState = 13;
    } else {
      h.HeroState = 17;
      h.HeroOffsetX = -6;
    }
  }
  h.Walking = false;
  h.HeroStep = 0;
  h.HeroWidth = 30;
}

void HeroKeyFire(Ventana& v) {
  Hero& h = v.hero;
  if (h.FireHeld || h.HeroBusy != 0 || h.HeroLocked) return;
  h.FireHeld = true;
  switch (h.HeroState) {
    case 3:
      StartAttack(h, 23);
      break;
    case 7:
      StartAttack(h, 27);
      h.HeroOffsetX = -10;
      break;
    case 4:
      FireLaser(v, 1);
      break;
    case 6:
      FireLaser(v, 8);
      break;
    default:
      break;
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
    h.RightHeld = false;
    ReleaseDirection(h, h.LeftHeld, 3, 7, 4, 6);
  } else if (keyCode == bind[kBindDown]) {
    h.DownHeld = false;
    if (h.HeroBusy != 0) return;  // he stays down until the shot is over
    if (h.HeroState == 4) {
      h.HeroState = 3;
      StandUp(h);
      if (h.RightHeld) h.Walking = true;
    } else if (h.HeroState == 6) {
      h.HeroState = 7;
      StandUp(h);
      h.HeroOffsetX = 0;
      if (h.LeftHeld) h.Walking = true;
    }
  } else if (keyCode == bind[kBindLeft]) {
    h.LeftHeld = false;
    ReleaseDirection(h, h.RightHeld, 7, 3, 6, 4);
  } else if (keyCode == bind[kBindFire]) {
    h.FireHeld = false;
  }
}

void HeroUpkeep(Ventana& v) {
  Hero& h = v.hero;
  WalkingStep(v);
  if (!h.HeroLocked) {
    h.FireHeld = false;  // a held fire key fires again on the keyboard's repeat
    WrapHeroStep(h);
  }
  if (h.HeroState == 13) {
    h.HeroState = 2;
    h.Walking = false;
    h.HeroY -= 4;
    h.HeroWidth = 23;
  }
  if (h.HeroState == 15) {
    h.HeroState = 3;
    h.HeroWidth = 22;
    h.JumpFalling = false;
  }
  if (h.HeroState == 3) ReapplyHeldKeys(v, kBindRight, kBindLeft);
  if (h.HeroState == 17) {
    h.HeroState = 8;
    h.HeroOffsetX = 0;
    h.HeroY -= 4;
    h.HeroWidth = 23;
  }
  if (h.HeroState == 19) {
    h.HeroState = 7;
    h.HeroWidth = 22;
    h.JumpFalling = false;
  }
  if (h.HeroState == 7) ReapplyHeldKeys(v, kBindLeft, kBindRight);
  if (h.HeroActive || v.game.EndReached) {
    if (h.HeroState == 2) StepJump(v, true);
    if (h.HeroState == 8) StepJump(v, false);
    if (h.HeroState > 20) StepAttack(v);
  }
}

void IdleGesture(Ventana& v) {
  Hero& h = v.hero;
  if (h.HeroState != 3 && h.HeroState != 7) return;
  Random& random = v.platform.random();
  random.Reseed(v.platform.Timer());
  if (!random.OneIn(40)) return;
  if (random.OneIn(4)) h.HeroStep += 4;  // the second, rarer gesture
  h.HeroStep += 4;
}

void PitFallTest(Ventana& v, int pit) {
  if (pit < 1 || pit > LevelTables::kPits) return;
  Hero& h = v.hero;
  const double heroLeft = v.game.ScrollX + kHeroScreenX;
  const int pitX = v.level.PitX[static_cast<std::size_t>(pit)];
  const int pitWidth = v.level.PitWidth[static_cast<std::size_t>(pit)];
  if (heroLeft >= pitX && heroLeft + h.HeroWidth <= pitX + pitWidth &&
      h.HeroY + h.CrouchDrop >= h.GroundY && !h.OnIsland) {
    SetIndicador(v, "Caida");
    h.HeroStep = 0;
    h.HeroState = IsOneOf(h.HeroState, {3, 2, 15, 13}) ? 2 : 8;
    h.JumpFalling = true;
    h.PitFall = true;
  }
}

void CatchHero(Hero& h) {
  h.HeroState = 3;
  h.HeroActive = false;
  h.Walking = false;
  h.HeroStep = 0;
  h.HeroCaught = true;
}

}  // namespace zendor
