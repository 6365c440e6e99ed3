// The shipped pictures as the game loads them: every catalogue sheet present with its exact
// size, masks that agree with their images, opaque sheets that fill their rectangle, the
// 16-colour enemy, the places where the game's geometry meets the art, and a generator that
// paints the same bytes on every run.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "assets/sprite_catalogue.h"
#include "datagen/datagen.h"
#include "platform/image_file.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

namespace fs = std::filesystem;

using testing::ScratchFolder;

struct Shipped {
  std::map<std::string, Surface> sheets;  // by file name
  std::map<std::string, std::vector<std::uint8_t>> bytes;
};

// Paints the artwork once, reads every file back and removes the folder.
const Shipped& Artwork() {
  static const Shipped shipped = [] {
    Shipped s;
    ScratchFolder folder;
    datagen::WriteArtwork(folder.path());
    for (const ShippedSheet& entry : ShippedSheets()) {
      const fs::path file = folder.path() / SheetFileName(entry);
      ReadWholeFile(file, s.bytes[SheetFileName(entry)]);
      ImageReadResult read = ReadImageFile(file);
      EXPECT_TRUE(read.ok()) << read.error;
      s.sheets[SheetFileName(entry)] = read.surface;
    }
    return s;
  }();
  return shipped;
}

const Surface& Sheet(const std::string& file) {
  return Artwork().sheets.at(file);
}

// The image half and mask half of a masked sheet.
struct Halves {
  int imageX, imageY, maskX, maskY, width, height;
};
Halves HalvesOf(const ShippedSheet& entry) {
  if (entry.layout == SheetLayout::MaskBeside)
    return {0, 0, entry.width / 2, 0, entry.width / 2, entry.height};
  return {0, 0, 0, entry.height / 2, entry.width, entry.height / 2};
}

bool IsMasked(const ShippedSheet& entry) {
  return entry.layout == SheetLayout::MaskBelow || entry.layout == SheetLayout::MaskBeside;
}

// Whether frame k (of `frames` side by side) has any figure pixel in image row y.
bool FrameHasFigureInRow(const Surface& sheet, int frames, int k, int y) {
  const int w = sheet.width() / frames;
  for (int x = k * w; x < (k + 1) * w; ++x)
    if (sheet.at(x, y) != kBlack) return true;
  return false;
}

TEST(ShippedArtwork, EveryCatalogueSheetIsWrittenWithItsExactSize) {
  for (const ShippedSheet& entry : ShippedSheets()) {
    const Surface& s = Sheet(SheetFileName(entry));
    EXPECT_EQ(s.width(), entry.width) << SheetFileName(entry);
    EXPECT_EQ(s.height(), entry.height) << SheetFileName(entry);
  }
}

TEST(ShippedArtwork, MasksAreBlackExactlyWhereTheImageHasFigure) {
  for (const ShippedSheet& entry : ShippedSheets()) {
    if (!IsMasked(entry)) continue;
    const Surface& s = Sheet(SheetFileName(entry));
    const Halves h = HalvesOf(entry);
    int figure = 0, mismatches = 0, greys = 0;
    for (int y = 0; y < h.height; ++y)
      for (int x = 0; x < h.width; ++x) {
        const Pixel image = s.at(h.imageX + x, h.imageY + y), mask = s.at(h.maskX + x, h.maskY + y);
        if (mask != kBlack && mask != kWhite) ++greys;
        if ((image != kBlack) != (mask == kBlack)) ++mismatches;
        figure += image != kBlack;
      }
    EXPECT_EQ(greys, 0) << SheetFileName(entry) << ": mask pixels other than black and white";
    EXPECT_EQ(mismatches, 0) << SheetFileName(entry) << ": mask and image disagree";
    EXPECT_GT(figure, 0) << SheetFileName(entry) << ": nothing drawn";
  }
}

TEST(ShippedArtwork, EveryAnimationFrameShowsSomethingAndDiffersFromTheOthers) {
  for (const ShippedSheet& entry : ShippedSheets()) {
    if (!IsMasked(entry) || entry.frames < 2) continue;
    const Surface& s = Sheet(SheetFileName(entry));
    const int w = entry.width / entry.frames, h = entry.height / 2;
    std::set<std::vector<Pixel>> distinct;
    for (int k = 0; k < entry.frames; ++k) {
      std::vector<Pixel> frame;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) frame.push_back(s.at(k * w + x, y));
      EXPECT_TRUE(std::any_of(frame.begin(), frame.end(), [](Pixel p) { return p != kBlack; }))
          << SheetFileName(entry) << " frame " << k << " is empty";
      distinct.insert(frame);
    }
    EXPECT_EQ(static_cast<int>(distinct.size()), entry.frames)
        << SheetFileName(entry) << ": repeated frames";
  }
}

