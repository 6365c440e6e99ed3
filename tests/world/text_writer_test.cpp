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

  // The window's pixel at (col, row) of character cell i of a line at text column x, row y.
  Pixel Cell(int x, int i, int y, int col, int row) {
    return f.platform.window().screen().at(32 + 8 * (x + i) + col, 4 + y + row);
  }
  // Glyph column c in colour row r, drawn masked over `under`.
  Pixel Glyph(int c, int r, int col, int row, Pixel under) const {
    const Surface& font = f.v.sheets.Letras;
    return (under & font.at(8 * c + col, row)) | font.at(8 * c + col, 9 * r + row);
  }
  // Cell i shows glyph c (or, for c < 0, the plain colour `under`) in its top `height` rows.
  void ExpectCell(int x, int i, int y, int c, int r, Pixel under, int height = 9) {
    for (int row = 0; row < height; ++row)
      for (int col = 0; col < 8; ++col)
        ASSERT_EQ(Cell(x, i, y, col, row), c < 0 ? under : Glyph(c, r, col, row, under))
            << "cell " << i << " column " << col << " row " << row;
  }

  GameFixture f;
};

TEST_F(TextWriterTest, ComposedLineIsCopiedWholeWithBlackSpaceCells) {
  Escribe(f.v, 3, 40, "1- JUEGO", 6, kComposed);
  ExpectCell(3, 0, 40, 27, 6, kBlack);
  ExpectCell(3, 1, 40, 37, 6, kBlack);  // the hyphen's own column
  ExpectCell(3, 2, 40, -1, 6, kBlack);  // the space: neither masked nor given a background
  ExpectCell(3, 7, 40, 'O' - 'A', 6, kBlack);
  EXPECT_EQ(Cell(3, 8, 40, 0, 0), kUnder);
  EXPECT_EQ(Cell(3, 0, 40, 0, 9), kUnder);
  EXPECT_EQ(f.v.sheets.borrador, Surface(256, 192, kBlack));  // clean for the next line
}

TEST_F(TextWriterTest, DirectGlyphsAreDrawnOverWhatIsThere) {
  Escribe(f.v, 1, 0, "A.9 Zaf", 10, kDirect);
  ExpectCell(1, 0, 0, 0, 10, kUnder);
  ExpectCell(1, 1, 0, 36, 10, kUnder);  // the full stop's column
  ExpectCell(1, 2, 0, 35, 10, kUnder);
  ExpectCell(1, 3, 0, -1, 10, kUnder);
  ExpectCell(1, 4, 0, 25, 10, kUnder);
  ExpectCell(1, 5, 0, 32, 10, kUnder);    // "a" lands on the "6"
  ExpectCell(1, 6, 0, 37, 10, kUnder);    // "f" on the "-"
  Escribe(f.v, 0, 40, "gz", 3, kDirect);  // beyond the sheet: nothing at all
  ExpectCell(0, 0, 40, -1, 3, kUnder);
  ExpectCell(0, 1, 40, -1, 3, kUnder);
}

TEST_F(TextWriterTest, BackgroundComesFromTheSourceCellByCellAtTheGivenHeight) {
  std::int16_t height = 8;
  const Surface& panel = f.v.sheets.Panel;
  Escribe(f.v, 10, 100, "0 1", 6, kComposed, TextBackground{&panel, 72, 48}, height);
  for (int row = 0; row < 8; ++row)
    for (int col = 0; col < 8; ++col) {
      ASSERT_EQ(Cell(10, 0, 100, col, row), Glyph(26, 6, col, row, panel.at(72 + col, 48 + row)));
      ASSERT_EQ(Cell(10, 1, 100, col, row), kBlack);
      ASSERT_EQ(Cell(10, 2, 100, col, row), Glyph(27, 6, col, row, panel.at(88 + col, 48 + row)));
    }
  EXPECT_EQ(Cell(10, 0, 100, 0, 8), kUnder);
  height = 0;
  Escribe(f.v, 0, 0, "A", 6, 5, {}, height);  // neither composed nor direct: nothing drawn
  EXPECT_EQ(height, 9);
  ExpectCell(0, 0, 0, -1, 6, kUnder);
}

TEST_F(TextWriterTest, NegativeColoursDrawTheReflection) {
  // Composed: row r of the cell is row 8 - r of the glyph's cell, mask and colour alike.
  Escribe(f.v, 2, 60, "B", -1, kComposed);
  for (int row = 0; row < 9; ++row)
    for (int col = 0; col < 8; ++col)
      ASSERT_EQ(Cell(2, 0, 60, col, row), Glyph(1, 1, col, 8 - row, kBlack));
  // Straight onto the window: stretched upwards from the given row.
  Escribe(f.v, 0, 20, "C", -10, kDirect);
  for (int row = 0; row < 9; ++row)
    for (int col = 0; col < 8; ++col)
      ASSERT_EQ(Cell(0, 0, 20, col, -row), Glyph(2, 10, col, row, kUnder));
  EXPECT_EQ(Cell(0, 0, 20, 0, 1), kUnder);
  EXPECT_EQ(Cell(0, 0, 20, 0, -9), kUnder);
}

TEST_F(TextWriterTest, RowsBelowTheSheetLeaveTheOutlineAndOverflowsAbandonTheLine) {
  Escribe(f.v, 0, 0, "A", 11, kDirect);
  for (int row = 0; row < 9; ++row)
    for (int col = 0; col < 8; ++col)
      ASSERT_EQ(Cell(0, 0, 0, col, row), kUnder & f.v.sheets.Letras.at(col, row));
  Escribe(f.v, 0, 20, "AB", 4000, kComposed);  // colour row 4000 lies past 32767 pixels
  ExpectCell(0, 0, 20, -1, 0, kUnder);
  ExpectCell(0, 1, 20, -1, 0, kUnder);
}

TEST_F(TextWriterTest, ScaledTextKeepsItsLogicalPlace) {
  f.settings.DisplayScale = 2;
  f.platform.window().setClientSize(640, 400);
  Escribe(f.v, 1, 10, "C", 10, kComposed);
  const Surface& screen = f.platform.window().screen();
  for (int row = 0; row < 18; ++row)
    for (int col = 0; col < 16; ++col)
      ASSERT_EQ(screen.at(80 + col, 28 + row), Glyph(2, 10, col / 2, row / 2, kBlack));
}

}  // namespace
}  // namespace zendor::testing
