#include "world/map_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "assets/sprite_sheets.h"
#include "support/game_fixture.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

constexpr Pixel kLevelBackground = Rgb(50, 0, 152);

std::string Repeat(const std::string& item, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) s += item;
  return s;
}

class MapLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestArt(f);
    f.settings.ProgramFolder = folder.folder();
  }

  // Prepares the pictures with `map` as the level; returns what the loader reported.
  std::string Load(const std::string& map) {
    folder.Write("zendor.map", map);
    ::testing::internal::CaptureStderr();
    PrepareSpriteSheets(f.v);
    return ::testing::internal::GetCapturedStderr();
  }

  // The w x h block of the strip at (x, y) equals that of `picture` at (px, py).
  void ExpectStripShows(int x, int y, int w, int h, const Surface& picture, int px, int py) {
    const Surface& strip = f.v.sheets.Fondo;
    for (int r = 0; r < h; ++r)
      for (int c = 0; c < w; ++c)
        ASSERT_EQ(strip.at(x + c, y + r), picture.at(px + c, py + r))
            << "strip " << x + c << "," << y + r;
  }

  int LevelLines() const {
    return static_cast<int>(std::count(f.tracer.lines.begin(), f.tracer.lines.end(), "level"));
  }

  ScratchFolder folder;
  GameFixture f;
  LevelTables& l = f.v.level;
  SpriteSheets& s = f.v.sheets;
};

TEST_F(MapLoaderTest, EmptyMapHoldsOnlyTheStartPiece) {
  EXPECT_EQ(Load(""), "");
  EXPECT_EQ(l.SectionStartX[0], 8);
  EXPECT_EQ(l.SectionStartX[1], 92);
  EXPECT_EQ(l.LastSectionEntry, 1);
  EXPECT_EQ(l.SectionMusic[1], 0);
  EXPECT_EQ(l.SpawnZoneACount + l.SpawnZoneBCount + l.PitCount + l.IslandCount, 0);
  EXPECT_EQ(s.Fondo.width(), 240);
  EXPECT_EQ(LevelLines(), 1);
}

TEST_F(MapLoaderTest, TilesAndEdgesStandOnTheGroundLineWithTheirGroundPieces) {
  EXPECT_EQ(Load("1,1,5,7\n"), "");
  ExpectStripShows(92, 88, 48, 17, s.Mapa[1], 0, 0);
  ExpectStripShows(140, 88, 48, 17, s.Mapa[1], 0, 0);
  ExpectStripShows(188, 88, 16, 17, s.Mapa[5], 0, 0);
  ExpectStripShows(204, 88, 16, 17, s.Mapa[7], 0, 0);
  ExpectStripShows(92, 105, 48, 15, s.Suelo[0], 0, 0);
  ExpectStripShows(140, 105, 48, 15, s.Suelo[0], 0, 0);
  ExpectStripShows(188, 105, 16, 15, s.Suelo[2], 0, 0);
  ExpectStripShows(204, 105, 16, 15, s.Suelo[3], 0, 0);
  EXPECT_EQ(l.SectionStartX[1], 220);
  // The strip reaches a view beyond the cursor; the new columns take the background colour.
  EXPECT_EQ(s.Fondo.width(), 460);
  EXPECT_EQ(s.Fondo.at(459, 60), kLevelBackground);
}

TEST_F(MapLoaderTest, PiecesAndTheirTables) {
  EXPECT_EQ(Load("4,8,3,9,2"), "");
  EXPECT_EQ(l.AnimatedPieceCount, 1);
  EXPECT_EQ(l.AnimatedPieceX[1], 92);
  EXPECT_EQ(l.TallPropCount, 1);
  EXPECT_EQ(l.TallPropX[1], 164);
  EXPECT_EQ(l.EndPieceX, 260);
  // Lava frame 0 with its ground piece; the rock column over its own floor tile.
  ExpectStripShows(92, 105, 72, 15, s.Suelo[1], 0, 0);
  EXPECT_EQ(s.Fondo.at(92, 104), s.Mapa[4].at(0, 24));  // the figure's bottom-left pixel
  ExpectStripShows(164, 105, 48, 15, s.Suelo[4], 0, 0);
  EXPECT_EQ(s.Fondo.at(164, 48), s.Mapa[8].at(0, 0));
  ExpectStripShows(212, 88, 48, 17, s.Mapa[3], 0, 0);
  // The end piece is not painted into the strip: its place shows the background.
  EXPECT_EQ(s.Fondo.at(300, 110), kLevelBackground);
  ExpectStripShows(372, 88, 48, 17, s.Mapa[2], 0, 0);
  EXPECT_EQ(l.SectionStartX[1], 420);
}

