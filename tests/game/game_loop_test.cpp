// A game from its start to its end: how a game starts, the rewind, the in-game keys, and the
// ending that unwinds every loop of the finished game to the menu.
#include "game/game_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/gameplay_fixture.h"
#include "game/hero.h"

namespace zendor::testing {
namespace {

class GameLoopTest : public ::testing::Test, protected GameplayFixture {
 protected:
  Hero& h = v.hero;
  GameState& g = v.game;

  bool Traced(const std::string& line) const {
    return std::find(tracer.lines.begin(), tracer.lines.end(), line) != tracer.lines.end();
  }
};

TEST_F(GameLoopTest, AGameStartsWithTheMenuThemeFadedOutAndTheFirstSectionsTheme) {
  sound.LoadSoundsAndMusic(platform, true, true, "/nonexistent/");
  v.SetScreenState("menu");
  Script({}, 500);
  EXPECT_TRUE(RunUntilStopped([&] { Jugar(v); }));

  EXPECT_EQ(v.ScreenState(), "juego");
  EXPECT_TRUE(Traced("sound duplicate 100 23"));
  EXPECT_TRUE(Traced("sound duplicate 104 26"));
  EXPECT_TRUE(Traced("sound duplicate 114 26"));
  EXPECT_FALSE(Traced("sound duplicate 115 23"));
  const auto fadeSteps = std::count_if(tracer.lines.begin(), tracer.lines.end(),
                                       [](auto& l) { return l.rfind("music volume -", 0) == 0; });
  EXPECT_EQ(fadeSteps, 20);
  const auto stop = std::find(tracer.lines.begin(), tracer.lines.end(), "music stop 5");
  ASSERT_NE(stop, tracer.lines.end());
  EXPECT_EQ(*(stop - 1), "music volume -10000");
  EXPECT_EQ(*(stop + 1), "music play 7");
  EXPECT_EQ(*(stop + 2), "music volume 0");
  EXPECT_EQ(*(stop + 3), "sound play 30 loop");

  EXPECT_EQ(g.Lives, 2);
  EXPECT_EQ(g.Score, 0);
  EXPECT_EQ(g.ScrollX, 8);
  EXPECT_EQ(h.HeroState, 7);
  EXPECT_EQ(h.HeroY, 55);
  EXPECT_TRUE(g.Playing);
  EXPECT_EQ(g.Enemies.size(), 3u);
}

TEST_F(GameLoopTest, TheRewindStopsAtTheSectionStartAndTakesAFrameEvenFromThere) {
  auto framesToRewind = [&](double from) {
    g.ScrollX = from;
    g.Respawning = true;
    int frames = 0;
    while (g.Respawning) {
      RewindStep(v);
      ++frames;
    }
    EXPECT_EQ(g.ScrollX, 8);
    return frames;
  };
  EXPECT_EQ(framesToRewind(300), 19);  // ceil(292 / 16)
  EXPECT_EQ(framesToRewind(24), 1);
  EXPECT_EQ(framesToRewind(8), 1);
}

TEST_F(GameLoopTest, FireDoesNotResumeAndALockedHeroCannotResumeWithDirections) {
  g.Playing = false;
  HandleGameKey(v, 17);
  EXPECT_FALSE(g.Playing);
  EXPECT_TRUE(h.HeroLocked);  // the attack waits for the game to go on
  HandleGameKey(v, 39);
  EXPECT_FALSE(g.Playing);
  Script({}, platform.now() + 150);
  EXPECT_TRUE(RunUntilStopped([&] { HandleGameKey(v, 19); }));
  EXPECT_EQ(tracer.frames, 2);
}

TEST_F(GameLoopTest, TheFrameDelayKeysNeverGoBelowZero) {
  for (int i = 0; i < 20; ++i) HandleGameKey(v, 107);
  EXPECT_EQ(g.FrameDelay, 0);
  EXPECT_EQ(g.Indicador, "0");
  HandleGameKey(v, 109);
  EXPECT_EQ(g.FrameDelay, 5);
  EXPECT_EQ(g.Indicador, "5");
  g.FrameDelay = 32765;
  HandleGameKey(v, 109);
  EXPECT_EQ(g.FrameDelay, 32765);
}

TEST_F(GameLoopTest, TheDebugKeys) {
  HandleGameKey(v, 121);
  EXPECT_TRUE(g.HideHero);
  HandleGameKey(v, 122);
  EXPECT_TRUE(h.HoverMode);
  h.ApexPause = 6000;
  HandleGameKey(v, 122);
  EXPECT_FALSE(h.HoverMode);
  EXPECT_EQ(h.ApexPause, 0);
  HandleGameKey(v, 123);
  EXPECT_EQ(g.ScrollSpeed, 2);
  HandleGameKey(v, 123);
  EXPECT_EQ(g.ScrollSpeed, 1);
  h.HeroState = 7;
  HandleGameKey(v, 9);
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, "7");
}

TEST_F(GameLoopTest, AKeyBoundTwiceActsAsTheFirstInTheTablesOrder) {
  settings.KeyBindings[kBindUp] = 39;  // right and up on one key
  HandleGameKey(v, 39);
  EXPECT_EQ(h.HeroState, 3);
  EXPECT_TRUE(h.Walking);
  h.UpHeld = true;
  HandleGameKey(v, 39);  // would hand the key back and forth without end
  EXPECT_EQ(h.HeroState, 3);
}

TEST_F(GameLoopTest, GameOverShowsTheEndAndAKeyUnwindsToTheMenu) {
  v.SetScreenState("juego");
  g.Lives = 1;
  g.DeathCountdown = 1;
  Script({Press(300, 65)}, 100000);
  EXPECT_FALSE(RunUntilStopped([&] { RunGameLoop(v); }));
  EXPECT_TRUE(Traced("ending"));
  EXPECT_TRUE(Traced("screen final"));
  EXPECT_EQ(v.ScreenState(), "menu");
  EXPECT_EQ(tracer.frames, 0);
  EXPECT_EQ(g.Lives, 0);
}

TEST_F(GameLoopTest, AGameThatEndsInsideAPauseKeyEndsEveryLoopAtOnce) {
  v.SetScreenState("juego");
  g.Lives = 1;
  g.DeathCountdown = 2;
  Script({Press(0, 19), Press(300, 65)}, 100000);
  EXPECT_FALSE(RunUntilStopped([&] { RunGameLoop(v); }));
  EXPECT_EQ(v.ScreenState(), "menu");
  EXPECT_EQ(tracer.frames, 0);  // the frame whose pump ran the pause never finished
  EXPECT_EQ(g.Lives, 0);
}

TEST_F(GameLoopTest, AGameThatEndsInsideAResumingKeyPressLeavesTheRestOfThePressUndone) {
  v.SetScreenState("juego");
  g.Playing = false;
  StandHero(7);
  g.Lives = 1;
  g.DeathCountdown = 1;
  Script({Press(300, 65)}, 100000);
  EXPECT_FALSE(RunUntilStopped([&] { HandleGameKey(v, 39); }));
  EXPECT_EQ(v.ScreenState(), "menu");
  EXPECT_EQ(h.HeroState, 7);
  EXPECT_FALSE(h.Walking);
}

TEST_F(GameLoopTest, OneGameAfterAnotherReturnsToTheMenuEachTime) {
  v.level.SpawnZoneA[0] = {900, -100, 3, 0};  // walkers come for the hero at once, always
  v.level.SpawnZoneACount = 1;
  for (int game = 1; game <= 3; ++game) {
    v.SetScreenState("menu");
    const std::uint32_t t = platform.now();
    Script({Press(t + 20000, 65)}, t + 100000);  // long after his second life is lost
    EXPECT_FALSE(RunUntilStopped([&] { Jugar(v); }));
    EXPECT_EQ(v.ScreenState(), "menu");
    EXPECT_EQ(std::count(tracer.lines.begin(), tracer.lines.end(), "ending"), game);
  }
}

}  // namespace
}  // namespace zendor::testing
