// The scrolling world: stars, the ship's repair, the lava, the pieces that are drawn only while
// in view, and the hero's footing on an island; then what a frame puts on the window beyond the
// golden frames (which show the sky under the view, the chasm's screen-fixed texture, the
// shadows at both strengths, the panel with its padded score and two lives at scale 1): the
// shadow's alpha rules, a scaled playfield, and the lives drawn over a panel that survives
// repaints. The islands' bob (rows 1 to 83 at the start, then 71 to 83 and back) and the
// animation's cycle are in every game scenario's trace; the lava's volume and pan in
// sound_lava_distance.
#include "world/playfield.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "game/compose.h"
#include "game/panel.h"
#include "platform/blit.h"
#include "support/game_fixture.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

constexpr Pixel kPaint = Rgb(1, 2, 3);  // no test picture has this colour
using Scrolls = std::vector<int>;

struct Rect {
  int x, y, w, h;
};

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
  Scrolls DrawnWhile(int from, int to, Probe drawn) {
    Scrolls hits;
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
  // ... at which `draw` paints inside `r` of `surface`.
  Scrolls DrawnWhile(int from, int to, void (*draw)(Ventana&), const Surface& surface, Rect r) {
    return DrawnWhile(from, to, [&] {
      draw(f.v);
      return Drawn(surface, r.x, r.y, r.w, r.h);
    });
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
  for (auto [drift, after] :
       {std::pair{-120.5, -120.5}, std::pair{-239.5, -239.5}, std::pair{-240.0, 0.0}}) {
    f.v.game.StarDrift = drift;
    DrawStars(f.v);
    EXPECT_EQ(f.v.game.StarDrift, after);
  }
}

TEST_F(PlayfieldTest, TheShipIsRepairedBelowScroll192) {
  EXPECT_EQ(DrawnWhile(150, 250, DrawSkyStarsAndStartPiece, s.Fondo, {0, 60, 92, 60}),
            Scrolls({150, 191}));
}

TEST_F(PlayfieldTest, LavaSoundsWhileNearTheViewAndTheLaterOfTwoPiecesHasTheLastWord) {
  l.AnimatedPieceCount = 1;
  l.AnimatedPieceX[1] = 1000;
  EXPECT_EQ(
      DrawnWhile(600, 1200, [&] { return Sounds(f.v.game.ScrollX).back() != "sound stop 31"; }),
      Scrolls({697, 1135}));
  l.AnimatedPieceCount = 2;
  l.AnimatedPieceX[2] = 900;
  EXPECT_EQ(Sounds(800)[3], "sound volume 31 -25");
  EXPECT_EQ(Sounds(800)[4], "sound pan 31 -50");
}

TEST_F(PlayfieldTest, LavaBurnsAHeroStandingWhollyOnItAndMakesHoppersJump) {
  l.AnimatedPieceCount = 1;
  l.AnimatedPieceX[1] = 1000;
  auto burnsAt = [&](int worldX, double heroY, bool active, bool caught) {
    h = Hero{.HeroState = kHero07StandLeft,
             .HeroY = heroY,
             .HeroWidth = 23,
             .HeroStep = 2,
             .Walking = true};
    h.HeroActive = active;
    h.HeroCaught = caught;
    Sounds(worldX - kHeroScreenX);
    return h.HeroCaught && !caught;
  };
  EXPECT_TRUE(burnsAt(1000, kGroundLine, true, false));
  EXPECT_EQ(std::tuple(h.HeroState, h.HeroActive, h.Walking, h.HeroStep),
            std::tuple(3, false, false, 0.0));
  EXPECT_TRUE(burnsAt(1045, 60, true, false));
  EXPECT_FALSE(burnsAt(1046, kGroundLine, true, false));  // his right edge 1069 is past 1068
  EXPECT_FALSE(burnsAt(999, kGroundLine, true, false));
  EXPECT_FALSE(burnsAt(1020, kGroundLine - 1, true, false));
  EXPECT_FALSE(burnsAt(1020, kGroundLine, false, false));
  EXPECT_FALSE(burnsAt(1020, kGroundLine, true, true));

  auto& e = f.v.game.Enemies;
  e[0] = Enemy{.Kind = kEnemy2Hopper, .X = 88};   // strip x 988
  e[1] = Enemy{.Kind = kEnemy2Hopper, .X = 153};  // 1053
  e[2] = Enemy{.Kind = kEnemy1Armoured, .X = 100};
  Sounds(900);
  EXPECT_EQ(std::vector({e[0].HopStep, e[1].HopStep, e[2].HopStep}),
            std::vector<std::int16_t>({1, 0, 0}));
  e[1].X = 152;
  e[0].HopStep = -1;
  Sounds(900);
  EXPECT_EQ(std::tuple(e[0].HopStep, e[1].HopStep), std::tuple(-1, 1));
}

TEST_F(PlayfieldTest, EveryPieceIsDrawnOnlyWhileInView) {
  l.TallPropCount = 1;
  l.TallPropX[1] = 500;
  EXPECT_EQ(DrawnWhile(200, 600, DrawBackProps, s.Fondo, {500, 48, 48, 57}), Scrolls({261, 547}));
  l.TallPropCount = 0;

  l.EndPieceX = 1000;
  const Rect endPiece{1000, 59, 112, 61}, frame{0, 0, 256, 192};
  EXPECT_EQ(DrawnWhile(700, 1200, DrawBackProps, s.Fondo, endPiece), Scrolls({761, 1111}));
  EXPECT_EQ(DrawnWhile(700, 1200, DrawEndPieceInFront, s.temp, frame), Scrolls{});
  f.v.game.EndReached = true;
  EXPECT_EQ(DrawnWhile(700, 1200, DrawBackProps, s.Fondo, endPiece), Scrolls{});
  EXPECT_EQ(DrawnWhile(700, 1200, DrawEndPieceInFront, s.temp, frame), Scrolls({761, 1111}));

  l.PitCount = 1;
  l.PitX[1] = 300;
  l.PitWidth[1] = 100;
  EXPECT_EQ(DrawnWhile(0, 500, UpdateIslandsAndPits, s.temp, {0, 88, 256, 32}), Scrolls({61, 399}));
  l.PitCount = 0;

  l.IslandCount = 1;
  l.Island[1].X = 500;
  EXPECT_EQ(DrawnWhile(200, 600,
                       [&] {
                         l.Island[0].X = 0;
                         UpdateIslandsAndPits(f.v);
                         return l.Island[0].X == 500;
                       }),
            Scrolls({261, 522}));
}

TEST_F(PlayfieldTest, TheHeroRidesTheIslandDrawnLast) {
  l.Island[0].X = 500;
  l.Island[1].Y = 79;  // rises to 80 and 81 in the next two frames
  h.CrouchDrop = 3;
  h.HeroState = kHero07StandLeft;
  auto frameAt = [&](int scroll) {
    f.v.game.ScrollX = scroll;
    UpdateIslandsAndPits(f.v);
  };
  frameAt(374);
  EXPECT_EQ(h.GroundY, kGroundLine);
  frameAt(375);
  EXPECT_EQ(std::tuple(h.GroundY, h.HeroY, h.OnIsland), std::tuple(81 - 38, 81 - 38 + 3, true));
  // Taking off, in the air or falling: the island holds the ground but not the hero.
  for (std::int16_t state : {kHero13TakeOffRight, kHero17TakeOffLeft, kHero02AirborneRight,
                             kHero08AirborneLeft, kHero07StandLeft}) {
    h.HeroState = state;
    h.JumpFalling = state == kHero07StandLeft;
    h.HeroY = 10;
    frameAt(state == kHero07StandLeft ? 418 : 400);
    EXPECT_EQ(h.HeroY, 10) << state;
  }
  // Walking off leaves the ground open for one frame, so that a pit below can catch him.
  h.JumpFalling = false;
  frameAt(419);
  EXPECT_EQ(std::tuple(h.GroundY, h.OnIsland), std::tuple(0, false));
  frameAt(420);
  EXPECT_EQ(h.GroundY, kGroundLine);
  frameAt(400);
  h.HeroState = kHero04CrouchRight;  // crouching off it keeps the ground
  frameAt(419);
  EXPECT_EQ(h.GroundY, kGroundLine);
}

constexpr Pixel kGround = Rgb(200, 120, 40);

class ComposeTest : public PlayfieldTest {
 protected:
  void SetUp() override {
    PlayfieldTest::SetUp();
    s.Fondo.fill(kGround);
    h = Hero{.HeroState = kHero07StandLeft, .HeroActive = true};
    f.platform.window().setClientSize(320, 200);
  }

  // The 24 x 8 block at (x, 91) of temp: the ground blended with the shadow colour at `alpha`
  // inside the shadow's oval, the bare ground outside it.
  void ExpectShadowAt(int x, std::uint8_t alpha) {
    Surface shaded(1, 1, kGround);
    AlphaBlend(shaded, 0, 0, 1, 1, s.sombra, 0, 0, alpha);
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 24; ++c)
        ASSERT_EQ(s.temp.at(x + c, 91 + r),
                  s.sombra.at(c, 8 + r) == kBlack ? shaded.at(0, 0) : kGround)
            << x + c << "," << 91 + r;
  }
  bool ShadowAt(int x) const { return s.temp.at(x + 12, 95) != kGround; }
};

