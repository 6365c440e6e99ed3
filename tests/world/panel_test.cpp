#include "game/panel.h"

#include <gtest/gtest.h>

#include <string>

#include "frontend/text_writer.h"
#include "support/game_fixture.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestArt(f);
    f.platform.window().setClientSize(320, 200);
  }
  const Surface& Screen() { return f.platform.window().screen(); }
  GameFixture f;
};

TEST_F(PanelTest, ScoreShowsSixDigitsOverThePanel) {
  for (auto [score, shown] :
       {std::pair{7, "000007"}, std::pair{32767, "032767"}, std::pair{200400, "200400"}}) {
    f.v.game.Score = score;
    DrawScore(f.v);
    const Surface drawn = Screen();
    // The same text written by hand at the score's place, colour and height.
    std::int16_t height = 8;
    Escribe(f.v, 10, 176, shown, 6, -1, TextBackground{&f.v.sheets.Panel, 72, 48}, height);
    EXPECT_EQ(drawn, Screen()) << score;
    Escribe(f.v, 10, 176, "999999", 6, -1, TextBackground{&f.v.sheets.Panel, 72, 48}, height);
    EXPECT_NE(drawn, Screen());
  }
}

TEST_F(PanelTest, PanelStaysThroughRepaintsWhileLivesAreDrawnOnTheScreen) {
  Window& w = f.platform.window();
  DrawPanel(f.v);
  EXPECT_FALSE(w.persistentMode());
  const Surface& panel = f.v.sheets.Panel;
  for (const Surface* image : {&w.persistentImage(), &w.screen()})
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 240; ++x) ASSERT_EQ(image->at(40 + x, 132 + y), panel.at(x, y));
  for (std::int16_t lives : {2, 1, 0}) {
    f.v.game.Lives = lives;
    DrawLives(f.v);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 10; ++x)
        ASSERT_EQ(w.screen().at(91 + x, 156 + y), f.v.sheets.Vidas_IMG.at(10 * lives + x, y));
  }
  w.repaint();
  EXPECT_EQ(w.screen().at(91, 156), panel.at(51, 24));
}

}  // namespace
}  // namespace zendor::testing
