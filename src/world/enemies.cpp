#include "world/enemies.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/int16.h"
#include "common/settings.h"
#include "common/sound_catalogue.h"
#include "common/sound_system.h"
#include "game/hero.h"
#include "platform/blit.h"
#include "platform/platform.h"
#include "world/shots.h"

namespace zendor {
namespace {

constexpr int kMirrored = 10;  // Bicho(k + 10) is Bicho(k) facing left
constexpr int kFloor = 96;     // the row the walkers' feet touch
constexpr int kFlyerLift = 32;
constexpr double kFlyerFirstScroll = 113;

Enemy* SlotRecord(GameState& g, int slot) {
  auto& enemies = g.Enemies;
  if (slot < 0 || slot >= static_cast<int>(enemies.size())) return nullptr;
  return &enemies[static_cast<std::size_t>(slot)];
}

int ClampVolume(int value) {
  return std::clamp(value, kSilent, 0);
}

int ClampPan(int value) {
  return std::clamp(value, SoundDevice::kLeftOnly, SoundDevice::kRightOnly);
}

// The voice sits where the enemy is: quieter and further to one side the further it is from
// the hero. A voice still playing carries on.
void Voice(Ventana& v, const Enemy& e, int slot) {
  const int voice = EnemyVoice(v.game, slot);
  const int dx = e.X - kHeroScreenX;
  v.sound.SetVolume(voice, ClampVolume(-std::abs(5 * dx)));
  v.sound.SetPan(voice, ClampPan(10 * dx));
  v.sound.Play(voice, false);
}

// Positions are screen positions, so every step also follows the view's own movement.
void Move(Enemy& e, std::optional<std::int16_t> view, int speed, std::optional<EnemyFrameSize> f) {
  if (!view) return;  // a view beyond 16 bits leaves every statement that needs it undone
  const int S = *view;
  const int s = speed;
  if (!e.MovingLeft) {
    const int step = e.LastScrollX < S    ? 4 - 4 * s + e.Speed
                     : e.LastScrollX == S ? 4 + e.Speed
                                          : 8 * s + e.Speed;
    TryAssign(e.X, e.X + step);
    if (f && S + e.X >= e.RightLimit + 16 - f->width) e.MovingLeft = true;
    if (f && e.X >= 304 + f->width) e.Active = false;  // gone off the right edge
  } else {
    const int step = e.LastScrollX < S    ? 8 * s + e.Speed
                     : e.LastScrollX == S ? 4 + e.Speed
                                          : 4 - 4 * s + e.Speed;
    TryAssign(e.X, e.X - step);
    if (f && e.X + 64 <= -f->width) e.Active = false;  // gone off the left edge
    if (f && S + e.X <= e.LeftLimit + f->width - 16) e.MovingLeft = false;
  }
}

// A hopper that reaches a lava pit jumps it: up 32 pixels in 8 frames, 8 frames in the
// air, down again in 8, walking on all the while.
void Hop(Enemy& e) {
  const int c = e.HopStep;
  if (c <= 0) return;
  if (c >= 25) {
    e.HopStep = -1;
    return;
  }
  if (c > 16) {
    e.Frame = 1;
    TryAssign(e.Y, e.Y + 4.0);
  } else if (c > 8) {
    e.Frame = 0;
  } else if (c >= 7) {
    e.Frame = 0;
    TryAssign(e.Y, e.Y - 4.0);
  } else {
    e.Frame = 3;
    TryAssign(e.Y, e.Y - 4.0);
  }
  e.HopStep = static_cast<std::int16_t>(c + 1);
}

void Draw(Ventana& v, const Enemy& e, EnemyFrameSize f) {
  const int sheet = e.MovingLeft ? e.Kind + kMirrored : e.Kind;
  const int frame = static_cast<int>(std::floor(e.Frame));
  const int sx = frame * f.width;
  MaskedBlt(v.sheets.temp, e.X, e.Y, f.width, f.height,
            v.sheets.Bicho[static_cast<std::size_t>(sheet)], sx, 0, sx, f.height);
}

// The hero is caught when an enemy's picture overlaps his (the hero's height is that of his
// current picture; the sides are fixed rather than exact).
void TouchHero(Ventana& v, const Enemy& e, EnemyFrameSize f) {
  Hero& h = v.hero;
  if (h.HeroState < 0 || h.HeroState >= static_cast<int>(v.sheets.Zendor.size())) return;
  const int heroHalf = v.sheets.Zendor[static_cast<std::size_t>(h.HeroState)].height() / 2;
  const bool overlaps = e.Y < h.HeroY - 1 + heroHalf && e.Y - 1 + f.height > h.HeroY &&
                        e.X + f.width - 1 > 117 && e.X + 12 < kHeroScreenX + h.HeroWidth - 1;
  if (!overlaps || !h.HeroActive || v.game.HideHero || h.HeroCaught) return;
  CatchHero(h);
}

void Animate(Enemy& e, int slot) {
  e.Frame += slot % 3 == 0 ? 0.5f : 1.0f;  // flyers beat their wings at half the pace
  if (e.Frame == 4) e.Frame = 0;
}

void FillFromZone(Ventana& v, Enemy& e, const SpawnZone& zone, bool familyA) {
  e.Kind = zone.Kind;
  e.Speed = 0;
  const auto f = EnemyFrame(v, e.Kind);
  if (!f) return;  // no picture for that kind: the slot stays empty
  if (!e.MovingLeft) {
    e.X = static_cast<std::int16_t>(-64 - f->width);
    if (e.Kind != kEnemy1Armoured) e.Speed = 2;  // the armoured walker is slow
  } else {
    e.X = static_cast<std::int16_t>(304 + f->width);
  }
  e.Y = static_cast<std::int16_t>(kFloor - f->height);
  e.Active = true;
  if (familyA) e.HopStep = 0;
  e.RightLimit = zone.EndX;
  if (!TryAssign(e.LeftLimit, zone.StartX - f->width)) return;
}

}  // namespace

std::optional<EnemyFrameSize> EnemyFrame(const Ventana& v, int kind) {
  if (kind < 0 || kind >= kEnemyKinds) return std::nullopt;
  const Surface& sheet = v.sheets.Bicho[static_cast<std::size_t>(kind)];
  return EnemyFrameSize{sheet.width() / 4, sheet.height() / 2};
}

int EnemyVoice(const GameState& g, int slot) {
  const auto& enemies = g.Enemies;
  const int kind = slot >= 0 && slot < static_cast<int>(enemies.size())
                       ? enemies[static_cast<std::size_t>(slot)].Kind
                       : int{kEnemy0Stinger};
  return kFirstVoiceCopy + kEnemyKinds * slot + kind;
}

void SpawnFlyer(Ventana& v, int slot) {
  Enemy* e = SlotRecord(v.game, slot);
  if (!e || v.game.ScrollX < kFlyerFirstScroll) return;
  Random& random = v.platform.random();
  random.Reseed(v.platform.Timer());
  if (random.Below(10.0 * v.settings.SpawnRarityScale * 4) != 0) return;
  e->MovingLeft = random.Below(2) == 1;
  e->Kind = kEnemy0Stinger;
  e->Speed = 0;
  const auto f = EnemyFrame(v, kEnemy0Stinger);
  if (!f) return;
  if (!e->MovingLeft) {
    e->X = static_cast<std::int16_t>(-64 - f->width);
    e->Speed = 2;
  } else {
    e->X = static_cast<std::int16_t>(304 + f->width);
  }
  e->Y = static_cast<std::int16_t>(kFloor - f->height - kFlyerLift);
  e->Active = true;
  // A flyer roams the whole level.
  if (!TryAssign(e->RightLimit, v.sheets.Fondo.width() + f->width)) return;
  if (!TryAssign(e->LeftLimit, v.level.SpawnZoneA[0].StartX - f->width)) return;
}

void SpawnFromZone(Ventana& v, int slot, ZoneFamily family) {
  Enemy* e = SlotRecord(v.game, slot);
  if (!e) return;
  const bool familyA = family == ZoneFamily::A;
  const auto& zones = familyA ? v.level.SpawnZoneA : v.level.SpawnZoneB;
  const int count = std::min<int>(familyA ? v.level.SpawnZoneACount : v.level.SpawnZoneBCount,
                                  LevelTables::kZones);
  Random& random = v.platform.random();
  const double view = v.game.ScrollX;
  for (int z = 0; z < count; ++z) {
    const SpawnZone& zone = zones[static_cast<std::size_t>(z)];
    random.Reseed(v.platform.Timer());
    if (random.Below(static_cast<double>(zone.Rarity) * v.settings.SpawnRarityScale) != 0) {
      continue;
    }
    if (familyA) random.Reseed(v.platform.Timer());
    const bool preferRight = random.Below(2) == 1;
    // From the left the enemy walks in behind the view's left edge, from the right ahead of it;
    // either way it must still have its zone in front of it.
    const bool leftEntry = zone.StartX + 64 <= view && view <= zone.EndX;
    const bool rightEntry = zone.StartX - 240 <= view && view <= zone.EndX - 304;
    if (!leftEntry && !rightEntry) continue;
    e->MovingLeft = preferRight ? rightEntry : !leftEntry;
    FillFromZone(v, *e, zone, familyA);
    return;
  }
}

void UpdateEnemy(Ventana& v, int slot) {
  Enemy* e = SlotRecord(v.game, slot);
  if (!e) return;
  // Every statement stands alone: one that cannot be done is skipped and the rest still run.
  const auto f = EnemyFrame(v, e->Kind);
  const auto view = Fit16(v.game.ScrollX);
  Voice(v, *e, slot);
  Move(*e, view, v.game.ScrollSpeed, f);
  Hop(*e);
  if (f) Draw(v, *e, *f);
  if (f) TouchHero(v, *e, *f);
  if (view) e->LastScrollX = *view;
  Animate(*e, slot);
}

void UpdateEnemies(Ventana& v) {
  GameState& g = v.game;
  const int last = std::min<int>(v.settings.MaxEnemies, static_cast<int>(g.Enemies.size()) - 1);
  for (int i = 0; i <= last; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    if (g.Enemies[slot].Active) {
      UpdateEnemy(v, i);
    } else if (i < static_cast<int>(g.EnemySlotBusy.size()) && g.EnemySlotBusy[slot]) {
      StepEnemyExplosion(v, i);
    } else if (v.hero.HeroActive || g.EndReached) {
      switch (i % 3) {
        case 0:
          SpawnFlyer(v, i);
          break;
        case 1:
          SpawnFromZone(v, i, ZoneFamily::A);
          break;
        default:
          SpawnFromZone(v, i, ZoneFamily::B);
          break;
      }
    }
  }
}

}  // namespace zendor
