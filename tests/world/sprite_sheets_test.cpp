#include "assets/sprite_sheets.h"

#include <gtest/gtest.h>

#include "assets/sprite_catalogue.h"
#include "platform/image_file.h"
#include "support/game_fixture.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

// Column x of every row of each frame of `mirror` equals column w - 1 - x of the same frame of
// `source`, image and mask halves alike.
void ExpectMirroredFrames(const Surface& mirror, const Surface& source, int frames,
                          const char* what) {
  ASSERT_FALSE(source.empty()) << what;
  const int w = source.width() / frames;
  for (int k = 0; k < frames; ++k)
    for (int y = 0; y < source.height(); ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(mirror.at(k * w + x, y), source.at(k * w + w - 1 - x, y))
            << what << " frame " << k << " column " << x << " row " << y;
}

class SpriteSheetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestArt(f);
    folder.Write("zendor.map", "");
    f.settings.ProgramFolder = folder.folder();
  }
  ScratchFolder folder;
  GameFixture f;
  SpriteSheets& s = f.v.sheets;
};

TEST_F(SpriteSheetsTest, WorkSurfacesStartWithTheirSizesAndFills) {
  EXPECT_EQ(s.sombra_temp.width(), 24);
  EXPECT_EQ(s.sombra_temp.height(), 16);
  EXPECT_EQ(s.sombra_temp.at(23, 15), Rgb(128, 128, 128));
  EXPECT_EQ(s.Fondo.width(), 2400);
  EXPECT_EQ(s.Fondo.height(), 120);
  EXPECT_EQ(s.Fondo.at(2399, 119), kBlack);
  for (const Surface* work : {&s.temp, &s.borrador}) {
    EXPECT_EQ(work->width(), 256);
    EXPECT_EQ(work->height(), 192);
    EXPECT_EQ(work->at(255, 191), kBlack);
  }
  for (int k : {8, 19}) {
    EXPECT_EQ(s.Zendor[k].width(), 30);
    EXPECT_EQ(s.Zendor[k].height(), 82);
    EXPECT_EQ(s.Zendor[k].at(29, 0), Rgb(192, 192, 192));
  }
}

TEST_F(SpriteSheetsTest, PreparationMirrorsEveryFigureInItsOwnCell) {
  PrepareSpriteSheets(f.v);
  ExpectMirroredFrames(s.Zendor[7], s.Zendor[3], 12, "walk cycle");
  ExpectMirroredFrames(s.Zendor[27], s.Zendor[23], 6, "fighting poses");
  ExpectMirroredFrames(s.Zendor[6], s.Zendor[4], 1, "crouching");
  ExpectMirroredFrames(s.Zendor[17], s.Zendor[13], 1, "taking off");
  ExpectMirroredFrames(s.Mapa[7], s.Mapa[5], 1, "ground edge");
  ExpectMirroredFrames(s.Suelo[3], s.Suelo[2], 1, "floor edge");
  for (int k = 0; k <= 4; ++k) {
    EXPECT_EQ(s.Bicho[k + 10].width(), s.Bicho[k].width()) << k;
    EXPECT_EQ(s.Bicho[k + 10].height(), s.Bicho[k].height()) << k;
    ExpectMirroredFrames(s.Bicho[k + 10], s.Bicho[k], 4, "enemy");
  }
  for (int k = 1; k <= 6; ++k) ExpectMirroredFrames(s.laser[k + 7], s.laser[k], 1, "shot");
}

TEST_F(SpriteSheetsTest, NarrowPosesMirrorIntoWiderHoldersKeepingTheirFill) {
  PrepareSpriteSheets(f.v);
  for (auto [mirror, source] : {std::pair{8, 2}, std::pair{19, 15}}) {
    const Surface& m = s.Zendor[mirror];
    const Surface& src = s.Zendor[source];
    for (int y = 0; y < 82; ++y) {
      for (int x = 0; x < 23; ++x) ASSERT_EQ(m.at(x, y), src.at(22 - x, y)) << mirror;
      for (int x = 23; x < 30; ++x) ASSERT_EQ(m.at(x, y), Rgb(192, 192, 192)) << mirror;
    }
  }
}

