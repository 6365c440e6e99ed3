// The font sheet as the text writer reads it: 38 cells of 8 x 9 in 11 rows, a mask that gives
// every glyph a one-pixel black outline, a ramp that brightens, glyphs that break up, and white.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "datagen/art/painters.h"

namespace zendor {
namespace {

constexpr int kCells = 38, kCellW = 8, kCellH = 9;

const Surface& Font() {
  static const Surface font = datagen::FontSheet();
  return font;
}

// The lit pixels of a character's cell in one colour row, as positions inside the cell.
std::set<std::pair<int, int>> Lit(int cell, int row) {
  std::set<std::pair<int, int>> lit;
  for (int y = 0; y < kCellH; ++y)
    for (int x = 0; x < kCellW; ++x)
      if (Font().at(cell * kCellW + x, row * kCellH + y) != kBlack) lit.insert({x, y});
  return lit;
}

int Brightness(Pixel p) {
  return RedOf(p) + GreenOf(p) + BlueOf(p);
}

TEST(FontSheet, HasElevenRowsOfThirtyEightCells) {
  EXPECT_EQ(Font().width(), kCells * kCellW);
  EXPECT_EQ(Font().height(), 11 * kCellH);
}

TEST(FontSheet, MaskIsTheGlyphGrownByOnePixelAllRound) {
  for (int c = 0; c < kCells; ++c) {
    const auto glyph = Lit(c, 10);
    for (int y = 0; y < kCellH; ++y)
      for (int x = 0; x < kCellW; ++x) {
        bool near = false;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) near = near || glyph.count({x + dx, y + dy});
        EXPECT_EQ(Font().at(c * kCellW + x, y), near ? kBlack : kWhite)
            << "cell " << c << " " << x << "," << y;
      }
  }
}

TEST(FontSheet, GlyphsAreDistinctAndKeepInsideTheirCells) {
  std::set<std::set<std::pair<int, int>>> shapes;
  for (int c = 0; c < kCells; ++c) {
    for (int row = 1; row <= 10; ++row)
      for (const auto& [x, y] : Lit(c, row)) {
        EXPECT_TRUE(x >= 1 && x <= 6 && y >= 1 && y <= 7) << "cell " << c << " row " << row;
      }
    EXPECT_FALSE(Lit(c, 10).empty()) << c;
    shapes.insert(Lit(c, 10));
  }
  EXPECT_EQ(shapes.size(), static_cast<std::size_t>(kCells));
}

TEST(FontSheet, FadeRowsShowTheSameGlyphGettingBrighter) {
  for (int c = 0; c < kCells; ++c) {
    const auto glyph = Lit(c, 10);
    for (int row = 1; row <= 6; ++row)
      ASSERT_EQ(Lit(c, row), glyph) << "cell " << c << " row " << row;
    for (const auto& [x, y] : glyph)
      for (int row = 1; row < 6; ++row) {
        const Pixel dim = Font().at(c * kCellW + x, row * kCellH + y);
        const Pixel bright = Font().at(c * kCellW + x, (row + 1) * kCellH + y);
        EXPECT_LT(Brightness(dim), Brightness(bright)) << "cell " << c << " row " << row;
        EXPECT_LE(RedOf(dim), RedOf(bright));
        EXPECT_LE(GreenOf(dim), GreenOf(bright));
        EXPECT_LE(BlueOf(dim), BlueOf(bright));
      }
  }
  // The ramp runs from a dark orange to a bright yellow.
  const Pixel first = Font().at(kCellW + 1, kCellH + 1),
              last = Font().at(kCellW + 1, 6 * kCellH + 1);
  EXPECT_GT(RedOf(first), GreenOf(first));
  EXPECT_LT(Brightness(first), 250);
  EXPECT_GT(Brightness(last), 550);
}

TEST(FontSheet, BreakingRowsScatterTheGlyphAndTheLastRowIsWhite) {
  std::size_t kept[3] = {0, 0, 0}, total = 0;
  for (int c = 0; c < kCells; ++c) {
    const auto glyph = Lit(c, 10);
    total += glyph.size();
    for (int row = 7; row <= 9; ++row) {
      const auto part = Lit(c, row);
      for (const auto& p : part) EXPECT_TRUE(glyph.count(p)) << "cell " << c << " row " << row;
      kept[row - 7] += part.size();
    }
    for (const auto& [x, y] : glyph) EXPECT_EQ(Font().at(c * kCellW + x, 10 * kCellH + y), kWhite);
  }
  EXPECT_LT(kept[0], total);
  EXPECT_LT(kept[1], kept[0]);
  EXPECT_LT(kept[2], kept[1]);
  EXPECT_GT(kept[2], 0u);
}

}  // namespace
}  // namespace zendor