TEST_F(MapLoaderTest, SectionMarksCountFromOneAndRaiseTheMusic) {
  // Seven tiles and a lava pool bring the cursor to 500; a 300 wide pit to 800.
  EXPECT_EQ(Load("1,1,1,1,1,1,1,4\n69,10\n6,300\n69,0\n"), "");
  EXPECT_EQ(l.SectionStartX[1], 434);
  EXPECT_EQ(l.SectionMusic[1], 7);
  EXPECT_EQ(l.SectionStartX[2], 724);
  EXPECT_EQ(l.SectionMusic[2], 8);
  EXPECT_EQ(l.SectionStartX[3], 800);
  EXPECT_EQ(l.LastSectionEntry, 3);
}

TEST_F(MapLoaderTest, SpawnZonesOpenAtTheCursorAndCountWhenClosed) {
  EXPECT_EQ(Load("6,208,-1,3,50,6,600,-11,-1,1,20,-2,4,9,6,10,-11,-22,-1,2,2,6,5"), "");
  ASSERT_EQ(l.SpawnZoneACount, 2);
  const SpawnZone& first = l.SpawnZoneA[0];
  EXPECT_EQ(first.EndX, 900);
  EXPECT_EQ(first.StartX, 300);
  EXPECT_EQ(first.Kind, 3);
  EXPECT_EQ(first.Rarity, 50);
  EXPECT_EQ(l.SpawnZoneA[1].StartX, 900);
  EXPECT_EQ(l.SpawnZoneA[1].EndX, 910);
  ASSERT_EQ(l.SpawnZoneBCount, 1);
  EXPECT_EQ(l.SpawnZoneB[0].StartX, 900);
  EXPECT_EQ(l.SpawnZoneB[0].Kind, 4);
  EXPECT_EQ(l.SpawnZoneB[0].EndX, 910);
  // The zone opened last is never closed, so it does not count.
  EXPECT_EQ(l.SpawnZoneA[2].StartX, 910);
  EXPECT_EQ(l.SpawnZoneA[2].EndX, 0);
}

TEST_F(MapLoaderTest, MarksDoNotMoveTheCursorAndTheEndPieceMovesItWithoutDrawing) {
  EXPECT_EQ(Load("-1,0,0,-2,0,0,-11,-22,69,0,72,5,9"), "");
  EXPECT_EQ(l.SectionStartX[1], 16);
  EXPECT_EQ(l.IslandCount, 1);
  EXPECT_EQ(l.Island[1].X, 97);
  EXPECT_EQ(l.SpawnZoneA[0].StartX, 92);
  EXPECT_EQ(l.SpawnZoneA[0].EndX, 92);
  EXPECT_EQ(l.EndPieceX, 92);
  EXPECT_EQ(l.SectionStartX[2], 204);
  EXPECT_EQ(s.Fondo.width(), 444);
  for (int x = 92; x < 444; x += 7) EXPECT_EQ(s.Fondo.at(x, 100), kLevelBackground) << x;
}

TEST_F(MapLoaderTest, PitCopiesTheTextureColumnsUnderItAndLeavesAGapInTheGround) {
  EXPECT_EQ(Load("6,100"), "");
  EXPECT_EQ(l.PitCount, 1);
  EXPECT_EQ(l.PitX[1], 92);
  EXPECT_EQ(l.PitWidth[1], 100);
  ExpectStripShows(92, 88, 100, 32, s.Mapa[6], 92, 0);
  EXPECT_EQ(l.SectionStartX[1], 192);
}

TEST_F(MapLoaderTest, ListSeparatorsAreForgiving) {
  EXPECT_EQ(Load("\xEF\xBB\xBF 1 , 1,\r\n\r\n  5 7\r\n"), "");
  EXPECT_EQ(l.SectionStartX[1], 220);
}

