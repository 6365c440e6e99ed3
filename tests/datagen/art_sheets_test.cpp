// The shipped pictures as the game loads them: every catalogue sheet present with its exact
// size and layout (masks that agree with their images, frames that differ, opaque sheets that
// fill their rectangle, the 16-colour enemy, the font's cells), the places where the game's
// geometry meets the art, and a generator that paints the same bytes on every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "assets/sprite_catalogue.h"
#include "datagen/datagen.h"
#include "platform/image_file.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

using testing::ScratchFolder;

// The artwork painted once, every file read back, by file name.
struct Shipped {
  Shipped() {
    datagen::WriteArtwork(folder.path());
    for (const ShippedSheet& entry : ShippedSheets()) {
      const std::string name = SheetFileName(entry);
      ReadWholeFile(folder.path() / name, bytes[name]);
      ImageReadResult read = ReadImageFile(folder.path() / name);
      EXPECT_TRUE(read.ok()) << read.error;
      sheets[name] = read.surface;
    }
  }
  ScratchFolder folder;
  std::map<std::string, Surface> sheets;
  std::map<std::string, std::vector<std::uint8_t>> bytes;
};

const Shipped& Artwork() {
  static const Shipped shipped;
  return shipped;
}

const Surface& Sheet(const std::string& file) {
  return Artwork().sheets.at(file);
}

int Brightness(Pixel p) {
  return RedOf(p) + GreenOf(p) + BlueOf(p);
}

// The image part of a sheet (all of an opaque one), one frame wide, and where its mask lies.
struct Frames {
  int width, height, maskX, maskY;
};
Frames FramesOf(const ShippedSheet& e) {
  if (e.layout == SheetLayout::MaskBeside)
    return {e.width / 2 / e.frames, e.height, e.width / 2, 0};
  if (e.layout == SheetLayout::MaskBelow)
    return {e.width / e.frames, e.height / 2, 0, e.height / 2};
  return {e.width / e.frames, e.height, 0, 0};
}

TEST(ShippedArtwork, EveryCatalogueSheetHasItsSizeAndLayout) {
  const std::set<std::string> figures = {"Zendor", "Bicho", "explota", "explota_zendor",
                                         "isleta_g"};
  for (const ShippedSheet& entry : ShippedSheets()) {
    SCOPED_TRACE(SheetFileName(entry));
    const Surface& s = Sheet(SheetFileName(entry));
    EXPECT_EQ(s.width(), entry.width);
    EXPECT_EQ(s.height(), entry.height);
    if (s.width() != entry.width || s.height() != entry.height) continue;
    const Frames f = FramesOf(entry);
    EXPECT_TRUE(entry.layout != SheetLayout::Opaque || std::ranges::count(s.pixels(), kBlack) == 0)
        << "unpainted (pure black) pixels";
    if (entry.sixteenColours) {
      const auto& bytes = Artwork().bytes.at(SheetFileName(entry));
      ASSERT_GT(bytes.size(), 30u);
      EXPECT_EQ(bytes[28] | (bytes[29] << 8), 4) << "bits per pixel";
      EXPECT_LE(std::set<Pixel>(s.pixels().begin(), s.pixels().end()).size(), 16u);
    }
    if (f.maskX + f.maskY > 0) {  // the mask is black exactly where the image has figure
      int figure = 0, mismatches = 0, greys = 0;
      for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < (f.maskX > 0 ? f.maskX : entry.width); ++x) {
          const Pixel image = s.at(x, y), mask = s.at(f.maskX + x, f.maskY + y);
          greys += mask != kBlack && mask != kWhite;
          mismatches += (image != kBlack) != (mask == kBlack);
          figure += image != kBlack;
        }
      EXPECT_EQ(greys, 0) << "mask pixels other than black and white";
      EXPECT_EQ(mismatches, 0) << "mask and image disagree";
      EXPECT_GT(figure, 0) << "nothing drawn";
    }
    if (figures.count(entry.name)) {
      // Characters and effects are drawn clear of their frame's sides and top, so neither an
      // adjacent frame nor a mirrored copy shows a straight cut. The kneeling hero's muzzle is
      // meant to touch his frame's right edge, where the shot leaves it.
      const bool muzzle = entry.name == std::string("Zendor") && entry.index == 4;
      for (int k = 0; k < entry.frames; ++k)
        for (int y = 0; y < f.height; ++y) {
          EXPECT_EQ(s.at(k * f.width, y), kBlack) << "frame " << k << " row " << y;
          EXPECT_TRUE((muzzle && y <= 6) || s.at(k * f.width + f.width - 1, y) == kBlack)
              << "frame " << k << " row " << y;
        }
      for (int x = 0; x < entry.width; ++x) EXPECT_EQ(s.at(x, 0), kBlack) << "column " << x;
    }
    if (entry.layout == SheetLayout::Font || entry.frames < 2) continue;
    std::set<std::vector<Pixel>> distinct;  // every animation frame shows something of its own
    for (int k = 0; k < entry.frames; ++k) {
      std::vector<Pixel> frame;
      for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) frame.push_back(s.at(k * f.width + x, y));
      EXPECT_TRUE(std::ranges::any_of(frame, [](Pixel p) { return p != kBlack; }))
          << "frame " << k << " is empty";
      distinct.insert(frame);
    }
    EXPECT_EQ(static_cast<int>(distinct.size()), entry.frames) << "repeated frames";
  }
}

