// The level strip and whole composed frames, drawn from the test pictures and a small map that
// uses every item, compared with committed reference images in tests/golden/reference/. When a
// picture differs from its reference, "<name>.actual.png" and "<name>.diff.png" (reference,
// actual, and the differing pixels in red, side by side) are written to the build's
// test-output/golden folder and the test fails, naming that file. UPDATE_GOLDEN=1 rewrites the
// references instead.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "assets/sprite_sheets.h"
#include "game/compose.h"
#include "game/panel.h"
#include "platform/blit.h"
#include "platform/image_file.h"
#include "support/game_fixture.h"
#include "world/playfield.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

// Reference | actual | difference (differing pixels red, counted in `differing`), 4 pixels
// apart.
Surface GoldenDiffImage(const Surface& reference, const Surface& actual, long& differing) {
  const int w = std::max(reference.width(), actual.width());
  const int h = std::max(reference.height(), actual.height());
  Surface diff(3 * w + 8, h, Rgb(255, 0, 255));
  BitBlt(diff, 0, 0, w, h, reference, 0, 0, Rop::SrcCopy);
  BitBlt(diff, w + 4, 0, w, h, actual, 0, 0, Rop::SrcCopy);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool same = reference.contains(x, y) && actual.contains(x, y) &&
                        reference.at(x, y) == actual.at(x, y);
      diff.set(2 * (w + 4) + x, y, same ? kBlack : Rgb(255, 0, 0));
      differing += !same;
    }
  return diff;
}

void ExpectMatchesGolden(const Surface& actual, const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path reference =
      fs::path(ZENDOR_SOURCE_DIR) / "tests/golden/reference" / (name + ".png");
  if (const char* update = std::getenv("UPDATE_GOLDEN"); update && std::string(update) == "1") {
    std::string error;
    ASSERT_TRUE(WriteImageFile(reference, actual, &error)) << error;
    return;
  }
  const ImageReadResult expected = ReadImageFile(reference);
  if (expected.ok() && expected.surface == actual) return;
  const fs::path out = fs::path(ZENDOR_GAME_DIR).parent_path() / "test-output" / "golden";
  fs::create_directories(out);
  WriteImageFile(out / (name + ".actual.png"), actual, nullptr);
  if (!expected.ok()) {
    ADD_FAILURE() << "no usable reference image: " << expected.error << "; the picture made is "
                  << out / (name + ".actual.png")
                  << " (UPDATE_GOLDEN=1 writes it as the reference)";
    return;
  }
  long differing = 0;
  WriteImageFile(out / (name + ".diff.png"), GoldenDiffImage(expected.surface, actual, differing),
                 nullptr);
  ADD_FAILURE() << name << " differs from its reference: " << actual.width() << " x "
                << actual.height() << " against " << expected.surface.width() << " x "
                << expected.surface.height() << ", " << differing << " differing pixels; see "
                << out / (name + ".diff.png");
}

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

  // One frame as the game loop draws the world, with the panel set up as at a game's start and
  // an active enemy at screen x `enemyX` unless it is -1000.
  const Surface& DrawFrame(double scrollX, std::int16_t heroState, bool heroActive, bool endReached,
                           int enemyX) {
    GameState& g = f.v.game;
    g.Lives = 2;
    g.Score = 1400;
    DrawPanel(f.v);
    DrawScore(f.v);
    DrawLives(f.v);
    g.ScrollX = scrollX;
    g.EndReached = endReached;
    f.v.hero = Hero{
        .HeroState = heroState, .HeroY = kGroundLine, .HeroWidth = 22, .HeroActive = heroActive};
    const auto x = static_cast<std::int16_t>(enemyX);
    g.Enemies = {Enemy{.Active = enemyX > -1000, .Kind = kEnemy1Armoured, .X = x}, Enemy{},
                 Enemy{}};
    // Let the islands come up from the top of the screen first.
    for (int i = 0; i < 90; ++i) UpdateIslandsAndPits(f.v);
    DrawSkyStarsAndStartPiece(f.v);
    AdvanceAnimation(f.v.game);
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
  ExpectMatchesGolden(DrawFrame(8, kHero07StandLeft, true, false, -1000), "frame_start");
}

TEST_F(WorldGoldenTest, LavaIslandAndPitInTheAir) {
  ExpectMatchesGolden(DrawFrame(150, kHero02AirborneRight, true, false, 40),
                      "frame_lava_island_pit");
}

TEST_F(WorldGoldenTest, EndPieceInFrontOfTheHero) {
  ExpectMatchesGolden(DrawFrame(420, kHero15LandedRight, false, true, -1000), "frame_end_piece");
}

}  // namespace
}  // namespace zendor::testing
