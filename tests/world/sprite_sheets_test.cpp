#include "assets/sprite_sheets.h"

#include <gtest/gtest.h>

#include "platform/blit.h"
#include "support/game_fixture.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

constexpr Pixel kButtonFace = Rgb(192, 192, 192);

// Column x of every row of frame k of `mirror` is column w - 1 - x of frame k of `source`, image
// and mask alike; columns right of the source's width keep `fill`.
void ExpectMirrored(const Surface& mirror, const Surface& source, int frames, Pixel fill = 0) {
  ASSERT_EQ(mirror.height(), source.height());
  const int w = source.width() / frames;
  for (int y = 0; y < source.height(); ++y) {
    for (int x = 0; x < source.width(); ++x)
      ASSERT_EQ(mirror.at(x, y), source.at(x / w * w + w - 1 - x % w, y)) << x << "," << y;
    for (int x = source.width(); x < mirror.width(); ++x) ASSERT_EQ(mirror.at(x, y), fill);
  }
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

TEST_F(SpriteSheetsTest, WorkSurfacesStartBlankWithTheirSizes) {
  EXPECT_EQ(s.sombra_temp, Surface(24, 16, Rgb(128, 128, 128)));
  EXPECT_EQ(s.Fondo, Surface(2400, 120, kBlack));
  EXPECT_EQ(s.temp, Surface(256, 192, kBlack));
  EXPECT_EQ(s.borrador, Surface(256, 192, kBlack));
  EXPECT_EQ(s.Zendor[8], Surface(30, 82, kButtonFace));
  EXPECT_EQ(s.Zendor[19], Surface(30, 82, kButtonFace));
}

TEST_F(SpriteSheetsTest, PreparationMirrorsEveryFigureAndCutsTheFloorTile) {
  PrepareSpriteSheets(f.v);
  ExpectMirrored(s.Zendor[7], s.Zendor[3], 12);
  ExpectMirrored(s.Zendor[27], s.Zendor[23], 6);
  ExpectMirrored(s.Zendor[6], s.Zendor[4], 1);
  ExpectMirrored(s.Zendor[17], s.Zendor[13], 1);
  ExpectMirrored(s.Zendor[8], s.Zendor[2], 1, kButtonFace);
  ExpectMirrored(s.Zendor[19], s.Zendor[15], 1, kButtonFace);
  ExpectMirrored(s.Mapa[7], s.Mapa[5], 1);
  ExpectMirrored(s.Suelo[3], s.Suelo[2], 1);
  for (int k = 0; k <= 4; ++k) {
    EXPECT_EQ(s.Bicho[k + 10].width(), s.Bicho[k].width());
    ExpectMirrored(s.Bicho[k + 10], s.Bicho[k], 4);
  }
  for (int k = 1; k <= 6; ++k) ExpectMirrored(s.laser[k + 7], s.laser[k], 1);
  Surface cut(48, 15);
  BitBlt(cut, -8, 0, 72, 15, s.Suelo[1], 0, 0, Rop::SrcCopy);
  EXPECT_EQ(s.Suelo[4], cut);
}

TEST_F(SpriteSheetsTest, AnEmptyLevelIsOneViewOfSkyOverTheClearColour) {
  PrepareSpriteSheets(f.v);
  ASSERT_EQ(s.Fondo.width(), 240);
  ASSERT_EQ(s.Fondo.height(), 120);
  for (int x = 92; x < 240; ++x) {  // right of the ship, below the stars
    for (int y = 50; y < 88; ++y) ASSERT_EQ(s.Fondo.at(x, y), s.Cielo.at(x, y));
    for (int y = 88; y < 120; ++y) ASSERT_EQ(s.Fondo.at(x, y), Rgb(50, 0, 152));
  }
}

TEST_F(SpriteSheetsTest, LoadingNamesTheFileAndTheReasonAndKeepsTheRest) {
  ScratchFolder art;
  std::filesystem::copy(TestArtFolder(), art.path());
  std::filesystem::remove(art.path() / "Bicho2.bmp");
  ASSERT_TRUE(WriteImageFile(art.path() / "Cielo.bmp", Surface(10, 10), nullptr));
  GameFixture g;
  std::string error;
  EXPECT_FALSE(LoadSpriteSheets(g.v.sheets, art.folder(), &error));
  EXPECT_NE(error.find("Bicho2.bmp: cannot be read"), std::string::npos) << error;
  EXPECT_NE(error.find("Cielo.bmp: is 10 x 10 pixels, the game needs 240 x 88"), std::string::npos)
      << error;
  EXPECT_EQ(g.v.sheets.Bicho[1].width(), 84);
  EXPECT_TRUE(g.v.sheets.Bicho[2].empty());
  EXPECT_TRUE(g.v.sheets.Cielo.empty());
}

}  // namespace
}  // namespace zendor::testing
