#include "world/playfield.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/blit.h"
#include "support/game_fixture.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

constexpr Pixel kPaint = Rgb(1, 2, 3);  // a colour no test picture uses

class PlayfieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestArt(f);
    s.Fondo.resize(1400, 120);
    s.Fondo.fill(kPaint);
    f.sound.LoadSoundsAndMusic(f.platform, true, false, folder.folder());
    f.v.game.Enemies.assign(3, Enemy{});
    f.v.game.EnemySlotBusy.assign(3, false);
  }

  // Whether anything inside the rectangle differs from the paint.
  static bool Drawn(const Surface& surface, int x, int y, int w, int h) {
    for (int r = y; r < y + h; ++r)
      for (int c = x; c < x + w; ++c)
        if (surface.contains(c, r) && surface.at(c, r) != kPaint) return true;
    return false;
  }

  // The scroll positions in [from, to] at which `drawsAt` reports a drawing: the first and the
  // last when they form one run, else every one of them.
  template <typename Probe>
  std::vector<int> DrawnWhile(int from, int to, Probe drawsAt) {
    std::vector<int> hits;
    for (int scroll = from; scroll <= to; ++scroll) {
      s.Fondo.fill(kPaint);
      s.temp.fill(kPaint);
      f.v.game.ScrollX = scroll;
      if (drawsAt()) hits.push_back(scroll);
    }
    const bool oneRun =
        !hits.empty() && hits.back() - hits.front() + 1 == static_cast<int>(hits.size());
    return oneRun ? std::vector<int>{hits.front(), hits.back()} : hits;
  }

  std::vector<std::string> SoundLines() const {
    std::vector<std::string> lines;
    for (const auto& line : f.tracer.lines)
      if (line.starts_with("sound")) lines.push_back(line);
    return lines;
  }

  ScratchFolder folder;
  GameFixture f;
  SpriteSheets& s = f.v.sheets;
  LevelTables& l = f.v.level;
  Hero& h = f.v.hero;
};

// Expected strip pixel where the star layer's column `col` was drawn masked over the paint.
Pixel StarOver(const Surface& stars, int col, int row) {
  return (kPaint & stars.at(col, row + 50)) | stars.at(col, row);
}

TEST_F(PlayfieldTest, StarsAreDrawnThreeTimesAroundTheDriftingView) {
  struct Case {
    double scroll, drift;
    int firstLeft;
  };
  for (const Case c : {Case{0, 0, -240}, Case{0, -120.5, -361}, Case{300, -120.5, -61}}) {
    s.Fondo.fill(kPaint);
    f.v.game.ScrollX = c.scroll;
    f.v.game.StarDrift = c.drift;
    DrawStars(f.v);
    for (int x = 0; x < s.Fondo.width(); ++x) {
      const int offset = x - c.firstLeft;
      for (int y : {0, 20, 49}) {
        const Pixel expected = offset < 720 ? StarOver(s.Estrellas, offset % 240, y) : kPaint;
        ASSERT_EQ(s.Fondo.at(x, y), expected) << "drift " << c.drift << " x " << x << " y " << y;
      }
    }
    EXPECT_FALSE(Drawn(s.Fondo, 0, 50, s.Fondo.width(), 70));
  }
}

TEST_F(PlayfieldTest, StarDriftWrapsOnceAFullViewHasPassed) {
  f.v.game.StarDrift = -239.5;
  DrawStars(f.v);
  EXPECT_EQ(f.v.game.StarDrift, -239.5);
  f.v.game.StarDrift = -240;
  DrawStars(f.v);
  EXPECT_EQ(f.v.game.StarDrift, 0);
}

TEST_F(PlayfieldTest, SkyFollowsTheViewAndTheShipIsRepairedUntilScroll192) {
  EXPECT_EQ(DrawnWhile(150, 250,
                       [&] {
                         DrawSkyStarsAndStartPiece(f.v);
                         return Drawn(s.Fondo, 0, 60, 92, 60);
                       }),
            (std::vector<int>{150, 191}));
  f.v.game.ScrollX = 500;
  DrawSkyStarsAndStartPiece(f.v);
  EXPECT_EQ(s.Fondo.at(500, 87), s.Cielo.at(0, 87));
  EXPECT_EQ(s.Fondo.at(739, 60), s.Cielo.at(239, 60));
  EXPECT_EQ(s.Fondo.at(740, 60), kPaint);
  EXPECT_EQ(s.Fondo.at(600, 88), kPaint);
}

TEST_F(PlayfieldTest, AnimationCyclesThroughFramesOneToThree) {
  std::vector<int> frames;
  for (int i = 0; i < 7; ++i) {
    AdvanceAnimation(f.v);
    frames.push_back(static_cast<int>(f.v.game.AnimationFrame));
  }
  EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 1, 2, 3, 1}));
}