TEST_F(ComposeTest, HerosShadowIsFainterInTheAirAndEnemiesKeepTheLastAlpha) {
  auto& enemies = f.v.game.Enemies;
  enemies[0] = Enemy{.Active = true, .X = 50};
  h.HeroActive = false;
  ComposeView(f.v);  // before any hero shadow the alpha is 0: the oval is refilled unshaded
  EXPECT_EQ(f.v.game.ShadowAlpha, 0);
  ExpectShadowAt(50, 0);
  h.HeroActive = true;
  ComposeView(f.v);
  EXPECT_EQ(f.v.game.ShadowAlpha, 48);
  ExpectShadowAt(105, 48);
  ExpectShadowAt(50, 48);
  for (std::int16_t airborne : {kHero02AirborneRight, kHero08AirborneLeft}) {
    h.HeroState = airborne;
    ComposeView(f.v);
    ExpectShadowAt(105, 32);
  }
  enemies[0].X = 200;
  enemies[1] = Enemy{.Active = true, .X = 30};
  enemies[2] = Enemy{.X = 160};  // inactive: no shadow
  h.HeroActive = false;
  h.HeroState = kHero07StandLeft;
  ComposeView(f.v);
  EXPECT_FALSE(ShadowAt(105) || ShadowAt(160));
  ExpectShadowAt(30, 32);
  ExpectShadowAt(200, 32);
}

