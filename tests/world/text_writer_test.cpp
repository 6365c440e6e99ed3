#include "frontend/text_writer.h"

#include <gtest/gtest.h>

#include "support/game_fixture.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

constexpr std::int16_t kComposed = -1, kDirect = 0;
constexpr Pixel kUnder = Rgb(40, 90, 140);  // what the window shows before the text

class TextWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestArt(f);
    f.platform.window().setClientSize(320, 200);
    f.platform.window().target().fill(kUnder);
  }

  const Surface& Screen() { return f.platform.window().screen(); }
  const Surface& Font() { return f.v.sheets.Letras; }

  // The window pixel at (column, row) of the character cell at text column x, position i, row y.
  Pixel Cell(int x, int i, int y, int column, int row) {
    return Screen().at(32 + 8 * x + 8 * i + column, 4 + y + row);
  }

  // The glyph in font column `c`, colour row `colourRow`, drawn masked over `under`.
  Pixel Glyph(int c, int colourRow, int column, int row, Pixel under) {
    return (under & Font().at(8 * c + column, row)) |
           Font().at(8 * c + column, 9 * colourRow + row);
  }

  void ExpectCell(int x, int i, int y, int c, int colourRow, int height, Pixel under) {
    for (int row = 0; row < height; ++row)
      for (int col = 0; col < 8; ++col)
        ASSERT_EQ(Cell(x, i, y, col, row), Glyph(c, colourRow, col, row, under))
            << "cell " << i << " column " << col << " row " << row;
  }

  void ExpectBlank(int x, int i, int y, Pixel colour) {
    for (int row = 0; row < 9; ++row)
      for (int col = 0; col < 8; ++col) ASSERT_EQ(Cell(x, i, y, col, row), colour) << "cell " << i;
  }

  GameFixture f;
};

TEST_F(TextWriterTest, ComposedLineIsCopiedWholeWithBlackSpaceCells) {
  Escribe(f.v, 3, 40, "1- JUEGO", 6, kComposed);
  ExpectCell(3, 0, 40, 27, 6, 9, kBlack);  // "1"
  ExpectCell(3, 1, 40, 37, 6, 9, kBlack);  // "-"
  ExpectBlank(3, 2, 40, kBlack);           // the space is neither masked nor given a background
  ExpectCell(3, 3, 40, 'J' - 'A', 6, 9, kBlack);
  ExpectCell(3, 7, 40, 'O' - 'A', 6, 9, kBlack);
  EXPECT_EQ(Cell(3, 8, 40, 0, 0), kUnder);  // the line ends after its eight cells
  EXPECT_EQ(Cell(3, 0, 40, 0, 9), kUnder);  // and after its nine rows
  EXPECT_EQ(f.v.sheets.borrador, Surface(256, 192, kBlack));
}

TEST_F(TextWriterTest, DirectGlyphsAreDrawnOverWhatIsThere) {
  Escribe(f.v, 1, 0, "A.9 Z", 10, kDirect);
  ExpectCell(1, 0, 0, 0, 10, 9, kUnder);
  ExpectCell(1, 1, 0, 36, 10, 9, kUnder);  // "."
  ExpectCell(1, 2, 0, 35, 10, 9, kUnder);  // "9"
  ExpectBlank(1, 3, 0, kUnder);
  ExpectCell(1, 4, 0, 25, 10, 9, kUnder);
}

TEST_F(TextWriterTest, LowerCaseLettersLandOnOtherColumnsOrNowhere) {
  Escribe(f.v, 0, 20, "af", 3, kDirect);
  ExpectCell(0, 0, 20, 32, 3, 9, kUnder);  // "a" shows the "6"
  ExpectCell(0, 1, 20, 37, 3, 9, kUnder);  // "f" shows the "-"
  Escribe(f.v, 0, 40, "gz", 3, kDirect);
  ExpectBlank(0, 0, 40, kUnder);  // beyond the sheet: nothing at all
  ExpectBlank(0, 1, 40, kUnder);
}