TEST(ShippedArtwork, OpaqueSheetsAreFilledEdgeToEdge) {
  for (const ShippedSheet& entry : ShippedSheets()) {
    if (entry.layout != SheetLayout::Opaque) continue;
    const Surface& s = Sheet(SheetFileName(entry));
    int unpainted = 0;
    for (Pixel p : s.pixels()) unpainted += p == kBlack;
    EXPECT_EQ(unpainted, 0) << SheetFileName(entry) << " has unpainted (pure black) pixels";
  }
}

TEST(ShippedArtwork, SixteenColourEnemyIsStoredAsA16ColourBitmap) {
  for (const ShippedSheet& entry : ShippedSheets()) {
    if (!entry.sixteenColours) continue;
    const auto& bytes = Artwork().bytes.at(SheetFileName(entry));
    ASSERT_GT(bytes.size(), 30u);
    EXPECT_EQ(bytes[28] | (bytes[29] << 8), 4) << SheetFileName(entry) << " bits per pixel";
    const Surface& s = Sheet(SheetFileName(entry));
    const std::set<Pixel> colours(s.pixels().begin(), s.pixels().end());
    EXPECT_LE(colours.size(), 16u) << SheetFileName(entry);
  }
}

TEST(ShippedArtwork, ShadowStripsCutOutAndKeepTheSameEllipse) {
  const Surface& s = Sheet("sombra.bmp");
  const Pixel shade = s.at(0, 0);
  EXPECT_LT(RedOf(shade) + GreenOf(shade) + BlueOf(shade), 120) << "the shadow colour is dark";
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

TEST(ShippedArtwork, FiguresStandWhereTheGamePutsTheirFeet) {
  // Walkers' and the hero's lowest pixels lie on their frame's last image row.
  struct Feet {
    const char* file;
    int frames;
    int row;
  };
  const Feet feet[] = {{"Zendor3.bmp", 12, 40}, {"Zendor13.bmp", 1, 40}, {"Zendor15.bmp", 1, 40},
                       {"Zendor4.bmp", 1, 31},  {"Zendor23.bmp", 6, 50}, {"Bicho1.bmp", 4, 26},
                       {"Bicho2.bmp", 4, 39},   {"Bicho3.bmp", 4, 39},   {"Bicho4.bmp", 4, 38}};
  for (const Feet& f : feet)
    for (int k = 0; k < f.frames; ++k)
      EXPECT_TRUE(FrameHasFigureInRow(Sheet(f.file), f.frames, k, f.row))
          << f.file << " frame " << k;
  // The crouching hero's muzzle reaches the top right, where his shot appears.
  const Surface& crouch = Sheet("Zendor4.bmp");
  bool muzzle = false;
  for (int y = 1; y <= 6; ++y) muzzle = muzzle || crouch.at(29, y) != kBlack;
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
}

TEST(ShippedArtwork, FiguresAreNotCutByTheirFrameEdges) {
  // Characters and effects are drawn clear of their frame's sides and top, so neither an
  // adjacent frame nor a mirrored copy shows a straight cut. The kneeling hero's muzzle is meant
  // to touch his frame's right edge, where the shot leaves it.
  for (const ShippedSheet& entry : ShippedSheets()) {
    const std::string name = entry.name;
    if (name != "Zendor" && name != "Bicho" && name != "explota" && name != "explota_zendor" &&
        name != "isleta_g")
      continue;
    const Surface& s = Sheet(SheetFileName(entry));
    const int w = entry.width / entry.frames, h = entry.height / 2;
    for (int k = 0; k < entry.frames; ++k)
      for (int y = 0; y < h; ++y) {
        EXPECT_EQ(s.at(k * w, y), kBlack) << SheetFileName(entry) << " frame " << k << " row " << y;
        const bool muzzle = name == "Zendor" && entry.index == 4 && y <= 6;
        if (!muzzle) {
          EXPECT_EQ(s.at(k * w + w - 1, y), kBlack)
              << SheetFileName(entry) << " frame " << k << " row " << y;
        }
      }
    for (int x = 0; x < entry.width; ++x) {
      EXPECT_EQ(s.at(x, 0), kBlack) << SheetFileName(entry) << " column " << x;
    }
  }
}

TEST(ShippedArtwork, ShotsFlyRight) {
  // The bolt is brighter at its head than at its tail; the game mirrors it for left shots.
  for (const char* file : {"laser1.bmp", "laser2.bmp", "laser3.bmp"}) {
    const Surface& s = Sheet(file);
    long left = 0, right = 0;
    for (int y = 0; y < s.height() / 2; ++y)
      for (int x = 0; x < s.width(); ++x) {
        const Pixel p = s.at(x, y);
        (x < s.width() / 2 ? left : right) += RedOf(p) + GreenOf(p) + BlueOf(p);
      }
    EXPECT_GT(right, left * 3 / 2) << file;
  }
}

TEST(ShippedArtwork, EachLivesCellShowsADifferentFigure) {
  const Surface& lives = Sheet("Vidas_IMG.bmp");
  std::set<std::vector<Pixel>> cells;
  for (int n = 0; n < 10; ++n) {
    std::vector<Pixel> cell;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 10; ++x) cell.push_back(lives.at(10 * n + x, y));
    cells.insert(cell);
  }
  EXPECT_EQ(cells.size(), 10u);
}