TEST_F(SpriteSheetsTest, FloorTileIsCutFromTheWiderOne) {
  PrepareSpriteSheets(f.v);
  ASSERT_EQ(s.Suelo[4].width(), 48);
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 48; ++x) ASSERT_EQ(s.Suelo[4].at(x, y), s.Suelo[1].at(x + 8, y));
}

TEST_F(SpriteSheetsTest, EmptyLevelLeavesOneViewOfSkyOverTheBackgroundColour) {
  // Nothing in the map: the strip is the sky, the stars and the ship, one view wide.
  PrepareSpriteSheets(f.v);
  ASSERT_EQ(s.Fondo.width(), 240);
  ASSERT_EQ(s.Fondo.height(), 120);
  for (int x = 92; x < 240; ++x) {
    for (int y = 50; y < 88; ++y) ASSERT_EQ(s.Fondo.at(x, y), s.Cielo.at(x, y)) << x << "," << y;
    for (int y = 88; y < 120; ++y) ASSERT_EQ(s.Fondo.at(x, y), Rgb(50, 0, 152)) << x << "," << y;
  }
}

TEST_F(SpriteSheetsTest, PreparationWithoutArtLeavesSkyAreaAndClearColour) {
  // No pictures at all: the holders stay empty and the strip is just the clear colour.
  GameFixture bare;
  std::string error;
  EXPECT_FALSE(LoadSpriteSheets(bare.v.sheets, folder.folder() + "missing/", &error));
  bare.settings.ProgramFolder = folder.folder();
  PrepareSpriteSheets(bare.v);
  const Surface& strip = bare.v.sheets.Fondo;
  ASSERT_EQ(strip.width(), 240);
  EXPECT_EQ(strip.at(0, 0), Rgb(50, 0, 152));
  EXPECT_EQ(strip.at(239, 119), Rgb(50, 0, 152));
  EXPECT_TRUE(bare.v.sheets.Bicho[10].empty());
}

TEST_F(SpriteSheetsTest, LoadingNamesTheFileAndTheReason) {
  ScratchFolder broken;
  WriteTestArt(broken.path() / "ART");
  std::filesystem::remove(broken.path() / "ART" / "Bicho2.bmp");
  ASSERT_TRUE(WriteImageFile(broken.path() / "ART" / "Cielo.bmp", Surface(10, 10), nullptr));
  GameFixture g;
  std::string error;
  EXPECT_FALSE(LoadSpriteSheets(g.v.sheets, broken.folder() + "ART/", &error));
  EXPECT_NE(error.find("Bicho2.bmp: cannot be read"), std::string::npos) << error;
  EXPECT_NE(error.find("Cielo.bmp: is 10 x 10 pixels, the game needs 240 x 88"), std::string::npos)
      << error;
  // What could be loaded is there; what could not stays empty.
  EXPECT_EQ(g.v.sheets.Bicho[1].width(), 84);
  EXPECT_TRUE(g.v.sheets.Bicho[2].empty());
  EXPECT_TRUE(g.v.sheets.Cielo.empty());
  EXPECT_EQ(g.v.sheets.temp.width(), 256);
}

TEST(SpriteHolders, EveryShippedSheetHasAHolder) {
  GameFixture f;
  for (const SheetSpec& spec : ShippedSheets()) {
    EXPECT_NE(SheetHolder(f.v.sheets, spec.name, spec.index), nullptr) << spec.name << spec.index;
  }
  EXPECT_EQ(SheetHolder(f.v.sheets, "Bicho", 15), nullptr);
  EXPECT_EQ(SheetHolder(f.v.sheets, "Cielo", 2), nullptr);
  EXPECT_EQ(SheetHolder(f.v.sheets, "Nada", -1), nullptr);
}

}  // namespace
}  // namespace zendor::testing