TEST(ShippedArtwork, FiguresStandAndShootWhereTheGameExpects) {
  // Walkers' and the hero's lowest pixels lie on their frame's last image row.
  const struct {
    const char* file;
    int frames, row;
  } feet[] = {{"Zendor3.bmp", 12, 40}, {"Zendor13.bmp", 1, 40}, {"Zendor15.bmp", 1, 40},
              {"Zendor4.bmp", 1, 31},  {"Zendor23.bmp", 6, 50}, {"Bicho1.bmp", 4, 26},
              {"Bicho2.bmp", 4, 39},   {"Bicho3.bmp", 4, 39},   {"Bicho4.bmp", 4, 38}};
  for (const auto& f : feet) {
    const Surface& s = Sheet(f.file);
    const int w = s.width() / f.frames;
    for (int k = 0; k < f.frames; ++k) {
      bool standing = false;
      for (int x = k * w; x < (k + 1) * w; ++x) standing = standing || s.at(x, f.row) != kBlack;
      EXPECT_TRUE(standing) << f.file << " frame " << k;
    }
  }
  // The crouching hero's muzzle reaches the top right, where his shot appears.
  bool muzzle = false;
  for (int y = 1; y <= 6; ++y) muzzle = muzzle || Sheet("Zendor4.bmp").at(29, y) != kBlack;
  EXPECT_TRUE(muzzle);
  // The flyer keeps to the lower half of its frame, where it flies past the hero's head; only
  // its raised wings reach higher.
  const Surface& flyer = Sheet("Bicho0.bmp");
  int lower = 0, all = 0;
  for (int y = 0; y < 38; ++y)
    for (int x = 0; x < flyer.width(); ++x)
      if (flyer.at(x, y) != kBlack) {
        ++all;
        lower += y >= 19;
        EXPECT_GE(y, 6) << "flyer pixel at " << x << "," << y;
      }
  EXPECT_GT(lower, all * 85 / 100);
  // Shots fly right: the bolt is brighter at its head than at its tail (the game mirrors it).
  for (const char* file : {"laser1.bmp", "laser2.bmp", "laser3.bmp"}) {
    const Surface& s = Sheet(file);
    long left = 0, right = 0;
    for (int y = 0; y < s.height() / 2; ++y)
      for (int x = 0; x < s.width(); ++x)
        (x < s.width() / 2 ? left : right) += Brightness(s.at(x, y));
    EXPECT_GT(right, left * 3 / 2) << file;
  }
}

TEST(ShippedArtwork, ShadowStripsCutOutAndKeepTheSameEllipse) {
  const Surface& s = Sheet("sombra.bmp");
  const Pixel shade = s.at(0, 0);
  EXPECT_LT(Brightness(shade), 120) << "the shadow colour is dark";
  int inside = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 24; ++x) {
      EXPECT_EQ(s.at(x, y), shade);
      const Pixel scene = s.at(x, 8 + y), copy = s.at(x, 16 + y);
      EXPECT_TRUE((scene == kBlack && copy == kWhite) || (scene == kWhite && copy == kBlack))
          << x << "," << y;
      inside += scene == kBlack;
    }
  // An ellipse filling its 24 x 8 strip: about pi/4 of it, touching the middle of each side.
  EXPECT_NEAR(inside, 24 * 8 * 0.785, 12);
  EXPECT_EQ(s.at(12, 8 + 0), kBlack);
  EXPECT_EQ(s.at(0, 8 + 4), kBlack);
  EXPECT_EQ(s.at(0, 8 + 0), kWhite);
}

