// The game loop and its keys: pause and resume, the frame delay, a key bound twice, and the
// ending that unwinds every loop of the finished game to the menu. A game's start (voices, fade,
// themes), game over and the rewind to the section's start after a lost life are proven by the
// sound_game_start, game_over, game_pit_rewind and game_lava scenarios.
#include "game/game_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "game/gameplay_fixture.h"
#include "platform/virtual_keys.h"

namespace zendor::testing {
namespace {

class GameLoopTest : public ::testing::Test, protected GameplayFixture {
 protected:
  Hero& h = v.hero;
  GameState& g = v.game;

  // A game on its last life, lost `frames` frames from now; a key at 300 ms leaves the ending.
  void LastLifeEndsIn(int frames, std::vector<ScriptedKey> keys) {
    v.SetScreenState("juego");
    g.Lives = 1;
    g.DeathCountdown = static_cast<std::int16_t>(frames);
    keys.push_back(Press(300, vk::kA));
    Script(std::move(keys), 100000);
  }
};

TEST_F(GameLoopTest, FireDoesNotResumeAndALockedHeroCannotResumeWithDirections) {
  g.Playing = false;
  HandleGameKey(v, vk::kControl);
  EXPECT_TRUE(!g.Playing && h.HeroLocked);  // the attack waits for the game to go on
  HandleGameKey(v, vk::kRight);
  EXPECT_FALSE(g.Playing);
  Script({}, platform.now() + 150);
  EXPECT_TRUE(RunUntilStopped([&] { HandleGameKey(v, vk::kPause); }));
  EXPECT_EQ(tracer.frames, 2);
}

TEST_F(GameLoopTest, TheFrameDelayKeysNeverGoBelowZeroNorPastSixteenBits) {
  for (int i = 0; i < 20; ++i) HandleGameKey(v, vk::kAdd);
  EXPECT_EQ(std::tuple(g.FrameDelay, g.Indicador), std::tuple(0, "0"));
  HandleGameKey(v, vk::kSubtract);
  EXPECT_EQ(std::tuple(g.FrameDelay, g.Indicador), std::tuple(5, "5"));
  EXPECT_EQ(platform.readout(), "5");  // shown, not only stored
  g.FrameDelay = 32765;
  HandleGameKey(v, vk::kSubtract);
  EXPECT_EQ(g.FrameDelay, 32765);
}

TEST_F(GameLoopTest, AKeyBoundTwiceActsAsTheFirstInTheTablesOrder) {
  settings.KeyBindings[kBindUp] = vk::kRight;  // right and up on one key
  HandleGameKey(v, vk::kRight);
  EXPECT_EQ(h.HeroState, kHero03StandRight);
  EXPECT_TRUE(h.Walking);
  h.UpHeld = true;
  HandleGameKey(v, vk::kRight);  // would hand the key back and forth without end
  EXPECT_EQ(h.HeroState, kHero03StandRight);
}

TEST_F(GameLoopTest, AGameThatEndsInsideAPauseKeyEndsEveryLoopAtOnce) {
  LastLifeEndsIn(2, {Press(0, vk::kPause)});
  EXPECT_FALSE(RunUntilStopped([&] { RunGameLoop(v); }));
  EXPECT_EQ(v.ScreenState(), "menu");
  EXPECT_EQ(tracer.frames, 0);  // the frame whose pump ran the pause never finished
  EXPECT_EQ(g.Lives, 0);
}

TEST_F(GameLoopTest, AGameThatEndsInsideAResumingKeyPressLeavesTheRestOfThePressUndone) {
  g.Playing = false;
  StandHero(kHero07StandLeft);
  LastLifeEndsIn(1, {});
  EXPECT_FALSE(RunUntilStopped([&] { HandleGameKey(v, vk::kRight); }));
  EXPECT_EQ(v.ScreenState(), "menu");
  EXPECT_EQ(std::tuple(h.HeroState, h.Walking), std::tuple(kHero07StandLeft, false));
}

TEST_F(GameLoopTest, OneGameAfterAnotherReturnsToTheMenuEachTime) {
  v.level.SpawnZoneA[0] = {900, -100, kEnemy3Brute,
                           0};  // walkers come for the hero at once, always
  v.level.SpawnZoneACount = 1;
  for (int game = 1; game <= 3; ++game) {
    v.SetScreenState("menu");
    const std::uint32_t t = platform.now();
    Script({Press(t + 20000, vk::kA)}, t + 100000);  // long after his second life is lost
    EXPECT_FALSE(RunUntilStopped([&] { Jugar(v); }));
    EXPECT_EQ(v.ScreenState(), "menu");
    EXPECT_EQ(std::count(tracer.lines.begin(), tracer.lines.end(), "ending"), game);
  }
}

}  // namespace
}  // namespace zendor::testing
