#include "world/playfield.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/settings.h"
#include "common/sound_catalogue.h"
#include "common/sound_system.h"
#include "game/hero.h"
#include "platform/blit.h"

namespace zendor {
namespace {

constexpr int kViewWidth = 240;
constexpr int kStartPieceWidth = 92;
constexpr int kStartPieceRedrawLimit = 192;  // the ship is repaired a little beyond its width

constexpr int kStarHeight = 50;
constexpr int kAnimatedPieceWidth = 72, kAnimatedPieceHeight = 25, kAnimatedPieceY = 80;
constexpr int kAnimatedPieceFrames = 4;
constexpr int kTallPropWidth = 48, kTallPropHeight = 57, kTallPropY = 48;
constexpr int kEndPieceWidth = 112, kEndPieceHeight = 61, kEndPieceY = 59;
constexpr int kPitY = 88, kPitHeight = 32;
constexpr int kIslandSide = 23;

constexpr int kDeadlyLavaWidth = 68;  // the glowing part of the lava pool
constexpr int kHopBefore = 12, kHopAfter = 52;

// The islands bob between these rows, one pixel a frame.
constexpr int kIslandLowestRow = 83, kIslandHighestRow = 71;
constexpr int kIslandStandOffset = 38;  // hero's HeroY above the island's top

int Whole(double value) {
  return static_cast<int>(std::lrint(value));
}

// Draws into the strip when `inStrip`, else onto the frame at the view's screen position.
Surface& StripOrFrame(Ventana& v, bool inStrip) {
  return inStrip ? v.sheets.Fondo : v.sheets.temp;
}

bool InView(double scrollX, double leftLimit, double rightLimit) {
  return leftLimit < scrollX && scrollX < rightLimit;
}

int Count(std::int16_t count, int capacity) {
  return std::clamp<int>(count, 0, capacity);
}

// The lava's loop follows the nearest lava by volume and pan relative to the hero.
void SoundLava(Ventana& v, double dx) {
  v.sound.SetVolume(kEffect31Lava, std::max(Whole(-std::fabs(5 * dx)), kSilent));
  v.sound.SetPan(kEffect31Lava, std::max(Whole(10 * dx), SoundDevice::kLeftOnly));
  v.sound.Play(kEffect31Lava, true);
}

// A hero standing wholly on the lava's glowing part burns.
void BurnHeroInLava(Hero& h, const GameState& g, int pieceX) {
  const double heroLeft = g.ScrollX + kHeroScreenX;
  const double heroRight = heroLeft + h.HeroWidth;
  if (heroLeft >= pieceX && heroRight <= pieceX + kDeadlyLavaWidth && h.HeroY >= kGroundLine &&
      h.HeroActive && !h.HeroCaught) {
    CatchHero(h);
  }
}

// Hopping walkers that come near the lava jump over it.
void TriggerHops(Ventana& v, int pieceX) {
  auto& enemies = v.game.Enemies;
  const int last = std::min<int>(v.settings.MaxEnemies, static_cast<int>(enemies.size()) - 1);
  for (int slot = 0; slot <= last; ++slot) {
    Enemy& e = enemies[static_cast<std::size_t>(slot)];
    const double stripX = v.game.ScrollX + e.X;
    if (e.Kind == kEnemy2Hopper && e.HopStep == 0 && stripX >= pieceX - kHopBefore &&
        stripX <= pieceX + kHopAfter) {
      e.HopStep = 1;
    }
  }
}

void BobIslands(IslandRecord& shared) {
  if (!shared.Rising) {
    shared.Y += 1;
    if (shared.Y > kIslandLowestRow) {
      shared.Y = kIslandLowestRow - 1;
      shared.Rising = true;
    }
  } else {
    shared.Y -= 1;
    if (shared.Y < kIslandHighestRow) {
      shared.Y = kIslandHighestRow + 1;
      shared.Rising = false;
    }
  }
}

// The hero rides the island drawn last; stepping off one leaves the ground open for a frame so
// that a pit below can catch him.
void StandOnIsland(Hero& h, const GameState& g, const LevelTables& l) {
  const double heroX = g.ScrollX + kHeroScreenX;
  const int islandX = l.Island[0].X;
  if (islandX - 20 <= heroX && heroX <= islandX + kIslandSide) {
    h.GroundY = static_cast<std::int16_t>(l.Island[1].Y - kIslandStandOffset);
    const bool leaving = h.HeroState == kHero13TakeOffRight || h.HeroState == kHero17TakeOffLeft ||
                         h.HeroState == kHero02AirborneRight || h.HeroState == kHero08AirborneLeft;
    if (!h.JumpFalling && !leaving) h.HeroY = h.GroundY + h.CrouchDrop;
    h.OnIsland = true;
  } else {
    const bool steppedOff =
        h.HeroState == kHero03StandRight || h.HeroState == kHero07StandLeft || h.JumpFalling;
    h.GroundY = h.OnIsland && steppedOff ? 0 : kGroundLine;
    h.OnIsland = false;
  }
}

}  // namespace

int ViewLeft(const GameState& g) {
  return Whole(g.ScrollX);
}

void DrawStars(Ventana& v) {
  const Surface& stars = v.sheets.Estrellas;
  const int b = Whole(v.game.ScrollX + std::floor(v.game.StarDrift));
  for (int x : {b - kViewWidth, b, b + kViewWidth}) {
    MaskedBlt(v.sheets.Fondo, x, 0, kViewWidth, kStarHeight, stars, 0, 0, 0, kStarHeight);
  }
  if (v.game.StarDrift <= -kViewWidth) v.game.StarDrift = 0;
}

void DrawStartPiece(Ventana& v) {
  MaskedBlt(v.sheets.Fondo, 0, 0, kStartPieceWidth, 120, v.sheets.Mapa[0], 0, 0, kStartPieceWidth,
            0);
}

void DrawAnimatedPieceFrame(Ventana& v, int i, int frame) {
  const int sx = kAnimatedPieceWidth * frame;
  MaskedBlt(v.sheets.Fondo, v.level.AnimatedPieceX[static_cast<std::size_t>(i)], kAnimatedPieceY,
            kAnimatedPieceWidth, kAnimatedPieceHeight, v.sheets.Mapa[4], sx, 0, sx,
            kAnimatedPieceHeight);
}

void DrawAnimatedPiece(Ventana& v, int i) {
  DrawAnimatedPieceFrame(v, i, static_cast<int>(v.game.AnimationFrame));
}

void DrawTallProp(Ventana& v, int i) {
  MaskedBlt(v.sheets.Fondo, v.level.TallPropX[static_cast<std::size_t>(i)], kTallPropY,
            kTallPropWidth, kTallPropHeight, v.sheets.Mapa[8], 0, 0, 0, kTallPropHeight);
}

void DrawEndPiece(Ventana& v, bool inStrip) {
  const int x = v.level.EndPieceX - (inStrip ? 0 : ViewLeft(v.game));
  MaskedBlt(StripOrFrame(v, inStrip), x, kEndPieceY, kEndPieceWidth, kEndPieceHeight,
            v.sheets.Mapa[9], 0, 0, 0, kEndPieceHeight);
}

void DrawPit(Ventana& v, int i) {
  // The chasm's texture is fixed to the screen, not to the level.
  const auto n = static_cast<std::size_t>(i);
  const int s = v.level.PitX[n] - ViewLeft(v.game);
  BitBlt(v.sheets.temp, s, kPitY, v.level.PitWidth[n], kPitHeight, v.sheets.Mapa[6], s, 0,
         Rop::SrcCopy);
}

void DrawIsland(Ventana& v, int i) {
  LevelTables& l = v.level;
  const auto n = static_cast<std::size_t>(i);
  MaskedBlt(v.sheets.temp, l.Island[n].X - ViewLeft(v.game), l.Island[1].Y, kIslandSide,
            kIslandSide, v.sheets.isleta_g, 0, 0, 0, kIslandSide);
  l.Island[0].X = l.Island[n].X;
}

void DrawSkyStarsAndStartPiece(Ventana& v) {
  const Surface& sky = v.sheets.Cielo;
  BitBlt(v.sheets.Fondo, ViewLeft(v.game), 0, kViewWidth, sky.height(), sky, 0, 0, Rop::SrcCopy);
  DrawStars(v);
  if (v.game.ScrollX < kStartPieceRedrawLimit) DrawStartPiece(v);
}

void AdvanceAnimation(GameState& g) {
  // Frame 0 is the one painted while loading; play cycles 1, 2, 3.
  g.AnimationFrame += 1;
  if (g.AnimationFrame == kAnimatedPieceFrames) g.AnimationFrame = 1;
}

void UpdateAnimatedPieces(Ventana& v) {
  const LevelTables& l = v.level;
  const double scrollX = v.game.ScrollX;
  bool anyVisible = false;
  const int count = Count(l.AnimatedPieceCount, LevelTables::kListEntries);
  for (int i = 1; i <= count; ++i) {
    const int x = l.AnimatedPieceX[static_cast<std::size_t>(i)];
    // On screen or within 64 pixels of it.
    if (!InView(scrollX, x - 304, x + 136)) continue;
    SoundLava(v, x - (scrollX + kHeroScreenX));
    anyVisible = true;
    DrawAnimatedPiece(v, i);
    BurnHeroInLava(v.hero, v.game, x);
    TriggerHops(v, x);
  }
  if (!anyVisible) v.sound.Stop(kEffect31Lava);
}

void DrawBackProps(Ventana& v) {
  const LevelTables& l = v.level;
  const double scrollX = v.game.ScrollX;
  if (!v.game.EndReached &&
      InView(scrollX, l.EndPieceX - kViewWidth, l.EndPieceX + kEndPieceWidth)) {
    DrawEndPiece(v, true);
  }
  const int count = Count(l.TallPropCount, LevelTables::kListEntries);
  for (int i = 1; i <= count; ++i) {
    const int x = l.TallPropX[static_cast<std::size_t>(i)];
    if (InView(scrollX, x - kViewWidth, x + kTallPropWidth)) DrawTallProp(v, i);
  }
}

void UpdateIslandsAndPits(Ventana& v) {
  LevelTables& l = v.level;
  BobIslands(l.Island[1]);
  StandOnIsland(v.hero, v.game, l);

  const double scrollX = v.game.ScrollX;
  v.hero.PitFall = false;
  const int pits = Count(l.PitCount, LevelTables::kPits);
  for (int i = 1; i <= pits; ++i) {
    const auto n = static_cast<std::size_t>(i);
    if (InView(scrollX, l.PitX[n] - kViewWidth, l.PitX[n] + l.PitWidth[n])) {
      DrawPit(v, i);
      PitFallTest(v.hero, v.game, l, i);
    }
  }
  if (v.hero.PitFall) v.platform.ShowReadout(v.game.Indicador);  // "Caida"

  const int islands = Count(l.IslandCount, LevelTables::kListEntries);
  for (int i = 1; i <= islands; ++i) {
    const int x = l.Island[static_cast<std::size_t>(i)].X;
    if (InView(scrollX, x - kViewWidth, x + kIslandSide)) DrawIsland(v, i);
  }
}

void DrawEndPieceInFront(Ventana& v) {
  const LevelTables& l = v.level;
  if (v.game.EndReached &&
      InView(v.game.ScrollX, l.EndPieceX - kViewWidth, l.EndPieceX + kEndPieceWidth)) {
    DrawEndPiece(v, false);
  }
}

}  // namespace zendor
