#include "game/compose.h"

#include <gtest/gtest.h>

#include "platform/blit.h"
#include "support/game_fixture.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

constexpr Pixel kGround = Rgb(200, 120, 40);

class ComposeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestArt(f);
    s.Fondo.resize(1000, 120);
    s.Fondo.fill(kGround);
    f.v.game.Enemies.assign(3, Enemy{});
    f.v.game.EnemySlotBusy.assign(3, false);
    f.v.hero.HeroActive = true;
    f.v.hero.HeroState = 7;
  }

  // The scene under a shadow blended with the shadow colour at `alpha`, rounded.
  Pixel Shaded(std::uint8_t alpha) const {
    Surface under(1, 1, kGround);
    AlphaBlend(under, 0, 0, 1, 1, s.sombra, 0, 0, alpha);
    return under.at(0, 0);
  }

  // Every pixel of the 24 x 8 block at (x, 91) of temp: the shaded ground inside the oval of the
  // shadow's mask, the bare ground outside it.
  void ExpectShadowAt(int x, std::uint8_t alpha) const {
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 24; ++c) {
        const bool inside = s.sombra.at(c, 8 + r) == kBlack;
        ASSERT_EQ(s.temp.at(x + c, 91 + r), inside ? Shaded(alpha) : kGround)
            << "column " << c << " row " << r;
      }
  }

  bool ShadowAt(int x) const { return s.temp.at(x + 12, 95) != kGround; }

  GameFixture f;
  SpriteSheets& s = f.v.sheets;
};

TEST_F(ComposeTest, ViewIsCopiedFromTheStripAtTheScrollPosition) {
  for (int x = 0; x < 1000; ++x) s.Fondo.set(x, 10, Rgb(x % 256, x / 256, 9));
  f.v.hero.HeroActive = false;
  f.v.game.ScrollX = 300;
  ComposeView(f.v);
  for (int x = 0; x < 240; ++x) ASSERT_EQ(s.temp.at(x, 10), s.Fondo.at(300 + x, 10));
}

TEST_F(ComposeTest, HerosShadowIsFainterInTheAir) {
  EXPECT_EQ(f.v.game.ShadowAlpha, 0);
  ComposeView(f.v);
  EXPECT_EQ(f.v.game.ShadowAlpha, 48);
  ExpectShadowAt(105, 48);
  for (std::int16_t airborne : {2, 8}) {
    f.v.hero.HeroState = airborne;
    ComposeView(f.v);
    EXPECT_EQ(f.v.game.ShadowAlpha, 32);
    ExpectShadowAt(105, 32);
  }
}

TEST_F(ComposeTest, EnemyShadowsUseTheLastAlphaEvenWithoutTheHero) {
  auto& enemies = f.v.game.Enemies;
  enemies[1].Active = true;
  enemies[1].X = 30;
  enemies[2].X = 160;  // inactive: no shadow
  f.v.hero.HeroState = 2;
  ComposeView(f.v);
  ExpectShadowAt(30, 32);
  EXPECT_FALSE(ShadowAt(160));

  f.v.hero.HeroActive = false;
  f.v.hero.HeroState = 7;
  ComposeView(f.v);
  EXPECT_FALSE(ShadowAt(105));
  EXPECT_EQ(f.v.game.ShadowAlpha, 32);
  ExpectShadowAt(30, 32);

  // Once he has entered the end piece his shadow shows again.
  f.v.game.EndReached = true;
  ComposeView(f.v);
  ExpectShadowAt(105, 48);
}

TEST_F(ComposeTest, NoShadowAtAllBeforeTheFirstHeroShadowIsBlendedAtAlphaZero) {
  f.v.hero.HeroActive = false;
  f.v.game.Enemies[0].Active = true;
  f.v.game.Enemies[0].X = 50;
  ComposeView(f.v);
  ExpectShadowAt(50, 0);  // the shape is cut and refilled with the unshaded ground
}

TEST_F(ComposeTest, PlayfieldLandsAtTheDisplayOffsetAndScale) {
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 240; ++x) s.temp.set(x, y, Rgb(x, y, 77));
  s.temp.set(240, 0, kWhite);  // beyond the playfield: never shown
  Window& w = f.platform.window();
  for (int scale : {1, 3}) {
    f.settings.DisplayScale = static_cast<std::int16_t>(scale);
    w.setClientSize(320 * scale, 200 * scale);
    w.clear();
    const auto before = w.screenVersion();
    PresentPlayfield(f.v);
    EXPECT_GT(w.screenVersion(), before);
    const Surface& screen = w.screen();
    const int left = (32 + 8) * scale, top = (4 + 8) * scale;
    for (int y = 0; y < 120 * scale; ++y)
      for (int x = 0; x < 240 * scale; ++x)
        ASSERT_EQ(screen.at(left + x, top + y), s.temp.at(x / scale, y / scale))
            << "scale " << scale;
    EXPECT_EQ(screen.at(left - 1, top), kBlack);
    EXPECT_EQ(screen.at(left + 240 * scale, top), kBlack);
    EXPECT_EQ(screen.at(left, top + 120 * scale), kBlack);
  }
}

}  // namespace
}  // namespace zendor::testing