TEST_F(PlayfieldTest, LavaSoundsWhileOnScreenOrNearIt) {
  l.AnimatedPieceCount = 1;
  l.AnimatedPieceX[1] = 1000;
  h.HeroActive = false;
  EXPECT_EQ(DrawnWhile(600, 1200,
                       [&] {
                         f.tracer.lines.clear();
                         UpdateAnimatedPieces(f.v);
                         return SoundLines().back() == "sound play 31 loop";
                       }),
            (std::vector<int>{697, 1135}));
  f.tracer.lines.clear();
  f.v.game.ScrollX = 800;  // the lava is 95 pixels right of the hero
  UpdateAnimatedPieces(f.v);
  EXPECT_EQ(SoundLines(), (std::vector<std::string>{"sound volume 31 -475", "sound pan 31 950",
                                                    "sound play 31 loop"}));
  EXPECT_TRUE(Drawn(s.Fondo, 1000, 80, 72, 25));
  f.tracer.lines.clear();
  f.v.game.ScrollX = 1136;
  UpdateAnimatedPieces(f.v);
  EXPECT_EQ(SoundLines(), (std::vector<std::string>{"sound stop 31"}));
}

TEST_F(PlayfieldTest, TheLaterOfTwoVisiblePiecesSetsTheSound) {
  l.AnimatedPieceCount = 2;
  l.AnimatedPieceX[1] = 1000;
  l.AnimatedPieceX[2] = 1100;
  f.v.game.ScrollX = 900;
  UpdateAnimatedPieces(f.v);
  const auto lines = SoundLines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[3], "sound volume 31 -475");
  EXPECT_EQ(lines[4], "sound pan 31 950");
}

TEST_F(PlayfieldTest, LavaBurnsAHeroStandingWhollyOnIt) {
  l.AnimatedPieceCount = 1;
  l.AnimatedPieceX[1] = 1000;
  auto burnsAt = [&](int heroWorldX, double heroY, bool active, bool caught) {
    h = Hero{};
    h.HeroWidth = 23;
    h.HeroY = heroY;
    h.HeroActive = active;
    h.HeroCaught = caught;
    h.HeroState = 7;
    h.Walking = true;
    h.HeroStep = 2;
    f.v.game.ScrollX = heroWorldX - kHeroScreenX;
    UpdateAnimatedPieces(f.v);
    return h.HeroCaught && !caught;
  };
  EXPECT_TRUE(burnsAt(1000, 55, true, false));
  EXPECT_EQ(h.HeroState, 3);
  EXPECT_FALSE(h.HeroActive);
  EXPECT_FALSE(h.Walking);
  EXPECT_EQ(h.HeroStep, 0);
  EXPECT_TRUE(burnsAt(1045, 60, true, false));
  EXPECT_FALSE(burnsAt(1046, 55, true, false));  // his right edge 1069 is past 1068
  EXPECT_FALSE(burnsAt(999, 55, true, false));
  EXPECT_FALSE(burnsAt(1020, 54, true, false));  // above it
  EXPECT_FALSE(burnsAt(1020, 55, false, false));
  EXPECT_FALSE(burnsAt(1020, 55, true, true));
}

TEST_F(PlayfieldTest, HoppersNearTheLavaStartTheirHop) {
  l.AnimatedPieceCount = 1;
  l.AnimatedPieceX[1] = 1000;
  f.v.game.ScrollX = 900;
  auto& e = f.v.game.Enemies;
  e[0] = Enemy{.Kind = 2, .X = 88};   // strip x 988
  e[1] = Enemy{.Kind = 2, .X = 153};  // 1053
  e[2] = Enemy{.Kind = 1, .X = 100};
  UpdateAnimatedPieces(f.v);
  EXPECT_EQ(e[0].HopStep, 1);
  EXPECT_EQ(e[1].HopStep, 0);
  EXPECT_EQ(e[2].HopStep, 0);
  e[1].X = 152;
  e[0].HopStep = -1;
  UpdateAnimatedPieces(f.v);
  EXPECT_EQ(e[1].HopStep, 1);
  EXPECT_EQ(e[0].HopStep, -1);
}

