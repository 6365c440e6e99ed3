// The level strip and whole composed frames, drawn from the test pictures and a small map that
// uses every item, compared with committed reference images.

#include <gtest/gtest.h>

#include <string>

#include "assets/sprite_sheets.h"
#include "game/compose.h"
#include "game/panel.h"
#include "golden/golden_image.h"
#include "support/game_fixture.h"
#include "world/playfield.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

// Tiles and edges, a lava pool, a section mark, an island over a pit, a rock column, a spawn
// zone, the end piece and the ground beyond it.
constexpr const char* kTestMap =
    "1,1\n"
    "-1,0,40\n"
    "5,4,7,2\n"
    "69,0\n"
    "72,20\n"
    "6,64\n"
    "3,8\n"
    "-11\n"
    "1,9,1,1\n";

struct FrameCase {
  double scrollX;
  std::int16_t heroState;
  bool heroActive;
  bool endReached;
  int enemyX;  // an active enemy's screen x, or -1000 for none
};

class WorldGoldenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestArt(f);
    folder.Write("zendor.map", kTestMap);
    f.settings.ProgramFolder = folder.folder();
    f.platform.window().setClientSize(320, 200);
    ::testing::internal::CaptureStderr();
    PrepareSpriteSheets(f.v);
    ASSERT_EQ(::testing::internal::GetCapturedStderr(), "");
  }

  // One frame as the game loop draws the world, with the panel set up as at a game's start.
  const Surface& DrawFrame(const FrameCase& c) {
    GameState& g = f.v.game;
    g.Lives = 2;
    g.Score = 1400;
    DrawPanel(f.v);
    DrawScore(f.v);
    DrawLives(f.v);
    g.ScrollX = c.scrollX;
    g.EndReached = c.endReached;
    f.v.hero.HeroActive = c.heroActive;
    f.v.hero.HeroState = c.heroState;
    f.v.hero.HeroWidth = 22;
    f.v.hero.HeroY = 55;
    g.Enemies.assign(3, Enemy{});
    g.EnemySlotBusy.assign(3, false);
    if (c.enemyX > -1000) g.Enemies[0] = Enemy{.Active = true, .Kind = 1, .X = 0};
    g.Enemies[0].X = static_cast<std::int16_t>(c.enemyX);
    // Let the islands come up from the top of the screen first.
    for (int i = 0; i < 90; ++i) UpdateIslandsAndPits(f.v);
    DrawSkyStarsAndStartPiece(f.v);
    AdvanceAnimation(f.v);
    UpdateAnimatedPieces(f.v);
    DrawBackProps(f.v);
    ComposeView(f.v);
    UpdateIslandsAndPits(f.v);
    DrawEndPieceInFront(f.v);
    PresentPlayfield(f.v);
    return f.platform.window().screen();
  }

  ScratchFolder folder;
  GameFixture f;
};

TEST_F(WorldGoldenTest, LevelStrip) {
  ExpectMatchesGolden(f.v.sheets.Fondo, "world_strip");
}

TEST_F(WorldGoldenTest, StartOfTheLevel) {
  ExpectMatchesGolden(DrawFrame({8, 7, true, false, -1000}), "frame_start");
}

TEST_F(WorldGoldenTest, LavaIslandAndPitInTheAir) {
  ExpectMatchesGolden(DrawFrame({150, 2, true, false, 40}), "frame_lava_island_pit");
}

TEST_F(WorldGoldenTest, EndPieceInFrontOfTheHero) {
  ExpectMatchesGolden(DrawFrame({420, 15, false, true, -1000}), "frame_end_piece");
}

}  // namespace
}  // namespace zendor::testing