TEST_F(ComposeTest, PlayfieldLandsAtTheDisplayOffsetAndScale) {
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 241; ++x) s.temp.set(x, y, Rgb(x, y, 77));
  Window& w = f.platform.window();
  f.settings.DisplayScale = 3;  // scale 1 is in the golden frames
  w.setClientSize(960, 600);
  w.clear();
  const auto before = w.screenVersion();
  PresentPlayfield(f.v);
  EXPECT_GT(w.screenVersion(), before);
  Surface expected(960, 600);
  for (int y = 0; y < 360; ++y)
    for (int x = 0; x < 720; ++x) expected.set(120 + x, 36 + y, s.temp.at(x / 3, y / 3));
  EXPECT_EQ(w.screen(), expected);
}

TEST_F(ComposeTest, PanelStaysThroughRepaintsWhileLivesAreDrawnOnTheScreen) {
  Window& w = f.platform.window();
  DrawPanel(f.v);
  EXPECT_FALSE(w.persistentMode());
  const Surface& panel = f.v.sheets.Panel;
  for (const Surface* image : {&w.persistentImage(), &w.screen()})
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 240; ++x) ASSERT_EQ(image->at(40 + x, 132 + y), panel.at(x, y));
  for (std::int16_t lives : {2, 1, 0}) {
    f.v.game.Lives = lives;
    DrawLives(f.v);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 10; ++x)
        ASSERT_EQ(w.screen().at(91 + x, 156 + y), f.v.sheets.Vidas_IMG.at(10 * lives + x, y));
  }
  w.repaint();
  EXPECT_EQ(w.screen().at(91, 156), panel.at(51, 24));
}

}  // namespace
}  // namespace zendor::testing
