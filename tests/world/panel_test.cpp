#include "game/panel.h"

#include <gtest/gtest.h>

#include <string>

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

  // Which font column the score's cell i shows: the one whose glyph, drawn over the panel's own
  // background, matches the window; -1 for none.
  int ScoreGlyph(int i) {
    const Surface& font = f.v.sheets.Letras;
    const Surface& panel = f.v.sheets.Panel;
    for (int c = 0; c < 38; ++c) {
      bool same = true;
      for (int row = 0; row < 8 && same; ++row)
        for (int col = 0; col < 8 && same; ++col) {
          const Pixel under = panel.at(72 + 8 * i + col, 48 + row);
          const Pixel glyph = (under & font.at(8 * c + col, row)) | font.at(8 * c + col, 54 + row);
          same = Screen().at(32 + 80 + 8 * i + col, 4 + 176 + row) == glyph;
        }
      if (same) return c;
    }
    return -1;
  }

  std::string ScoreShown() {
    std::string digits;
    for (int i = 0; i < 6; ++i) {
      const int c = ScoreGlyph(i);
      digits += c >= 26 && c <= 35 ? static_cast<char>('0' + c - 26) : '?';
    }
    return digits;
  }

  GameFixture f;
};

TEST_F(PanelTest, ScoreShowsSixDigitsOverThePanel) {
  for (auto [score, shown] : {std::pair{0, "000000"}, std::pair{7, "000007"},
                              std::pair{32767, "032767"}, std::pair{200400, "200400"}}) {
    f.v.game.Score = score;
    DrawScore(f.v);
    EXPECT_EQ(ScoreShown(), shown);
  }
  // Only the score's own eight rows are touched.
  EXPECT_EQ(Screen().at(32 + 80, 4 + 184), kBlack);
}

TEST_F(PanelTest, LivesCellShowsTheFigureForTheLivesLeft) {
  for (std::int16_t lives : {2, 1, 0}) {
    f.v.game.Lives = lives;
    DrawLives(f.v);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 10; ++x)
        ASSERT_EQ(Screen().at(32 + 59 + x, 4 + 152 + y),
                  f.v.sheets.Vidas_IMG.at(10 * lives + x, y));
  }
}

TEST_F(PanelTest, PanelGoesIntoThePersistentImageAndStaysThroughRepaints) {
  Window& w = f.platform.window();
  DrawPanel(f.v);
  EXPECT_FALSE(w.persistentMode());
  const Surface& panel = f.v.sheets.Panel;
  for (const Surface* image : {&w.persistentImage(), &w.screen()})
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 240; ++x) ASSERT_EQ(image->at(40 + x, 132 + y), panel.at(x, y));
  // Later output goes to the screen only; a repaint brings the panel back.
  f.v.game.Lives = 1;
  DrawLives(f.v);
  w.repaint();
  EXPECT_EQ(w.screen().at(32 + 59, 4 + 152), panel.at(51, 24));
}

}  // namespace
}  // namespace zendor::testing
