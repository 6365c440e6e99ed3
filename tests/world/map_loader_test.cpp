#include "world/map_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "assets/sprite_sheets.h"
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

// The pictures prepared with a given map as the level.
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

  ScratchFolder folder;
  GameFixture f;
  std::string said;  // what the loader reported
  const LevelTables& l = f.v.level;
  const SpriteSheets& s = f.v.sheets;
};

LoadedLevel Load(const std::string& map) {
  return LoadedLevel(&map);
}

TEST(MapLoader, EmptyMapHoldsOnlyTheStartPiece) {
  const LoadedLevel level = Load("");
  EXPECT_EQ(level.said, "");
  EXPECT_EQ(level.l.SectionStartX[0], 8);
  EXPECT_EQ(level.l.SectionStartX[1], 92);
  EXPECT_EQ(level.l.LastSectionEntry, 1);
  EXPECT_EQ(level.l.SpawnZoneACount + level.l.PitCount + level.l.IslandCount, 0);
  EXPECT_EQ(level.s.Fondo.width(), 240);
  EXPECT_EQ(level.LevelLines(), 1);
}

TEST(MapLoader, TilesEdgesAndPiecesStandOnTheirGroundPieces) {
  const LoadedLevel a = Load("1,1,5,7\n");
  EXPECT_TRUE(a.Shows(92, 88, 48, 17, a.s.Mapa[1]) && a.Shows(140, 88, 48, 17, a.s.Mapa[1]));
  EXPECT_TRUE(a.Shows(92, 105, 48, 15, a.s.Suelo[0]) && a.Shows(140, 105, 48, 15, a.s.Suelo[0]));
  EXPECT_TRUE(a.Shows(188, 88, 16, 17, a.s.Mapa[5]) && a.Shows(188, 105, 16, 15, a.s.Suelo[2]));
  EXPECT_TRUE(a.Shows(204, 88, 16, 17, a.s.Mapa[7]) && a.Shows(204, 105, 16, 15, a.s.Suelo[3]));
  EXPECT_EQ(a.l.SectionStartX[1], 220);
  EXPECT_EQ(a.s.Fondo.width(), 460);  // a view beyond the cursor, in the clear colour
  EXPECT_EQ(a.s.Fondo.at(459, 60), kClear);

  const LoadedLevel b = Load("4,8,9,2");
  EXPECT_EQ(b.l.AnimatedPieceX[b.l.AnimatedPieceCount], 92);
  EXPECT_EQ(b.l.TallPropX[b.l.TallPropCount], 164);
  EXPECT_EQ(b.l.EndPieceX, 212);
  EXPECT_TRUE(b.Shows(92, 105, 72, 15, b.s.Suelo[1]) && b.Shows(164, 105, 48, 15, b.s.Suelo[4]));
  EXPECT_EQ(b.s.Fondo.at(92, 104), b.s.Mapa[4].at(0, 24));  // lava frame 0
  EXPECT_EQ(b.s.Fondo.at(164, 48), b.s.Mapa[8].at(0, 0));
  EXPECT_EQ(b.s.Fondo.at(250, 110), kClear);  // the end piece is not painted
  EXPECT_TRUE(b.Shows(324, 88, 48, 17, b.s.Mapa[2]));
}

TEST(MapLoader, SectionMarksAndZonesAreTakenAtTheCursor) {
  // Seven tiles and a lava pool bring the cursor to 500, a 300 wide pit to 800.
  const LoadedLevel a = Load("1,1,1,1,1,1,1,4\n69,10\n6,300\n69,0\n");
  EXPECT_EQ(a.l.SectionStartX[1], 434);
  EXPECT_EQ(a.l.SectionMusic[1], 7);
  EXPECT_EQ(a.l.SectionStartX[2], 724);
  EXPECT_EQ(a.l.SectionMusic[2], 8);
  EXPECT_EQ(a.l.SectionStartX[3], 800);
  EXPECT_EQ(a.l.LastSectionEntry, 3);

  const LoadedLevel b = Load("6,208,-1,3,50,6,600,-11,-1,1,20,-2,4,9,6,10,-11,-22,-1,2,2,6,5");
  ASSERT_EQ(b.l.SpawnZoneACount, 2);
  const SpawnZone& z = b.l.SpawnZoneA[0];
  EXPECT_EQ((std::array{z.EndX, z.StartX, z.Kind, z.Rarity}),
            (std::array<std::int16_t, 4>{900, 300, 3, 50}));
  EXPECT_EQ(b.l.SpawnZoneA[1].StartX, 900);
  EXPECT_EQ(b.l.SpawnZoneA[1].EndX, 910);
  ASSERT_EQ(b.l.SpawnZoneBCount, 1);
  EXPECT_EQ(b.l.SpawnZoneB[0].Kind, 4);
  EXPECT_EQ(b.l.SpawnZoneA[2].StartX, 910);  // opened but never closed: not counted

  // Marks move nothing; the end piece moves the cursor by its width without drawing.
  const LoadedLevel c = Load("-1,0,0,-2,0,0,-11,-22,69,0,72,5,9");
  EXPECT_EQ(c.l.SectionStartX[1], 16);
  EXPECT_EQ(c.l.Island[1].X, 97);
  EXPECT_EQ(c.l.SpawnZoneA[0].EndX, 92);
  EXPECT_EQ(c.l.EndPieceX, 92);
  EXPECT_EQ(c.l.SectionStartX[2], 204);
  EXPECT_EQ(c.s.Fondo.width(), 444);
}

