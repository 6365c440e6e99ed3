#include "world/shots.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/int16.h"
#include "common/settings.h"
#include "common/sound_catalogue.h"
#include "common/sound_system.h"
#include "game/hero.h"
#include "game/panel.h"
#include "platform/blit.h"
#include "world/enemies.h"

namespace zendor {
namespace {

constexpr int kKillScore = 200;
constexpr int kBlastSize = 24;
constexpr int kBlastHeight = 32;

// Where each of the six pictures of a shot appears: x facing right, x facing left, and the
// height above the ground line's row.
struct ShotPlace {
  int xRight;
  int xLeft;
  int dy;
};
constexpr std::array<ShotPlace, 6> kShotPath = {{
    {136, 65, 10},
    {169, 33, 11},
    {201, 1, 11},
    {218, 3, 9},
    {220, 4, 12},
    {221, 5, 14},
}};

constexpr std::int16_t kFirstRight = 1, kEndRight = 7;
constexpr std::int16_t kFirstLeft = 8, kEndLeft = 14;

// Walkers are hit from the ground, flyers (every third slot) only from an island.
bool CanBeShot(const Hero& h, int slot) {
  const bool flyerSlot = slot % 3 == 0;
  return flyerSlot ? h.GroundY < kGroundLine : h.GroundY == kGroundLine;
}

void ShotHits(Ventana& v, int sx, int sy, int laserHeight, bool facingRight) {
  auto& enemies = v.game.Enemies;
  const int last = std::min<int>(v.settings.MaxEnemies, static_cast<int>(enemies.size()) - 1);
  for (int i = 0; i <= last; ++i) {
    const Enemy& e = enemies[static_cast<std::size_t>(i)];
    if (!e.Active || !CanBeShot(v.hero, i)) continue;
    const auto f = EnemyFrame(v, e.Kind);
    if (!f) continue;
    if (sx - 4 <= e.X && e.X <= sx + 34 && sy - f->height <= e.Y && e.Y <= sy + laserHeight) {
      KillEnemy(v, i);
      v.hero.HeroBusy = facingRight ? kEndRight : kEndLeft;
      return;
    }
  }
}

}  // namespace

void StepShot(Ventana& v) {
  Hero& h = v.hero;
  if (h.HeroState != kHero04CrouchRight && h.HeroState != kHero06CrouchLeft) return;
  const bool facingRight = h.HeroBusy < kFirstLeft;
  const int step = h.HeroBusy - (facingRight ? kFirstRight : kFirstLeft);
  if (step < 0 || step >= static_cast<int>(kShotPath.size())) return;
  const ShotPlace& place = kShotPath[static_cast<std::size_t>(step)];
  const int sx = facingRight ? place.xRight : place.xLeft;
  const int sy = h.GroundY + place.dy;
  h.HeroState = facingRight ? kHero04CrouchRight : kHero06CrouchLeft;

  const Surface& picture = v.sheets.laser[static_cast<std::size_t>(h.HeroBusy)];
  const int laserHeight = picture.height() / 2;
  MaskedBlt(v.sheets.temp, sx, sy, picture.width(), laserHeight, picture, 0, 0, 0, laserHeight);

  // The pitch rises with each step of the shot.
  v.sound.Restart(kEffect12LaserBolt, h.HeroBusy * 1000);

  h.HeroBusy += 1;
  if (h.HeroBusy < (facingRight ? 5 : 14)) ShotHits(v, sx, sy, laserHeight, facingRight);

  if (h.HeroBusy == (facingRight ? kEndRight : kEndLeft)) {
    h.HeroBusy = 0;
    if (h.DownHeld) {
      h.HeroState = facingRight ? kHero04CrouchRight : kHero06CrouchLeft;  // still crouching
    } else {
      HeroKeyRelease(v, v.settings.KeyBindings[kBindDown]);  // he stands up
    }
  }
}

void AttackHitTest(Ventana& v) {
  v.sound.Play(kEffect17CloseAttack, false);
  const Hero& h = v.hero;
  int from = 0, to = 0;
  if (h.HeroState == kHero23AttackRight) {
    from = 115, to = 143;
  } else if (h.HeroState == kHero27AttackLeft) {
    from = kHeroScreenX + h.HeroOffsetX - 26, to = kHeroScreenX + h.HeroOffsetX;
  } else {
    return;
  }
  auto& enemies = v.game.Enemies;
  const int last = std::min<int>(v.settings.MaxEnemies, static_cast<int>(enemies.size()) - 1);
  for (int i = 0; i <= last; ++i) {
    const Enemy& e = enemies[static_cast<std::size_t>(i)];
    // The armoured walker shrugs off the blade.
    if (e.Active && e.Kind != kEnemy1Armoured && from <= e.X && e.X <= to) KillEnemy(v, i);
  }
}

void KillEnemy(Ventana& v, int slot) {
  if (slot < 0 || slot >= static_cast<int>(v.game.Enemies.size())) return;
  Enemy& e = v.game.Enemies[static_cast<std::size_t>(slot)];
  e.Active = false;
  e.Frame = 0;
  v.game.EnemySlotBusy[static_cast<std::size_t>(slot)] = true;
  v.game.Score += kKillScore;
  DrawScore(v);
}

void StepEnemyExplosion(Ventana& v, int slot) {
  if (slot < 0 || slot >= static_cast<int>(v.game.Enemies.size())) return;
  Enemy& e = v.game.Enemies[static_cast<std::size_t>(slot)];
  const auto view = Fit16(v.game.ScrollX);
  const int s = v.game.ScrollSpeed;
  // The wreck stays where it was in the level while the view moves.
  if (view && e.LastScrollX > *view) TryAssign(e.X, e.X + 4.0 * s);
  if (view && e.LastScrollX < *view) TryAssign(e.X, e.X - 8.0 * s);
  v.sound.Stop(EnemyVoice(v.game, slot));
  if (e.Kind >= 0 && e.Kind < static_cast<int>(v.sheets.explota.size())) {
    const int lift = e.Kind == kEnemy1Armoured ? 5 : e.Kind == kEnemy0Stinger ? 2 : 0;
    const int sx = static_cast<int>(std::floor(e.Frame)) * kBlastSize;
    MaskedBlt(v.sheets.temp, e.X, e.Y + 3 - lift, kBlastSize, kBlastHeight,
              v.sheets.explota[static_cast<std::size_t>(e.Kind)], sx, 0, sx, kBlastHeight);
  }
  v.sound.Play(kEffect13Explosion, false);
  v.sound.Play(kEffect18EnemyDebris, false);
  if (view) e.LastScrollX = *view;
  e.Frame += 1;
  if (e.Frame == 2) v.game.EnemySlotBusy[static_cast<std::size_t>(slot)] = false;
}

void StepHeroCaught(Ventana& v) {
  Hero& h = v.hero;
  const int sx = static_cast<int>(std::lround(h.HeroStep)) * kBlastSize;
  MaskedBlt(v.sheets.temp, kHeroScreenX, static_cast<int>(std::lround(h.HeroY)) + 3, kBlastSize,
            kBlastHeight, v.sheets.explota_zendor, sx, 0, sx, kBlastHeight);
  v.sound.Play(kEffect13Explosion, false);
  v.sound.Play(kEffect19HeroBlast, false);
  v.sound.Play(kEffect20HeroWail, false);
  h.HeroStep += 1;
  if (h.HeroStep == 3) {
    h.HeroCaught = false;
    v.game.DeathCountdown = 10;  // the life is taken ten frames later
  }
}

}  // namespace zendor
