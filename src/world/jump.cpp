#include "world/jump.h"

#include <cmath>

#include "common/sound_catalogue.h"
#include "common/sound_system.h"
#include "platform/blit.h"

namespace zendor {
namespace {

constexpr double kBelowPlayfield = 184;

// The hero is carried forward in the air unless the key of the other direction is held. Returns
// true when the view was stopped at the end piece in this frame.
bool Travel(GameState& g, const Hero& h, const LevelTables& l, bool facingRight) {
  if (facingRight) {
    if (h.LeftHeld) return false;
    const double step = 4 * g.ScrollSpeed;
    const double limit = l.EndPieceX - 84;
    if (g.ScrollX + step <= limit) {
      g.ScrollX += step;
      g.StarDrift -= 0.5 * g.ScrollSpeed;
      return false;
    }
    g.ScrollX = limit;  // the end piece stops at screen x 84
    return true;
  }
  if (h.RightHeld) return false;
  // Tested before the step, so the view can stand one step left of 0 for a frame.
  if (g.ScrollX > 0) {
    g.ScrollX -= 4 * g.ScrollSpeed;
    g.StarDrift += 0.5 * g.ScrollSpeed;
  } else {
    g.ScrollX = 0;
  }
  return false;
}

void Rise(Hero& h, GameState& g, const LevelTables& l, bool facingRight) {
  h.HeroY -= h.UpHeld ? 6 : 2;
  Travel(g, h, l, facingRight);
  if (h.HeroY <= h.ApexLimitY - 8) {
    h.ApexPause = h.HeroY < 47 ? 6 : 1;  // a high jump hangs longer at the top
    h.JumpFalling = true;
    if (h.HoverMode) h.ApexPause *= 1000;
  }
}

void Land(Hero& h, bool facingRight) {
  h.CrouchDrop = 0;
  h.HeroY = h.GroundY;
  h.HeroState = facingRight ? kHero15LandedRight : kHero19LandedLeft;
  h.HeroWidth = 23;
  h.JumpFalling = false;
}

// Below the ground line the hero sinks slowly and drifts back towards the edge he fell from.
void SinkIntoPit(Ventana& v, bool facingRight) {
  Hero& h = v.hero;
  GameState& g = v.game;
  if (h.HeroY >= kGroundLine) {
    h.HeroY -= 3;
    v.sound.Play(kEffect22Sinking, false);
  }
  if (facingRight && !h.LeftHeld) {
    g.ScrollX -= 4 * g.ScrollSpeed;
    g.StarDrift += 0.5 * g.ScrollSpeed;
  } else if (!facingRight && !h.RightHeld) {
    g.ScrollX += 4 * g.ScrollSpeed;
    g.StarDrift -= 0.5 * g.ScrollSpeed;
  }
  if (h.HeroY >= kBelowPlayfield) {
    h.HeroActive = false;
    g.DeathCountdown = 2;
  }
}

void Fall(Ventana& v, bool facingRight) {
  Hero& h = v.hero;
  h.HeroY += 2;
  if (h.HeroY > 27) h.HeroY += 4;  // slow near the top of the screen, fast below
  const bool stoppedAtEnd = Travel(v.game, h, v.level, facingRight);
  if (facingRight && stoppedAtEnd && h.HeroY < 20) {
    // Coming down over the end piece from high enough, the hero goes inside it.
    h.HeroActive = false;
    v.game.EndReached = true;
    h.HeroOffsetX = 4;
  }
  if (h.PitFall) {
    SinkIntoPit(v, facingRight);
    return;
  }
  if (h.ApexPause > 0) {
    h.HeroY -= 2;
    h.ApexPause -= 1;
  }
  if (h.HeroY >= h.GroundY) Land(h, facingRight);
}

}  // namespace

void StepJump(Ventana& v, bool facingRight) {
  if (v.hero.JumpFalling) {
    Fall(v, facingRight);
  } else {
    Rise(v.hero, v.game, v.level, facingRight);
  }
}

void DrawHero(Ventana& v) {
  const Hero& h = v.hero;
  if (h.HeroState < 0 || h.HeroState >= static_cast<int>(v.sheets.Zendor.size())) return;
  const Surface& picture = v.sheets.Zendor[static_cast<std::size_t>(h.HeroState)];
  const int height = picture.height() / 2;
  const int frame = static_cast<int>(std::lround(h.HeroStep));
  const int sx = h.HeroWidth * frame;
  MaskedBlt(v.sheets.temp, kHeroScreenX + h.HeroOffsetX, static_cast<int>(std::lround(h.HeroY)),
            h.HeroWidth, height, picture, sx, 0, sx, height);
}

}  // namespace zendor
