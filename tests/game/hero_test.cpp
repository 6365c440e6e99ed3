// The hero under the player's keys: walking, turning, crouching, jumping off, attacking and
// firing, the key releases, the per-frame upkeep, the idle gesture and the pit's edge.
#include "game/hero.h"

#include <gtest/gtest.h>

#include "game/gameplay_fixture.h"

namespace zendor::testing {
namespace {

class HeroTest : public ::testing::Test, protected GameplayFixture {
 protected:
  Hero& h = v.hero;
  GameState& g = v.game;
};

TEST_F(HeroTest, TurningRoundMirrorsTheStride) {
  StandHero(7);
  h.Walking = true;
  h.HeroStep = 2;
  HeroKeyRight(v);
  EXPECT_EQ(h.HeroState, 3);
  EXPECT_EQ(h.HeroStep, 1);
  h.HeroStep = 0;
  HeroKeyLeft(v);
  EXPECT_EQ(h.HeroState, 7);
  EXPECT_EQ(h.HeroStep, 3);
}

TEST_F(HeroTest, CrouchingAndStandingUp) {
  StandHero(7);
  h.Walking = true;
  HeroKeyDown(v);
  EXPECT_EQ(h.HeroState, 6);
  EXPECT_EQ(h.HeroOffsetX, -8);
  EXPECT_EQ(h.HeroWidth, 30);
  EXPECT_EQ(h.HeroY, 64);
  EXPECT_FALSE(h.Walking);

  // The other direction turns him round without standing him up.
  HeroKeyRight(v);
  EXPECT_EQ(h.HeroState, 4);
  EXPECT_EQ(h.HeroOffsetX, 0);
  HeroKeyLeft(v);
  EXPECT_EQ(h.HeroState, 6);
  EXPECT_EQ(h.HeroOffsetX, -8);

  HeroKeyRelease(v, 40);
  EXPECT_EQ(h.HeroState, 7);
  EXPECT_EQ(h.HeroWidth, 22);
  EXPECT_EQ(h.HeroY, 55);
  EXPECT_EQ(h.HeroOffsetX, 0);
  EXPECT_TRUE(h.Walking);  // left is still held
}

TEST_F(HeroTest, ReleasingDownDuringAShotKeepsTheHeroDown) {
  HeroKeyDown(v);
  HeroKeyFire(v);
  ASSERT_EQ(h.HeroBusy, 1);
  HeroKeyRelease(v, 40);
  EXPECT_FALSE(h.DownHeld);
  EXPECT_EQ(h.HeroState, 4);
}

TEST_F(HeroTest, ReleasingOneDirectionWhileTheOtherIsHeldTurnsTheHero) {
  HeroKeyRight(v);
  h.LeftHeld = true;
  HeroKeyRelease(v, 39);
  EXPECT_EQ(h.HeroState, 7);
  EXPECT_TRUE(h.Walking);

  h.HeroState = 6;
  h.RightHeld = true;
  h.Walking = true;
  HeroKeyRelease(v, 37);
  EXPECT_EQ(h.HeroState, 4);
  EXPECT_FALSE(h.Walking);

  StandHero(3);
  h.Walking = true;
  HeroKeyRelease(v, 39);
  EXPECT_EQ(h.HeroState, 3);
  EXPECT_FALSE(h.Walking);
}

TEST_F(HeroTest, TheUpKeyTakesOffFacingEitherWayAndIsIgnoredInTheAir) {
  StandHero(7);
  HeroKeyUp(v);
  EXPECT_EQ(h.HeroState, 17);
  EXPECT_EQ(h.HeroOffsetX, -6);
  h.HeroState = 8;
  h.ApexLimitY = 40;
  HeroKeyUp(v);
  EXPECT_EQ(h.ApexLimitY, 40);
}

TEST_F(HeroTest, HoldingUpJumpsAgainOnLanding) {
  HeroKeyUp(v);
  int takeOffs = 0;
  for (int frame = 0; frame < 80; ++frame) {
    HeroUpkeep(v);
    if (h.HeroState == 13) ++takeOffs;
  }
  EXPECT_GE(takeOffs, 2);
}

TEST_F(HeroTest, FiringStandingAttacksAndCrouchingShoots) {
  HeroKeyFire(v);
  EXPECT_EQ(h.HeroState, 23);
  EXPECT_EQ(h.HeroY, 44);
  EXPECT_EQ(h.HeroWidth, 32);
  EXPECT_TRUE(h.HeroLocked);

  // Locked: movement and fire do nothing until the attack is over.
  HeroKeyLeft(v);
  HeroKeyUp(v);
  h.FireHeld = false;
  HeroKeyFire(v);
  EXPECT_EQ(h.HeroState, 23);
  EXPECT_FALSE(h.LeftHeld);

  StandHero(7);
  HeroKeyFire(v);
  EXPECT_EQ(h.HeroState, 27);
  EXPECT_EQ(h.HeroOffsetX, -10);

  StandHero(7);
  HeroKeyDown(v);
  HeroKeyFire(v);
  EXPECT_EQ(h.HeroBusy, 8);
  h.FireHeld = false;
  h.HeroBusy = 0;
  h.HeroState = 4;
  HeroKeyFire(v);
  EXPECT_EQ(h.HeroBusy, 1);

  // Held fire, or a shot under way, fires nothing more.
  h.HeroBusy = 3;
  h.FireHeld = false;
  HeroKeyFire(v);
  EXPECT_EQ(h.HeroBusy, 3);
}

TEST_F(HeroTest, AnAttackLastsSixFramesAndStrikesOnTheThird) {
  PlaceEnemy(1, 3, 130, 56);
  HeroKeyFire(v);
  for (int frame = 1; frame <= 2; ++frame) HeroUpkeep(v);
  EXPECT_TRUE(g.Enemies[1].Active);
  HeroUpkeep(v);
  EXPECT_FALSE(g.Enemies[1].Active);
  EXPECT_EQ(g.Score, 200);
  HeroUpkeep(v);
  HeroUpkeep(v);
  EXPECT_EQ(h.HeroState, 23);
  HeroUpkeep(v);
  EXPECT_EQ(h.HeroState, 3);
  EXPECT_EQ(h.HeroStep, 0);
  EXPECT_EQ(h.HeroY, 55);
  EXPECT_FALSE(h.HeroLocked);
  EXPECT_TRUE(h.FireHeld);
}

TEST_F(HeroTest, TheIdleGestureComesNowAndThenToAStandingHeroOnly) {
  const auto before = platform.random().state();
  h.HeroState = 4;
  IdleGesture(v);
  EXPECT_EQ(platform.random().state(), before);  // nothing drawn from the generator

  h.HeroState = 3;
  int gestures = 0, longGestures = 0;
  for (int i = 0; i < 4000; ++i) {
    h.HeroStep = 0;
    IdleGesture(v);
    if (h.HeroStep == 4) ++gestures;
    if (h.HeroStep == 8) ++longGestures;
  }
  EXPECT_NEAR(gestures + longGestures, 100, 35);
  EXPECT_NEAR(longGestures, 25, 18);
  EXPECT_GT(longGestures, 0);
}

TEST_F(HeroTest, AHeroWhollyOverAPitFallsIn) {
  v.level.PitCount = 1;
  v.level.PitX[1] = 600;
  v.level.PitWidth[1] = 40;
  auto fallsAt = [&](double scrollX) {
    StandHero(3);
    g.ScrollX = scrollX;
    PitFallTest(v, 1);
    return h.PitFall;
  };
  EXPECT_FALSE(fallsAt(494));
  EXPECT_TRUE(fallsAt(495));
  EXPECT_EQ(h.HeroState, 2);
  EXPECT_TRUE(h.JumpFalling);
  EXPECT_EQ(g.Indicador, "Caida");
  EXPECT_TRUE(fallsAt(513));
  EXPECT_FALSE(fallsAt(514));

  StandHero(7);
  g.ScrollX = 500;
  PitFallTest(v, 1);
  EXPECT_EQ(h.HeroState, 8);

  // Over the pit on an island he is safe; the frame after stepping off it he is not.
  StandHero(3);
  h.OnIsland = true;
  PitFallTest(v, 1);
  EXPECT_FALSE(h.PitFall);
  h.OnIsland = false;
  h.GroundY = 0;
  h.HeroY = 40;
  PitFallTest(v, 1);
  EXPECT_TRUE(h.PitFall);

  // High in a jump he passes over.
  StandHero(3);
  h.HeroY = 30;
  PitFallTest(v, 1);
  EXPECT_FALSE(h.PitFall);
}

}  // namespace
}  // namespace zendor::testing