TEST(MapLoader, PitCopiesTheTextureColumnsUnderItAndLeavesAGapInTheGround) {
  const LoadedLevel level = Load("6,100");
  EXPECT_EQ(level.l.PitX[1], 92);
  EXPECT_EQ(level.l.PitWidth[1], 100);
  EXPECT_TRUE(level.Shows(92, 88, 100, 32, level.s.Mapa[6], 92, 0));
  EXPECT_EQ(level.l.SectionStartX[1], 192);
}

TEST(MapLoader, ValuesMayBeSeparatedByCommasSpacesAndLineBreaks) {
  EXPECT_EQ(Load("\xEF\xBB\xBF 1 , 1,\r\n\r\n  5 7\r\n").l.SectionStartX[1], 220);
}

TEST(MapLoader, AnErrorStopsTheLoadingWhereItIsAndIsReported) {
  const LoadedLevel a = Load("1\n72,4,6");
  EXPECT_NE(a.said.find("zendor.map line 2, value 3: the file ends before its pit width"),
            std::string::npos)
      << a.said;
  EXPECT_EQ(a.l.IslandCount, 1);
  EXPECT_EQ(a.l.SectionStartX[1], 0);  // the end of the file was never reached
  EXPECT_EQ(a.l.LastSectionEntry, 0);
  EXPECT_EQ(a.s.Fondo.width(), 380);
  EXPECT_EQ(a.LevelLines(), 1);

  const LoadedLevel b = Load("1,\n12,1");
  EXPECT_NE(b.said.find("line 2, value 1: tile code 12 has no picture"), std::string::npos);
  EXPECT_EQ(b.s.Fondo.width(), 380);
  EXPECT_EQ(b.s.Fondo.at(150, 100), kClear);

  for (auto [map, said] : {std::pair{"1,\n1, x1", "line 2, value 2: \"x1\" is not a whole number"},
                           std::pair{"1,40000", "value 2: 40000 does not fit"},
                           std::pair{"1,,1", "line 1, value 2: an empty value"},
                           std::pair{"6,32767", "the level grows past 32767 pixels"}}) {
    EXPECT_NE(Load(map).said.find(said), std::string::npos) << map;
  }

  const LoadedLevel missing(nullptr);
  EXPECT_NE(missing.said.find("zendor.map: cannot be opened"), std::string::npos);
  EXPECT_EQ(missing.l.SectionStartX[0], 0);
  EXPECT_EQ(missing.LevelLines(), 1);
}

TEST(MapLoader, FullTablesStopTheLoadingWithoutWritingPastThem) {
  const LoadedLevel lava = Load(Repeat("4,", 64));
  EXPECT_NE(lava.said.find("line 1, value 64: more than 63 lava pools"), std::string::npos);
  EXPECT_EQ(lava.l.AnimatedPieceCount, 63);
  EXPECT_EQ(lava.l.AnimatedPieceX[63], 92 + 62 * 72);

  const LoadedLevel sections = Load(Repeat("69,0\n", 63));
  EXPECT_NE(sections.said.find("line 63, value 2: the level has more than 63 section marks"),
            std::string::npos);
  EXPECT_EQ(sections.l.LastSectionEntry, 63);
  EXPECT_EQ(sections.l.SectionMusic[63], 69);

  for (auto [map, said] :
       {std::pair{Repeat("6,1\n", 32), "line 32, value 1: more than 31 pits"},
        std::pair{Repeat("8\n", 64), "line 64, value 1: more than 63 rock columns"},
        std::pair{Repeat("72,0\n", 64), "line 64, value 1: more than 63 islands"},
        std::pair{Repeat("-11\n", 65), "line 65, value 1: more than 64 first-family zones"},
        std::pair{Repeat("-22\n", 65), "line 65, value 1: more than 64 second-family zones"},
        std::pair{Repeat("69,0\n", 64), "line 64, value 1: more than 63 section marks"}}) {
    const LoadedLevel full = Load(map);
    EXPECT_NE(full.said.find(said), std::string::npos) << full.said;
    EXPECT_LE(full.l.PitCount, 31);
    EXPECT_LE(full.l.TallPropCount, 63);
    EXPECT_LE(full.l.IslandCount, 63);
    EXPECT_LE(full.l.SpawnZoneACount, 64);
    EXPECT_LE(full.l.SpawnZoneBCount, 64);
  }
}

}  // namespace
}  // namespace zendor::testing
