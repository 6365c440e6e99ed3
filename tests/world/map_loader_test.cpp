// The level as the game prepares it: the pictures loaded and mirrored, then the map read into
// the strip and the level tables. A map with every item (zones, marks, an island, the end piece
// moving the cursor without being drawn, a pit with its texture) is drawn by the world_strip
// golden image and its tables are checked by the level_every_item scenario.
#include "world/map_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>

#include "assets/sprite_sheets.h"
#include "common/sound_catalogue.h"
#include "platform/blit.h"
#include "support/game_fixture.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

constexpr Pixel kClear = Rgb(50, 0, 152);

std::string Repeat(const std::string& item, int times) {
  std::string s;
  while (times-- > 0) s += item;
  return s;
}

// The pictures prepared with a given map (or none) as the level.
struct LoadedLevel {
  explicit LoadedLevel(const std::string* map) {
    LoadTestArt(f);
    if (map) folder.Write("zendor.map", *map);
    f.settings.ProgramFolder = folder.folder();
    ::testing::internal::CaptureStderr();
    PrepareSpriteSheets(f.v);
    said = ::testing::internal::GetCapturedStderr();
  }
  // The w x h block of the strip at (x, y) shows `picture` from (px, py).
  bool Shows(int x, int y, int w, int h, const Surface& picture, int px = 0, int py = 0) const {
    Surface expected(w, h), actual(w, h);
    BitBlt(expected, 0, 0, w, h, picture, px, py, Rop::SrcCopy);
    BitBlt(actual, 0, 0, w, h, f.v.sheets.Fondo, x, y, Rop::SrcCopy);
    return expected == actual;
  }
  long LevelLines() const { return std::ranges::count(f.tracer.lines, "level"); }
  bool Said(const std::string& text) const { return said.find(text) != std::string::npos; }

  ScratchFolder folder;
  GameFixture f;
  std::string said;  // what the loader reported
  const LevelTables& l = f.v.level;
  const SpriteSheets& s = f.v.sheets;
};

LoadedLevel Load(const std::string& map) {
  return LoadedLevel(&map);
}

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

TEST(LevelPreparation, MirrorsEveryFigureAndCutsTheFloorTile) {
  const LoadedLevel level = Load("");
  const SpriteSheets& s = level.s;
  const Pixel buttonFace = Rgb(192, 192, 192);
  ExpectMirrored(s.Zendor[kHero07StandLeft], s.Zendor[kHero03StandRight], 12);
  ExpectMirrored(s.Zendor[kHero27AttackLeft], s.Zendor[kHero23AttackRight], 6);
  ExpectMirrored(s.Zendor[kHero06CrouchLeft], s.Zendor[kHero04CrouchRight], 1);
  ExpectMirrored(s.Zendor[kHero17TakeOffLeft], s.Zendor[kHero13TakeOffRight], 1);
  ExpectMirrored(s.Zendor[kHero08AirborneLeft], s.Zendor[kHero02AirborneRight], 1, buttonFace);
  ExpectMirrored(s.Zendor[kHero19LandedLeft], s.Zendor[kHero15LandedRight], 1, buttonFace);
  ExpectMirrored(s.Mapa[7], s.Mapa[5], 1);
  ExpectMirrored(s.Suelo[3], s.Suelo[2], 1);
  for (int k = 0; k < kEnemyKinds; ++k) {
    EXPECT_EQ(s.Bicho[k + 10].width(), s.Bicho[k].width());
    ExpectMirrored(s.Bicho[k + 10], s.Bicho[k], 4);
  }
  for (int k = 1; k <= 6; ++k) ExpectMirrored(s.laser[k + 7], s.laser[k], 1);
  Surface cut(48, 15);
  BitBlt(cut, -8, 0, 72, 15, s.Suelo[1], 0, 0, Rop::SrcCopy);
  EXPECT_EQ(s.Suelo[4], cut);
}

