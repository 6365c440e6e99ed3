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
    s.Fondo.fill(kGround);
    f.v.game.Enemies.assign(3, Enemy{});
    f.v.hero.HeroActive = true;
    f.v.hero.HeroState = 7;
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

  GameFixture f;
  SpriteSheets& s = f.v.sheets;
};

TEST_F(ComposeTest, ViewIsCopiedFromTheStripAtTheScrollPosition) {
  for (int x = 0; x < 1000; ++x) s.Fondo.set(x, 10, Rgb(x % 256, x / 256, 9));
  f.v.game.ScrollX = 300;
  ComposeView(f.v);
  for (int x = 0; x < 240; ++x) ASSERT_EQ(s.temp.at(x, 10), s.Fondo.at(300 + x, 10));
}

TEST_F(ComposeTest, HerosShadowIsFainterInTheAirAndEnemiesKeepTheLastAlpha) {
  auto& enemies = f.v.game.Enemies;
  enemies[0] = Enemy{.Active = true, .X = 50};
  f.v.hero.HeroActive = false;
  ComposeView(f.v);  // before any hero shadow the alpha is 0: the oval is refilled unshaded
  EXPECT_EQ(f.v.game.ShadowAlpha, 0);
  ExpectShadowAt(50, 0);
  f.v.hero.HeroActive = true;
  ComposeView(f.v);
  EXPECT_EQ(f.v.game.ShadowAlpha, 48);
  ExpectShadowAt(105, 48);
  ExpectShadowAt(50, 48);
  for (std::int16_t airborne : {2, 8}) {
    f.v.hero.HeroState = airborne;
    ComposeView(f.v);
    ExpectShadowAt(105, 32);
  }
  enemies[0].X = 200;
  enemies[1] = Enemy{.Active = true, .X = 30};
  enemies[2] = Enemy{.X = 160};  // inactive: no shadow
  f.v.hero.HeroActive = false;
  f.v.hero.HeroState = 7;
  ComposeView(f.v);
  EXPECT_FALSE(ShadowAt(105));
  EXPECT_FALSE(ShadowAt(160));
  ExpectShadowAt(30, 32);
  ExpectShadowAt(200, 32);
  f.v.game.EndReached = true;  // once he has entered the end piece his shadow shows again
  ComposeView(f.v);
  ExpectShadowAt(105, 48);
}

TEST_F(ComposeTest, PlayfieldLandsAtTheDisplayOffsetAndScale) {
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 241; ++x) s.temp.set(x, y, Rgb(x, y, 77));
  Window& w = f.platform.window();
  for (int scale : {1, 3}) {
    f.settings.DisplayScale = static_cast<std::int16_t>(scale);
    w.setClientSize(320 * scale, 200 * scale);
    w.clear();
    const auto before = w.screenVersion();
    PresentPlayfield(f.v);
    EXPECT_GT(w.screenVersion(), before);
    const int left = (32 + 8) * scale, top = (4 + 8) * scale;
    Surface expected(320 * scale, 200 * scale);
    for (int y = 0; y < 120 * scale; ++y)
      for (int x = 0; x < 240 * scale; ++x)
        expected.set(left + x, top + y, s.temp.at(x / scale, y / scale));
    EXPECT_EQ(w.screen(), expected) << "scale " << scale;
  }
}

}  // namespace
}  // namespace zendor::testing