TEST_F(TextWriterTest, BackgroundComesFromTheSourceCellByCell) {
  std::int16_t height = 8;
  const Surface& panel = f.v.sheets.Panel;
  Escribe(f.v, 10, 100, "0 1", 6, kComposed, TextBackground{&panel, 72, 48}, height);
  for (int row = 0; row < 8; ++row)
    for (int col = 0; col < 8; ++col) {
      ASSERT_EQ(Cell(10, 0, 100, col, row), Glyph(26, 6, col, row, panel.at(72 + col, 48 + row)));
      ASSERT_EQ(Cell(10, 1, 100, col, row), kBlack);  // the space keeps borrador's black
      ASSERT_EQ(Cell(10, 2, 100, col, row),
                Glyph(27, 6, col, row, panel.at(72 + 16 + col, 48 + row)));
    }
  EXPECT_EQ(Cell(10, 0, 100, 0, 8), kUnder);  // eight rows only
  EXPECT_EQ(height, 8);
}

TEST_F(TextWriterTest, NegativeColourComposesTheMirroredReflection) {
  Escribe(f.v, 2, 60, "B", -1, kComposed);
  for (int row = 0; row < 9; ++row)
    for (int col = 0; col < 8; ++col) {
      // Row r of the reflection is row 8 - r of the glyph's cell, mask and colour alike.
      const Pixel mask = Font().at(8 + col, 8 - row);
      const Pixel ink = Font().at(8 + col, 9 + 8 - row);
      ASSERT_EQ(Cell(2, 0, 60, col, row), (kBlack & mask) | ink) << col << "," << row;
    }
}

TEST_F(TextWriterTest, NegativeColourDrawnDirectlyIsStretchedUpwardsFromItsRow) {
  Escribe(f.v, 0, 20, "C", -10, kDirect);
  // Row 20 of the logical screen receives the glyph's top row, row 12 its bottom row.
  for (int row = 0; row < 9; ++row)
    for (int col = 0; col < 8; ++col)
      ASSERT_EQ(Screen().at(32 + col, 4 + 20 - row), Glyph(2, 10, col, row, kUnder))
          << col << "," << row;
  EXPECT_EQ(Screen().at(32, 4 + 21), kUnder);
  EXPECT_EQ(Screen().at(32, 4 + 11), kUnder);
}

TEST_F(TextWriterTest, HeightZeroMeansNineAndIsGivenBack) {
  std::int16_t height = 0;
  Escribe(f.v, 0, 0, "", 6, kComposed, {}, height);
  EXPECT_EQ(height, 9);
  height = 0;
  Escribe(f.v, 0, 0, "A", 6, 5, {}, height);  // neither composed nor direct: nothing drawn
  EXPECT_EQ(height, 9);
  ExpectBlank(0, 0, 0, kUnder);
}

TEST_F(TextWriterTest, ColourRowsBelowTheSheetLeaveOnlyTheOutline) {
  Escribe(f.v, 0, 0, "A", 11, kDirect);
  for (int row = 0; row < 9; ++row)
    for (int col = 0; col < 8; ++col)
      ASSERT_EQ(Cell(0, 0, 0, col, row), kUnder & Font().at(col, row));
}

TEST_F(TextWriterTest, AnOverflowingCoordinateAbandonsTheLine) {
  Escribe(f.v, 0, 0, "AB", 4000, kComposed);  // colour row 4000 lies past 32767 pixels
  ExpectBlank(0, 0, 0, kUnder);
  ExpectBlank(0, 1, 0, kUnder);
}

TEST_F(TextWriterTest, ScaledTextKeepsItsLogicalPlace) {
  f.settings.DisplayScale = 2;
  f.platform.window().setClientSize(640, 400);
  f.platform.window().target().fill(kUnder);
  Escribe(f.v, 1, 10, "C", 10, kComposed);
  const Surface& screen = Screen();
  for (int row = 0; row < 18; ++row)
    for (int col = 0; col < 16; ++col)
      ASSERT_EQ(screen.at((32 + 8) * 2 + col, (4 + 10) * 2 + row),
                Glyph(2, 10, col / 2, row / 2, kBlack));
  EXPECT_EQ(screen.at((32 + 8) * 2 + 16, (4 + 10) * 2), kUnder);
}

}  // namespace
}  // namespace zendor::testing