TEST(LevelPreparation, LoadingNamesTheFileAndTheReasonAndKeepsTheRest) {
  ScratchFolder art;
  std::filesystem::copy(TestArtFolder(), art.path());
  std::filesystem::remove(art.path() / "Bicho2.bmp");
  ASSERT_TRUE(WriteImageFile(art.path() / "Cielo.bmp", Surface(10, 10), nullptr));
  GameFixture g;
  std::string error;
  EXPECT_FALSE(LoadSpriteSheets(g.v.sheets, art.folder(), &error));
  for (const char* problem :
       {"Bicho2.bmp: cannot be read", "Cielo.bmp: is 10 x 10 pixels, the game needs 240 x 88"})
    EXPECT_NE(error.find(problem), std::string::npos) << error;
  const SpriteSheets& s = g.v.sheets;
  EXPECT_EQ(
      std::tuple(s.Bicho[kEnemy1Armoured].width(), s.Bicho[kEnemy2Hopper].empty(), s.Cielo.empty()),
      std::tuple(84, true, true));
}

TEST(MapLoader, AnEmptyMapIsOneViewOfSkyOverTheClearColour) {
  const LoadedLevel level = Load("");
  const LevelTables& l = level.l;
  EXPECT_EQ(level.said, "");
  EXPECT_EQ(std::tuple(l.SectionStartX[0], l.SectionStartX[1], l.LastSectionEntry),
            std::tuple(8, 92, 1));
  EXPECT_EQ(l.SpawnZoneACount + l.PitCount + l.IslandCount, 0);
  EXPECT_EQ(level.LevelLines(), 1);
  ASSERT_EQ(level.s.Fondo.width(), 240);
  ASSERT_EQ(level.s.Fondo.height(), 120);
  EXPECT_TRUE(level.Shows(92, 50, 148, 38, level.s.Cielo, 92, 50));  // right of the ship
  EXPECT_TRUE(level.Shows(92, 88, 148, 32, Surface(148, 32, kClear)));
}

TEST(MapLoader, TilesAndEdgesStandOnTheirGroundPieces) {
  const LoadedLevel a = Load("1,1,5,7\n");
  EXPECT_TRUE(a.Shows(92, 88, 48, 17, a.s.Mapa[1]) && a.Shows(140, 88, 48, 17, a.s.Mapa[1]));
  EXPECT_TRUE(a.Shows(92, 105, 48, 15, a.s.Suelo[0]) && a.Shows(140, 105, 48, 15, a.s.Suelo[0]));
  EXPECT_TRUE(a.Shows(188, 88, 16, 17, a.s.Mapa[5]) && a.Shows(188, 105, 16, 15, a.s.Suelo[2]));
  EXPECT_TRUE(a.Shows(204, 88, 16, 17, a.s.Mapa[7]) && a.Shows(204, 105, 16, 15, a.s.Suelo[3]));
  EXPECT_EQ(a.l.SectionStartX[1], 220);
  EXPECT_EQ(a.s.Fondo.width(), 460);  // a view beyond the cursor, in the clear colour
  EXPECT_EQ(a.s.Fondo.at(459, 60), kClear);
  // Values may be separated by commas, spaces and line breaks.
  EXPECT_EQ(Load("\xEF\xBB\xBF 1 , 1,\r\n\r\n  5 7\r\n").l.SectionStartX[1], 220);
}

TEST(MapLoader, SectionMarksAndZonesAreTakenAtTheCursor) {
  // Seven tiles and a lava pool bring the cursor to 500, a 300 wide pit to 800.
  const LoadedLevel a = Load("1,1,1,1,1,1,1,4\n69,10\n6,300\n69,0\n");
  EXPECT_EQ(std::tuple(a.l.SectionStartX[1], a.l.SectionStartX[2], a.l.SectionStartX[3]),
            std::tuple(434, 724, 800));
  EXPECT_EQ(std::tuple(a.l.SectionMusic[1], a.l.SectionMusic[2], a.l.LastSectionEntry),
            std::tuple(kTheme07Exploration, kTheme08Pursuit, 3));

  const LoadedLevel b = Load("6,208,-1,3,50,6,600,-11,-1,1,20,-2,4,9,6,10,-11,-22,-1,2,2,6,5");
  ASSERT_EQ(b.l.SpawnZoneACount, 2);
  const SpawnZone& z = b.l.SpawnZoneA[0];
  EXPECT_EQ((std::array{z.EndX, z.StartX, z.Kind, z.Rarity}),
            (std::array<std::int16_t, 4>{900, 300, kEnemy3Brute, 50}));
  EXPECT_EQ(std::tuple(b.l.SpawnZoneA[1].StartX, b.l.SpawnZoneA[1].EndX), std::tuple(900, 910));
  EXPECT_EQ(std::tuple(b.l.SpawnZoneBCount, b.l.SpawnZoneB[0].Kind), std::tuple(1, kEnemy4Stilts));
  EXPECT_EQ(b.l.SpawnZoneA[2].StartX, 910);  // opened but never closed: not counted
}

