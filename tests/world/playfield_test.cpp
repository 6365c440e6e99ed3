#include "world/playfield.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/game_fixture.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

constexpr Pixel kPaint = Rgb(1, 2, 3);  // no test picture has this colour

class PlayfieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestArt(f);
    s.Fondo.resize(1400, 120);
    f.sound.LoadSoundsAndMusic(f.platform, true, false, folder.folder());
    f.v.game.Enemies.assign(3, Enemy{});
  }

  // Whether anything inside the rectangle differs from the paint.
  static bool Drawn(const Surface& surface, int x, int y, int w, int h) {
    for (int r = y; r < y + h; ++r)
      for (int c = x; c < x + w; ++c)
        if (surface.contains(c, r) && surface.at(c, r) != kPaint) return true;
    return false;
  }

  // The first and last scroll positions in [from, to] at which `drawn` holds, when they form
  // one run; otherwise all of them.
  template <typename Probe>
  std::vector<int> DrawnWhile(int from, int to, Probe drawn) {
    std::vector<int> hits;
    for (int scroll = from; scroll <= to; ++scroll) {
      s.Fondo.fill(kPaint);
      s.temp.fill(kPaint);
      f.v.game.ScrollX = scroll;
      if (drawn()) hits.push_back(scroll);
    }
    if (!hits.empty() && hits.back() - hits.front() + 1 == static_cast<int>(hits.size()))
      return {hits.front(), hits.back()};
    return hits;
  }

  std::vector<std::string> Sounds(double scrollX) {
    f.tracer.lines.clear();
    f.v.game.ScrollX = scrollX;
    UpdateAnimatedPieces(f.v);
    return f.tracer.lines;
  }

  ScratchFolder folder;
  GameFixture f;
  SpriteSheets& s = f.v.sheets;
  LevelTables& l = f.v.level;
  Hero& h = f.v.hero;
};

TEST_F(PlayfieldTest, StarsAreDrawnThreeTimesAroundTheDriftingViewAndWrap) {
  for (auto [scroll, drift, firstLeft] : {std::tuple{0.0, 0.0, -240}, std::tuple{0.0, -120.5, -361},
                                          std::tuple{300.0, -120.5, -61}}) {
    s.Fondo.fill(kPaint);
    f.v.game.ScrollX = scroll;
    f.v.game.StarDrift = drift;
    DrawStars(f.v);
    for (int x = 0; x < s.Fondo.width(); ++x) {
      const int col = x - firstLeft;
      for (int y : {0, 20, 49}) {
        const Pixel star =
            col < 720 ? (kPaint & s.Estrellas.at(col % 240, y + 50)) | s.Estrellas.at(col % 240, y)
                      : kPaint;
        ASSERT_EQ(s.Fondo.at(x, y), star) << drift << ": " << x << "," << y;
      }
    }
    EXPECT_FALSE(Drawn(s.Fondo, 0, 50, s.Fondo.width(), 70));
  }
  EXPECT_EQ(f.v.game.StarDrift, -120.5);
  f.v.game.StarDrift = -239.5;
  DrawStars(f.v);
  EXPECT_EQ(f.v.game.StarDrift, -239.5);
  f.v.game.StarDrift = -240;
  DrawStars(f.v);
  EXPECT_EQ(f.v.game.StarDrift, 0);
}

TEST_F(PlayfieldTest, SkyFollowsTheViewAndTheShipIsRepairedBelowScroll192) {
  EXPECT_EQ(DrawnWhile(150, 250,
                       [&] {
                         DrawSkyStarsAndStartPiece(f.v);
                         return Drawn(s.Fondo, 0, 60, 92, 60);
                       }),
            (std::vector<int>{150, 191}));
  EXPECT_EQ(s.Fondo.at(250, 87), s.Cielo.at(0, 87));
  EXPECT_EQ(s.Fondo.at(489, 60), s.Cielo.at(239, 60));
  EXPECT_EQ(s.Fondo.at(490, 60), kPaint);
  std::vector<int> frames;
  for (int i = 0; i < 7; ++i) {
    AdvanceAnimation(f.v);
    frames.push_back(static_cast<int>(f.v.game.AnimationFrame));
  }
  EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 1, 2, 3, 1}));
}

TEST_F(PlayfieldTest, LavaSoundsFromTheHerosSideWhileNearTheView) {
  l.AnimatedPieceCount = 1;
  l.AnimatedPieceX[1] = 1000;
  EXPECT_EQ(
      DrawnWhile(600, 1200, [&] { return Sounds(f.v.game.ScrollX).back() != "sound stop 31"; }),
      (std::vector<int>{697, 1135}));
  // 95 pixels right of the hero; the later of two pieces in view has the last word.
  EXPECT_EQ(Sounds(800), (std::vector<std::string>{"sound volume 31 -475", "sound pan 31 950",
                                                   "sound play 31 loop"}));
  EXPECT_TRUE(Drawn(s.Fondo, 1000, 80, 72, 25));
  l.AnimatedPieceCount = 2;
  l.AnimatedPieceX[2] = 900;
  EXPECT_EQ(Sounds(800)[3], "sound volume 31 -25");
  EXPECT_EQ(Sounds(800)[4], "sound pan 31 -50");
}