TEST(ShippedArtwork, PiecesAreSolidOrFlatWhereTheGameNeedsThem) {
  // Rectangles (corners inclusive) with no transparent pixel, or all of one colour: the end piece
  // hides the hero sinking in at columns 25..48 from row 4 down, and its ledge's ground reaches
  // the playfield's bottom; the ship's, the column's and the lava's ground bands are solid, as
  // nothing is drawn under them; the sky meets the strip's colour; the score's digits are
  // composed over a copy of the panel at (72, 48), 48 x 8.
  const struct {
    const char* file;
    int x0, y0, x1, y1;
    std::optional<Pixel> colour;
  } regions[] = {{"Mapa9.bmp", 25, 4, 48, 60},
                 {"Mapa9.bmp", 0, 29, 0, 60},
                 {"Mapa0.bmp", 0, 88, 91, 119},
                 {"Mapa8.bmp", 0, 40, 47, 56},
                 {"Mapa4.bmp", 0, 8, 287, 24},
                 {"Cielo.bmp", 0, 87, 239, 87, Rgb(50, 0, 152)},
                 {"Panel.bmp", 72, 48, 119, 55, Sheet("Panel.bmp").at(72, 48)}};
  for (const auto& r : regions)
    for (int y = r.y0; y <= r.y1; ++y)
      for (int x = r.x0; x <= r.x1; ++x) {
        const Pixel p = Sheet(r.file).at(x, y);
        ASSERT_TRUE(r.colour ? p == *r.colour : p != kBlack) << r.file << " " << x << "," << y;
      }
}

// The font as the text writer reads it: 38 cells of 8 x 9 in 11 rows (row 0 the mask, 1..6 a
// ramp that brightens, 7..9 the glyph breaking up, 10 white).
TEST(ShippedArtwork, FontCellsHoldOneGlyphThroughEveryRow) {
  const Surface& font = Sheet("Letras.bmp");
  const auto lit = [&font](int cell, int row) {
    std::set<std::pair<int, int>> on;
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 8; ++x)
        if (font.at(cell * 8 + x, row * 9 + y) != kBlack) on.insert({x, y});
    return on;
  };
  std::set<std::set<std::pair<int, int>>> shapes;
  std::size_t kept[3] = {0, 0, 0}, total = 0;
  for (int c = 0; c < 38; ++c) {
    SCOPED_TRACE("cell " + std::to_string(c));
    const auto glyph = lit(c, 10);
    EXPECT_FALSE(glyph.empty());
    shapes.insert(glyph);
    total += glyph.size();
    for (const auto& [x, y] : glyph) {
      EXPECT_TRUE(x >= 1 && x <= 6 && y >= 1 && y <= 7) << x << "," << y;
      EXPECT_EQ(font.at(c * 8 + x, 10 * 9 + y), kWhite);
    }
    for (int y = 0; y < 9; ++y)  // the mask is the glyph grown by one pixel all round
      for (int x = 0; x < 8; ++x) {
        bool near = false;
        for (int d = 0; d < 9; ++d) near = near || glyph.count({x + d % 3 - 1, y + d / 3 - 1});
        EXPECT_EQ(font.at(c * 8 + x, y), near ? kBlack : kWhite) << x << "," << y;
      }
    for (int row = 1; row <= 6; ++row) ASSERT_EQ(lit(c, row), glyph) << "row " << row;
    for (const auto& [x, y] : glyph)
      for (int row = 1; row < 6; ++row) {
        const Pixel dim = font.at(c * 8 + x, row * 9 + y),
                    bright = font.at(c * 8 + x, (row + 1) * 9 + y);
        EXPECT_LT(Brightness(dim), Brightness(bright)) << "row " << row;
        EXPECT_LE(RedOf(dim), RedOf(bright));
        EXPECT_LE(GreenOf(dim), GreenOf(bright));
        EXPECT_LE(BlueOf(dim), BlueOf(bright));
      }
    for (int row = 7; row <= 9; ++row) {
      const auto part = lit(c, row);
      EXPECT_TRUE(std::ranges::includes(glyph, part)) << "row " << row;
      kept[row - 7] += part.size();
    }
  }
  EXPECT_EQ(shapes.size(), 38u) << "glyphs that look alike";
  EXPECT_LT(kept[0], total);
  EXPECT_LT(kept[1], kept[0]);
  EXPECT_LT(kept[2], kept[1]);
  EXPECT_GT(kept[2], 0u);
}

// Ground pieces join in any order: every piece that shows the ground's top surface or its cliff
// face starts with the same column and ends with the same column, and the step from any piece's
// last column to any piece's first column is no harsher than the steps inside a piece.

// Rows top..top+rows-1 of column x.
std::vector<Pixel> Column(const Surface& s, int x, int top, int rows) {
  std::vector<Pixel> c;
  for (int y = top; y < top + rows; ++y) c.push_back(s.at(x, y));
  return c;
}