TEST_F(PlayfieldTest, EveryPieceIsDrawnOnlyWhileInView) {
  l.TallPropCount = 1;
  l.TallPropX[1] = 500;
  EXPECT_EQ(DrawnWhile(200, 600,
                       [&] {
                         DrawBackProps(f.v);
                         return Drawn(s.Fondo, 500, 48, 48, 57);
                       }),
            (std::vector<int>{261, 547}));
  l.TallPropCount = 0;

  l.EndPieceX = 1000;
  auto endPieceBehind = [&] {
    DrawBackProps(f.v);
    return Drawn(s.Fondo, 1000, 59, 112, 61);
  };
  EXPECT_EQ(DrawnWhile(700, 1200, endPieceBehind), (std::vector<int>{761, 1111}));
  f.v.game.EndReached = true;
  EXPECT_EQ(DrawnWhile(700, 1200, endPieceBehind), (std::vector<int>{}));
  EXPECT_EQ(DrawnWhile(700, 1200,
                       [&] {
                         DrawEndPieceInFront(f.v);
                         return Drawn(s.temp, 0, 59, 256, 61);
                       }),
            (std::vector<int>{761, 1111}));
  f.v.game.EndReached = false;
  EXPECT_EQ(DrawnWhile(700, 1200,
                       [&] {
                         DrawEndPieceInFront(f.v);
                         return Drawn(s.temp, 0, 0, 256, 192);
                       }),
            (std::vector<int>{}));

  l.PitCount = 1;
  l.PitX[1] = 300;
  l.PitWidth[1] = 100;
  EXPECT_EQ(DrawnWhile(0, 500,
                       [&] {
                         UpdateIslandsAndPits(f.v);
                         return Drawn(s.temp, 0, 88, 256, 32);
                       }),
            (std::vector<int>{61, 399}));
  l.PitCount = 0;

  l.IslandCount = 1;
  l.Island[1].X = 500;
  EXPECT_EQ(DrawnWhile(200, 600,
                       [&] {
                         l.Island[0].X = 0;
                         UpdateIslandsAndPits(f.v);
                         return l.Island[0].X == 500;
                       }),
            (std::vector<int>{261, 522}));
}

TEST_F(PlayfieldTest, PitTextureIsFixedToTheScreen) {
  l.PitCount = 1;
  l.PitX[1] = 300;
  l.PitWidth[1] = 100;
  f.v.game.ScrollX = 250;  // the pit's screen columns are 50..149
  s.temp.fill(kPaint);
  UpdateIslandsAndPits(f.v);
  for (int x = 50; x < 150; ++x)
    for (int y = 0; y < 32; ++y) ASSERT_EQ(s.temp.at(x, 88 + y), s.Mapa[6].at(x, y));
  EXPECT_EQ(s.temp.at(49, 100), kPaint);
  EXPECT_EQ(s.temp.at(150, 100), kPaint);
}

TEST_F(PlayfieldTest, IslandsSinkFromTheTopThenBobOnePixelAFrame) {
  IslandRecord& shared = l.Island[1];
  std::vector<int> rows;
  for (int frame = 0; frame < 140; ++frame) {
    UpdateIslandsAndPits(f.v);
    rows.push_back(shared.Y);
  }
  EXPECT_EQ(rows[0], 1);
  EXPECT_EQ(rows[82], 83);
  EXPECT_EQ(rows[83], 82);
  EXPECT_EQ(rows[94], 71);
  EXPECT_EQ(rows[95], 72);
  for (std::size_t i = 83; i < rows.size(); ++i) {
    EXPECT_GE(rows[i], 71);
    EXPECT_LE(rows[i], 83);
    EXPECT_EQ(std::abs(rows[i] - rows[i - 1]), 1) << i;
  }
}

TEST_F(PlayfieldTest, TheHeroRidesTheIslandDrawnLast) {
  l.Island[0].X = 500;
  l.Island[1].Y = 79;  // 80 after this frame's bob
  h.CrouchDrop = 3;
  h.HeroState = 7;
  auto frameAt = [&](int scroll) {
    f.v.game.ScrollX = scroll;
    UpdateIslandsAndPits(f.v);
  };
  frameAt(374);
  EXPECT_EQ(h.GroundY, 55);
  EXPECT_FALSE(h.OnIsland);
  frameAt(375);
  EXPECT_EQ(h.GroundY, 81 - 38);
  EXPECT_EQ(h.HeroY, 81 - 38 + 3);
  EXPECT_TRUE(h.OnIsland);
  // Taking off or falling: the island holds the ground but not the hero.
  for (std::int16_t state : {13, 17, 2, 8}) {
    h.HeroState = state;
    h.HeroY = 10;
    frameAt(400);
    EXPECT_EQ(h.HeroY, 10) << state;
  }
  h.HeroState = 7;
  h.JumpFalling = true;
  frameAt(418);
  EXPECT_EQ(h.HeroY, 10);
  EXPECT_TRUE(h.OnIsland);
  // Walking off leaves the ground open for one frame, so that a pit below can catch him.
  h.JumpFalling = false;
  frameAt(419);
  EXPECT_EQ(h.GroundY, 0);
  EXPECT_FALSE(h.OnIsland);
  frameAt(420);
  EXPECT_EQ(h.GroundY, 55);
  // A crouching hero stepping off keeps the ground.
  frameAt(400);
  h.HeroState = 4;
  frameAt(419);
  EXPECT_EQ(h.GroundY, 55);
}

}  // namespace
}  // namespace zendor::testing