TEST(ShippedArtwork, EndPieceHidesTheHeroDroppingIntoIt) {
  // The hero sinks in at columns 25..48 behind the piece: solid from row 4 down to its ledge,
  // and the ledge's ground reaches the bottom of the playfield.
  const Surface& s = Sheet("Mapa9.bmp");
  for (int y = 4; y < 61; ++y)
    for (int x = 25; x <= 48; ++x) ASSERT_NE(s.at(x, y), kBlack) << x << "," << y;
  for (int y = 29; y < 61; ++y) EXPECT_NE(s.at(0, y), kBlack) << y;
}

TEST(ShippedArtwork, ScenicPiecesCoverTheGroundBandTheyStandOn) {
  // Nothing is drawn under these pieces, so their ground rows must be solid.
  const Surface& ship = Sheet("Mapa0.bmp");
  for (int y = 88; y < 120; ++y)
    for (int x = 0; x < 92; ++x) ASSERT_NE(ship.at(x, y), kBlack) << "ship " << x << "," << y;
  const Surface& column = Sheet("Mapa8.bmp");
  for (int y = 40; y < 57; ++y)
    for (int x = 0; x < 48; ++x) ASSERT_NE(column.at(x, y), kBlack) << "column " << x << "," << y;
  const Surface& lava = Sheet("Mapa4.bmp");
  for (int y = 8; y < 25; ++y)
    for (int x = 0; x < 288; ++x) ASSERT_NE(lava.at(x, y), kBlack) << "lava " << x << "," << y;
}

TEST(ShippedArtwork, SkyMeetsTheStripColourAndTheScoreAreaIsFlat) {
  const Surface& sky = Sheet("Cielo.bmp");
  for (int x = 0; x < sky.width(); ++x)
    EXPECT_EQ(sky.at(x, sky.height() - 1), Rgb(50, 0, 152)) << x;
  // The score's digits are composed over a copy of the panel at (72, 48), 48 x 8.
  const Surface& panel = Sheet("Panel.bmp");
  for (int y = 48; y < 56; ++y)
    for (int x = 72; x < 120; ++x) ASSERT_EQ(panel.at(x, y), panel.at(72, 48)) << x << "," << y;
}

TEST(ShippedArtwork, TheGeneratorPaintsTheSameBytesEveryRun) {
  ScratchFolder first, second;
  datagen::WriteArtwork(first.path());
  datagen::WriteArtwork(second.path());
  for (const ShippedSheet& entry : ShippedSheets()) {
    std::vector<std::uint8_t> a, b;
    ASSERT_TRUE(ReadWholeFile(first.path() / SheetFileName(entry), a));
    ASSERT_TRUE(ReadWholeFile(second.path() / SheetFileName(entry), b));
    EXPECT_TRUE(a == b) << SheetFileName(entry);
    EXPECT_TRUE(a == Artwork().bytes.at(SheetFileName(entry))) << SheetFileName(entry);
  }
}

}  // namespace
}  // namespace zendor