TEST_F(MapLoaderTest, ATruncatedParameterStopsTheLoadingWhereItIs) {
  const std::string said = Load("1\n72,4,6");
  EXPECT_NE(said.find("zendor.map line 2, value 3: the file ends before its pit width"),
            std::string::npos)
      << said;
  EXPECT_EQ(l.IslandCount, 1);
  EXPECT_EQ(l.PitCount, 0);
  EXPECT_EQ(l.SectionStartX[1], 0);  // the end of the file was never reached
  EXPECT_EQ(l.LastSectionEntry, 0);
  EXPECT_EQ(s.Fondo.width(), 380);
  EXPECT_EQ(LevelLines(), 1);
}

TEST_F(MapLoaderTest, AnUnknownTileCodeStopsTheLoadingBeforeDrawingIt) {
  const std::string said = Load("1,\n12,1");
  EXPECT_NE(said.find("line 2, value 1: tile code 12 has no picture"), std::string::npos) << said;
  EXPECT_EQ(s.Fondo.width(), 380);
  EXPECT_EQ(s.Fondo.at(150, 100), kLevelBackground);
  EXPECT_EQ(LevelLines(), 1);
}

TEST_F(MapLoaderTest, MalformedValuesAreReportedWithTheirPlace) {
  EXPECT_NE(Load("1,\n1, x1").find("line 2, value 2: \"x1\" is not a whole number"),
            std::string::npos);
  EXPECT_NE(Load("1,40000").find("value 2: 40000 does not fit"), std::string::npos);
  EXPECT_NE(Load("1,,1").find("line 1, value 2: an empty value"), std::string::npos);
  EXPECT_NE(Load("6,32767").find("the level grows past 32767 pixels"), std::string::npos);
}

TEST_F(MapLoaderTest, FullTablesStopTheLoadingWithoutWritingPastThem) {
  const std::string said = Load(Repeat("4,", 64));
  EXPECT_NE(said.find("line 1, value 64: more than 63 lava pools"), std::string::npos) << said;
  EXPECT_EQ(l.AnimatedPieceCount, 63);
  EXPECT_EQ(l.AnimatedPieceX[63], 92 + 62 * 72);
}

TEST_F(MapLoaderTest, EveryTableHasItsLimit) {
  struct Case {
    std::string map;
    std::string said;
  };
  const Case cases[] = {
      {Repeat("6,1\n", 32), "line 32, value 1: more than 31 pits"},
      {Repeat("8\n", 64), "line 64, value 1: more than 63 rock columns"},
      {Repeat("72,0\n", 64), "line 64, value 1: more than 63 islands"},
      {Repeat("-11\n", 65), "line 65, value 1: more than 64 first-family zones"},
      {Repeat("-2,0,0\n", 64) + Repeat("-22\n", 65), "more than 64 second-family zones"},
      {Repeat("69,0\n", 64), "line 64, value 1: more than 63 section marks"},
  };
  for (const Case& c : cases) {
    GameFixture g;
    g.settings.ProgramFolder = folder.folder();
    folder.Write("zendor.map", c.map);
    LoadTestArt(g);
    ::testing::internal::CaptureStderr();
    PrepareSpriteSheets(g.v);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
    const LevelTables& t = g.v.level;
    EXPECT_LE(t.PitCount, 31);
    EXPECT_LE(t.TallPropCount, 63);
    EXPECT_LE(t.IslandCount, 63);
    EXPECT_LE(t.SpawnZoneACount, 64);
    EXPECT_LE(t.SpawnZoneBCount, 64);
    EXPECT_LE(t.LastSectionEntry, 63);
  }
}

TEST_F(MapLoaderTest, SixtyThreeSectionsLeaveNoRoomForTheLevelsEnd) {
  const std::string said = Load(Repeat("69,0\n", 63));
  EXPECT_NE(said.find("line 63, value 2: the level has more than 63 section marks"),
            std::string::npos)
      << said;
  EXPECT_EQ(l.LastSectionEntry, 63);
  EXPECT_EQ(l.SectionMusic[63], 69);
}

TEST_F(MapLoaderTest, AMissingMapLeavesAnEmptyLevelAndSaysSo) {
  ::testing::internal::CaptureStderr();
  PrepareSpriteSheets(f.v);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("zendor.map: cannot be opened"), std::string::npos) << said;
  EXPECT_EQ(l.SectionStartX[0], 0);
  EXPECT_EQ(s.Fondo.width(), 240);
  EXPECT_EQ(LevelLines(), 1);
}

}  // namespace
}  // namespace zendor::testing