TEST_F(PlayfieldTest, LavaBurnsAHeroStandingWhollyOnItAndMakesHoppersJump) {
  l.AnimatedPieceCount = 1;
  l.AnimatedPieceX[1] = 1000;
  auto burnsAt = [&](int worldX, double heroY, bool active, bool caught) {
    h = Hero{.HeroState = 7, .HeroY = heroY, .HeroWidth = 23, .HeroStep = 2, .Walking = true};
    h.HeroActive = active;
    h.HeroCaught = caught;
    Sounds(worldX - kHeroScreenX);
    return h.HeroCaught && !caught;
  };
  EXPECT_TRUE(burnsAt(1000, 55, true, false));
  EXPECT_EQ(h.HeroState, 3);
  EXPECT_FALSE(h.HeroActive || h.Walking);
  EXPECT_EQ(h.HeroStep, 0);
  EXPECT_TRUE(burnsAt(1045, 60, true, false));
  EXPECT_FALSE(burnsAt(1046, 55, true, false));  // his right edge 1069 is past 1068
  EXPECT_FALSE(burnsAt(999, 55, true, false));
  EXPECT_FALSE(burnsAt(1020, 54, true, false));
  EXPECT_FALSE(burnsAt(1020, 55, false, false));
  EXPECT_FALSE(burnsAt(1020, 55, true, true));

  auto& e = f.v.game.Enemies;
  e[0] = Enemy{.Kind = 2, .X = 88};   // strip x 988
  e[1] = Enemy{.Kind = 2, .X = 153};  // 1053
  e[2] = Enemy{.Kind = 1, .X = 100};
  Sounds(900);
  EXPECT_EQ(std::vector({e[0].HopStep, e[1].HopStep, e[2].HopStep}),
            std::vector<std::int16_t>({1, 0, 0}));
  e[1].X = 152;
  e[0].HopStep = -1;
  Sounds(900);
  EXPECT_EQ(e[1].HopStep, 1);
  EXPECT_EQ(e[0].HopStep, -1);
}

TEST_F(PlayfieldTest, EveryPieceIsDrawnOnlyWhileInView) {
  l.TallPropCount = 1;
  l.TallPropX[1] = 500;
  auto backProps = [&](int x, int y, int w, int height) {
    return [=, this] {
      DrawBackProps(f.v);
      return Drawn(s.Fondo, x, y, w, height);
    };
  };
  EXPECT_EQ(DrawnWhile(200, 600, backProps(500, 48, 48, 57)), (std::vector<int>{261, 547}));
  l.TallPropCount = 0;

  l.EndPieceX = 1000;
  EXPECT_EQ(DrawnWhile(700, 1200, backProps(1000, 59, 112, 61)), (std::vector<int>{761, 1111}));
  auto inFront = [&] {
    DrawEndPieceInFront(f.v);
    return Drawn(s.temp, 0, 0, 256, 192);
  };
  EXPECT_EQ(DrawnWhile(700, 1200, inFront), (std::vector<int>{}));
  f.v.game.EndReached = true;
  EXPECT_EQ(DrawnWhile(700, 1200, backProps(1000, 59, 112, 61)), (std::vector<int>{}));
  EXPECT_EQ(DrawnWhile(700, 1200, inFront), (std::vector<int>{761, 1111}));

  l.PitCount = 1;
  l.PitX[1] = 300;
  l.PitWidth[1] = 100;
  auto pits = [&] {
    UpdateIslandsAndPits(f.v);
    return Drawn(s.temp, 0, 88, 256, 32);
  };
  EXPECT_EQ(DrawnWhile(0, 500, pits), (std::vector<int>{61, 399}));
  // The chasm's texture is fixed to the screen: at scroll 250 the pit's columns 50..149 show
  // the texture's columns 50..149.
  DrawnWhile(250, 250, pits);
  for (int x = 49; x <= 150; ++x) {
    EXPECT_EQ(s.temp.at(x, 100), x >= 50 && x < 150 ? s.Mapa[6].at(x, 12) : kPaint) << x;
  }
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

TEST_F(PlayfieldTest, IslandsSinkFromTheTopThenBobOnePixelAFrame) {
  std::vector<int> rows;
  for (int frame = 0; frame < 140; ++frame) {
    UpdateIslandsAndPits(f.v);
    rows.push_back(l.Island[1].Y);
  }
  EXPECT_EQ(rows[0], 1);
  EXPECT_EQ(rows[82], 83);
  EXPECT_EQ(rows[94], 71);
  for (std::size_t i = 83; i < rows.size(); ++i) {
    EXPECT_TRUE(rows[i] >= 71 && rows[i] <= 83 && std::abs(rows[i] - rows[i - 1]) == 1) << i;
  }
}

TEST_F(PlayfieldTest, TheHeroRidesTheIslandDrawnLast) {
  l.Island[0].X = 500;
  l.Island[1].Y = 79;  // rises to 80 and 81 in the next two frames
  h.CrouchDrop = 3;
  h.HeroState = 7;
  auto frameAt = [&](int scroll) {
    f.v.game.ScrollX = scroll;
    UpdateIslandsAndPits(f.v);
  };
  frameAt(374);
  EXPECT_EQ(h.GroundY, 55);
  frameAt(375);
  EXPECT_EQ(h.GroundY, 81 - 38);
  EXPECT_EQ(h.HeroY, 81 - 38 + 3);
  EXPECT_TRUE(h.OnIsland);
  // Taking off, in the air or falling: the island holds the ground but not the hero.
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
  // Walking off leaves the ground open for one frame, so that a pit below can catch him.
  h.JumpFalling = false;
  frameAt(419);
  EXPECT_EQ(h.GroundY, 0);
  EXPECT_FALSE(h.OnIsland);
  frameAt(420);
  EXPECT_EQ(h.GroundY, 55);
  frameAt(400);
  h.HeroState = 4;  // crouching off it keeps the ground
  frameAt(419);
  EXPECT_EQ(h.GroundY, 55);
}

}  // namespace
}  // namespace zendor::testing
