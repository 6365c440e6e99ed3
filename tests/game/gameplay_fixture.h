#pragma once

#include <functional>
#include <vector>

#include "game/game_loop.h"
#include "game/hero.h"
#include "support/game_fixture.h"
#include "world/test_art.h"

namespace zendor::testing {

inline ScriptedKey Press(std::uint32_t t, int key) {
  return {t, ScriptedKey::Kind::Down, key};
}

// A game window on the headless back end with the test pictures (the shipped sizes) and a plain
// level: ground everywhere, the end piece far away, no enemies unless a test adds them.
struct GameplayFixture : GameFixture {
  GameplayFixture() {
    settings.MaxEnemies = 2;
    settings.SpawnRarityScale = 4;
    platform.random().FixSeed(1);
    LoadTestArt(*this);
    for (int k = 0; k < kEnemyKinds; ++k) v.sheets.Bicho[k + 10] = v.sheets.Bicho[k];
    v.level.SectionStartX[0] = 8;
    v.level.SectionStartX[1] = 3000;
    v.level.EndPieceX = 2000;
    v.game.ScrollX = 500;
    v.game.Playing = true;
    PrepareSlots();
    StandHero(kHero03StandRight);
  }

  void PrepareSlots() {
    const auto slots = static_cast<std::size_t>(settings.MaxEnemies + 1);
    v.game.Enemies.assign(slots, Enemy{});
    v.game.EnemySlotBusy.assign(slots, false);
  }

  const Enemy& Slot(int i) const { return v.game.Enemies[static_cast<std::size_t>(i)]; }

  Enemy& PlaceEnemy(int slot, int kind, int x, int y, bool movingLeft = false) {
    Enemy& e = v.game.Enemies[static_cast<std::size_t>(slot)];
    e = Enemy{.Active = true,
              .Kind = static_cast<std::int16_t>(kind),
              .MovingLeft = movingLeft,
              .X = static_cast<std::int16_t>(x),
              .Y = static_cast<std::int16_t>(y)};
    return e;
  }

  void StandHero(int state) {
    ResetHero(v.hero, v.game);
    v.hero.HeroState = static_cast<std::int16_t>(state);
    v.hero.GroundY = kGroundLine;
    v.hero.Walking = false;
    v.hero.CrouchDrop = 0;
  }

  // Keys for the message pumps to come; the next pump at or after `stopAt` ends the run.
  void Script(std::vector<ScriptedKey> keys, std::uint32_t stopAt) {
    platform.SetScript(std::move(keys));
    platform.StopAt(stopAt, "until");
  }

  // Runs `body` until the platform stops the run; false if it returned on its own.
  bool RunUntilStopped(const std::function<void()>& body) {
    try {
      body();
    } catch (const ProgramExit&) {
      return true;
    }
    return false;
  }
};

}  // namespace zendor::testing