TEST(MapLoader, AFaultStopsTheLoadingWhereItIsIsReportedAndNeverWritesPastATable) {
  const std::pair<std::string, std::string> faults[] = {
      {"1,\n1, x1", "line 2, value 2: \"x1\" is not a whole number"},
      {"1,40000", "value 2: \"40000\" does not fit"},
      {"1,,1", "line 1, value 2: an empty value"},
      {"6,32767", "the level grows past 32767 pixels"},
      {Repeat("6,1\n", 32), "line 32, value 1: more than 31 pits"},
      {Repeat("8\n", 64), "line 64, value 1: more than 63 rock columns"},
      {Repeat("72,0\n", 64), "line 64, value 1: more than 63 islands"},
      {Repeat("-11\n", 65), "line 65, value 1: more than 64 first-family zones"},
      {Repeat("-22\n", 65), "line 65, value 1: more than 64 second-family zones"},
      {Repeat("69,0\n", 64), "line 64, value 1: more than 63 section marks"}};
  for (const auto& [map, said] : faults) {
    const LoadedLevel level = Load(map);
    const LevelTables& l = level.l;
    EXPECT_TRUE(level.Said(said)) << level.said;
    EXPECT_TRUE(l.PitCount <= 31 && l.TallPropCount <= 63 && l.IslandCount <= 63 &&
                l.SpawnZoneACount <= 64 && l.SpawnZoneBCount <= 64);
  }

  const LoadedLevel a = Load("1\n72,4,6");
  EXPECT_TRUE(a.Said("zendor.map line 2, value 3: the file ends before its pit width")) << a.said;
  // The island before it stays; the end of the file was never reached.
  EXPECT_EQ(std::tuple(a.l.IslandCount, a.l.SectionStartX[1], a.l.LastSectionEntry),
            std::tuple(1, 0, 0));
  EXPECT_EQ(std::tuple(a.s.Fondo.width(), a.LevelLines()), std::tuple(380, 1));

  const LoadedLevel b = Load("1,\n12,1");
  EXPECT_TRUE(b.Said("line 2, value 1: tile code 12 has no picture"));
  EXPECT_EQ(std::tuple(b.s.Fondo.width(), b.s.Fondo.at(150, 100)), std::tuple(380, kClear));

  const LoadedLevel lava = Load(Repeat("4,", 64));
  EXPECT_TRUE(lava.Said("line 1, value 64: more than 63 lava pools"));
  EXPECT_EQ(std::tuple(lava.l.AnimatedPieceCount, lava.l.AnimatedPieceX[63]),
            std::tuple(63, 92 + 62 * 72));

  const LoadedLevel sections = Load(Repeat("69,0\n", 63));
  EXPECT_TRUE(sections.Said("line 63, value 2: the level has more than 63 section marks"));
  EXPECT_EQ(std::tuple(sections.l.LastSectionEntry, sections.l.SectionMusic[63]),
            std::tuple(63, 69));

  const LoadedLevel missing(nullptr);
  EXPECT_TRUE(missing.Said("zendor.map: cannot be read"));
  EXPECT_EQ(std::tuple(missing.l.SectionStartX[0], missing.LevelLines()), std::tuple(0, 1));
}

}  // namespace
}  // namespace zendor::testing
