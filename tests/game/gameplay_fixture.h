#pragma once

#include <functional>
#include <vector>

#include "app/settings.h"
#include "assets/sound_system.h"
#include "game/game_loop.h"
#include "game/ventana.h"
#include "platform/headless/headless_platform.h"
#include "support/game_fixture.h"

namespace zendor::testing {

inline ScriptedKey Press(std::uint32_t t, int key) {
  return {t, ScriptedKey::Kind::Down, key};
}

// A game window on the headless back end with blank pictures of the shipped sizes and a plain
// level: ground everywhere, the end piece far away, no enemies unless a test adds them.
struct GameplayFixture : GameFixture {
  GameplayFixture() {
    settings.MaxEnemies = 2;
    settings.SpawnRarityScale = 4;
    platform.random().FixSeed(1);
    SizeSheets();
    v.level.SectionStartX[0] = 8;
    v.level.SectionStartX[1] = 3000;
    v.level.SectionMusic[1] = 7;
    v.level.EndPieceX = 2000;
    v.game.ScrollX = 500;
    v.game.ScrollSpeed = 1;
    v.game.FrameDelay = 75;
    v.game.Playing = true;
    PrepareSlots();
    StandHero(3);
  }

  void SizeSheets() {
    SpriteSheets& s = v.sheets;
    auto size = [](Surface& sheet, int w, int h) { sheet = Surface(w, h); };
    for (int k : {2, 15}) size(s.Zendor[k], 23, 82);
    for (int k : {8, 19}) size(s.Zendor[k], 30, 82);
    for (int k : {3, 7}) size(s.Zendor[k], 264, 82);
    for (int k : {4, 6}) size(s.Zendor[k], 30, 64);
    for (int k : {13, 17}) size(s.Zendor[k], 30, 82);
    for (int k : {23, 27}) size(s.Zendor[k], 192, 102);
    const int bicho[5][2] = {{96, 76}, {84, 54}, {96, 80}, {96, 80}, {100, 78}};
    for (int k = 0; k < 5; ++k) {
      size(s.Bicho[k], bicho[k][0], bicho[k][1]);
      size(s.Bicho[k + 10], bicho[k][0], bicho[k][1]);
      size(s.explota[k], 48, 64);
    }
    const int laser[6][2] = {{31, 12}, {30, 10}, {30, 10}, {11, 26}, {8, 16}, {6, 8}};
    for (int k = 0; k < 6; ++k) {
      size(s.laser[k + 1], laser[k][0], laser[k][1]);
      size(s.laser[k + 8], laser[k][0], laser[k][1]);
    }
    size(s.explota_zendor, 72, 64);
    size(s.temp, 256, 192);
    size(s.Fondo, 3000, 120);
  }

  void PrepareSlots() {
    const auto slots = static_cast<std::size_t>(settings.MaxEnemies + 1);
    v.game.Enemies.assign(slots, Enemy{});
    v.game.EnemySlotBusy.assign(slots, false);
  }

  Enemy& PlaceEnemy(int slot, int kind, int x, int y, bool movingLeft = false) {
    Enemy& e = v.game.Enemies[static_cast<std::size_t>(slot)];
    e = Enemy{};
    e.Active = true;
    e.Kind = static_cast<std::int16_t>(kind);
    e.X = static_cast<std::int16_t>(x);
    e.Y = static_cast<std::int16_t>(y);
    e.MovingLeft = movingLeft;
    return e;
  }

  void StandHero(int state) {
    ResetHero(v);
    v.hero.HeroState = static_cast<std::int16_t>(state);
    v.hero.GroundY = 55;
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
