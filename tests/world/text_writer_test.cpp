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
  // Rows top .. top + height - 1 of cell i show want(col, row).
  template <typename Want>
  void ExpectCell(int x, int i, int y, Want want, int height = 9, int top = 0) {
    for (int row = top; row < top + height; ++row)
      for (int col = 0; col < 8; ++col)
        ASSERT_EQ(Cell(x, i, y, col, row), want(col, row))
            << "cell " << i << " column " << col << " row " << row;
  }
  // Glyph c in colour row r over `under`; for c < 0 the plain colour `under`.
  auto Shows(int c, int r, Pixel under) {
    return [=, this](int col, int row) { return c < 0 ? under : Glyph(c, r, col, row, under); };
  }

  GameFixture f;
};

TEST_F(TextWriterTest, ComposedLineIsCopiedWholeWithBlackSpaceCells) {
  Escribe(f.v, 3, 40, "1- JUEGO", 6, kComposed);
  ExpectCell(3, 0, 40, Shows(27, 6, kBlack));
  ExpectCell(3, 1, 40, Shows(37, 6, kBlack));  // the hyphen's own column
  ExpectCell(3, 2, 40, Shows(-1, 6, kBlack));  // the space: neither masked nor given a background
  ExpectCell(3, 7, 40, Shows('O' - 'A', 6, kBlack));
  EXPECT_EQ(Cell(3, 8, 40, 0, 0), kUnder);
  EXPECT_EQ(Cell(3, 0, 40, 0, 9), kUnder);
  EXPECT_EQ(f.v.sheets.borrador, Surface(256, 192, kBlack));  // clean for the next line
}

TEST_F(TextWriterTest, DirectGlyphsAreDrawnOverWhatIsThere) {
  Escribe(f.v, 1, 0, "A.9 Zaf", 10, kDirect);
  // The full stop's and the hyphen's own columns; "a" lands on the "6" and "f" on the "-".
  const int columns[] = {0, 36, 35, -1, 25, 32, 37};
  for (int i = 0; i < 7; ++i) ExpectCell(1, i, 0, Shows(columns[i], 10, kUnder));
  Escribe(f.v, 0, 40, "gz", 3, kDirect);  // beyond the sheet: nothing at all
  ExpectCell(0, 0, 40, Shows(-1, 3, kUnder));
  ExpectCell(0, 1, 40, Shows(-1, 3, kUnder));
}

TEST_F(TextWriterTest, BackgroundComesFromTheSourceCellByCellAtTheGivenHeight) {
  std::int16_t height = 8;
  const Surface& panel = f.v.sheets.Panel;
  Escribe(f.v, 10, 100, "0 1", 6, kComposed, TextBackground{&panel, 72, 48}, height);
  for (int i : {0, 2}) {  // "0" and "1" over the panel's block at their own place
    auto over = [&](int col, int row) {
      return Glyph(26 + i / 2, 6, col, row, panel.at(72 + 8 * i + col, 48 + row));
    };
    ExpectCell(10, i, 100, over, 8);
  }
  ExpectCell(10, 1, 100, Shows(-1, 6, kBlack), 8);
  EXPECT_EQ(Cell(10, 0, 100, 0, 8), kUnder);
  height = 0;
  Escribe(f.v, 0, 0, "A", 6, 5, {}, height);  // neither composed nor direct: nothing drawn
  EXPECT_EQ(height, 9);
  ExpectCell(0, 0, 0, Shows(-1, 6, kUnder));
}

TEST_F(TextWriterTest, NegativeColoursDrawTheReflection) {
  // Composed: row r of the cell is row 8 - r of the glyph's cell, mask and colour alike.
  Escribe(f.v, 2, 60, "B", -1, kComposed);
  ExpectCell(2, 0, 60, [&](int col, int row) { return Glyph(1, 1, col, 8 - row, kBlack); });
  // Straight onto the window: stretched upwards from the given row.
  Escribe(f.v, 0, 20, "C", -10, kDirect);
  ExpectCell(
      0, 0, 20, [&](int col, int row) { return Glyph(2, 10, col, -row, kUnder); }, 9, -8);
  EXPECT_EQ(Cell(0, 0, 20, 0, 1), kUnder);
  EXPECT_EQ(Cell(0, 0, 20, 0, -9), kUnder);
}

TEST_F(TextWriterTest, RowsBelowTheSheetLeaveTheOutlineAndOverflowsAbandonTheLine) {
  Escribe(f.v, 0, 0, "A", 11, kDirect);
  ExpectCell(0, 0, 0, [&](int col, int row) { return kUnder & f.v.sheets.Letras.at(col, row); });
  Escribe(f.v, 0, 20, "AB", 4000, kComposed);  // colour row 4000 lies past 32767 pixels
  ExpectCell(0, 0, 20, Shows(-1, 0, kUnder));
  ExpectCell(0, 1, 20, Shows(-1, 0, kUnder));
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