double Step(const std::vector<Pixel>& a, const std::vector<Pixel>& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    sum += std::abs(RedOf(a[i]) - RedOf(b[i])) + std::abs(GreenOf(a[i]) - GreenOf(b[i])) +
           std::abs(BlueOf(a[i]) - BlueOf(b[i]));
  return sum / a.size();
}

// A stretch of ground as it appears in some piece: columns first..last (-1: the piece has no
// such end) of rows top..top+rows-1.
struct Stretch {
  std::string name;
  Surface sheet;
  int first, last, top;
};

void ExpectJoinsInAnyOrder(const std::vector<Stretch>& pieces, int rows) {
  const Stretch& ref = pieces.front();
  const auto left = Column(ref.sheet, ref.first, ref.top, rows);
  const auto right = Column(ref.sheet, ref.last, ref.top, rows);
  for (const Stretch& p : pieces) {
    EXPECT_TRUE(p.first < 0 || Column(p.sheet, p.first, p.top, rows) == left) << p.name << " first";
    EXPECT_TRUE(p.last < 0 || Column(p.sheet, p.last, p.top, rows) == right) << p.name << " last";
  }
  double inner = 0;
  for (int x = 0; x + 1 < ref.sheet.width(); ++x)
    inner += Step(Column(ref.sheet, x, ref.top, rows), Column(ref.sheet, x + 1, ref.top, rows));
  EXPECT_LE(Step(right, left), inner / (ref.sheet.width() - 1) * 1.25) << "seam between pieces";
}

TEST(ShippedArtwork, GroundTopSurfaceAndCliffFacePiecesJoinInAnyOrder) {
  std::vector<Stretch> top = {{"Mapa1", Sheet("Mapa1.bmp"), 0, 47, 0},
                              {"Mapa2", Sheet("Mapa2.bmp"), 0, 47, 0},
                              {"Mapa3", Sheet("Mapa3.bmp"), 0, 47, 0},
                              {"Mapa8", Sheet("Mapa8.bmp"), 0, 47, 40},
                              {"Mapa5 (left end)", Sheet("Mapa5.bmp"), -1, 15, 0},
                              {"Mapa0 (start)", Sheet("Mapa0.bmp"), -1, 91, 88},
                              {"Mapa9 (end)", Sheet("Mapa9.bmp"), 0, -1, 29}};
  for (int f = 0; f < 4; ++f)
    top.push_back({"Mapa4 frame " + std::to_string(f), Sheet("Mapa4.bmp"), 72 * f, 72 * f + 71, 8});
  ExpectJoinsInAnyOrder(top, 17);
  // Suelo(4), the cropped piece, is Suelo(1) columns 8..55.
  ExpectJoinsInAnyOrder({{"Suelo0", Sheet("Suelo0.bmp"), 0, 47, 0},
                         {"Suelo1", Sheet("Suelo1.bmp"), 0, 71, 0},
                         {"Suelo4", Sheet("Suelo1.bmp"), 8, 55, 0},
                         {"Suelo2 (left end)", Sheet("Suelo2.bmp"), -1, 15, 0},
                         {"Mapa0 (start)", Sheet("Mapa0.bmp"), -1, 91, 105},
                         {"Mapa9 (end)", Sheet("Mapa9.bmp"), 0, -1, 46}},
                        15);
}

TEST(ShippedArtwork, ChasmLooksTheSameAtEveryCutOnItsUpperRows) {
  // Pits copy the chasm at any width from any column, next to the ground ends' own chasm
  // colours: the depth gradient is the same in every column above the mist.
  const Surface chasm = Sheet("Mapa6.bmp");
  for (int y = 0; y < 20; ++y) {
    double sum = 0;
    for (int x = 0; x < chasm.width(); ++x) sum += Brightness(chasm.at(x, y));
    for (int x = 0; x + 8 <= chasm.width(); x += 8) {
      double block = 0;
      for (int k = 0; k < 8; ++k) block += Brightness(chasm.at(x + k, y));
      EXPECT_NEAR(block / 8, sum / chasm.width(), 12.0) << "row " << y << " column " << x;
    }
  }
}

TEST(ShippedArtwork, TheGeneratorPaintsTheSameBytesEveryRun) {
  ScratchFolder again;
  datagen::WriteArtwork(again.path());
  for (const ShippedSheet& entry : ShippedSheets()) {
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(again.path() / SheetFileName(entry), bytes));
    EXPECT_TRUE(bytes == Artwork().bytes.at(SheetFileName(entry))) << SheetFileName(entry);
  }
}

}  // namespace
}  // namespace zendor
