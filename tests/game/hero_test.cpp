// The hero under the player's keys (turning, crouching, jumping off, attacking and firing, the
// key releases, a held jump key), the pit's edge, and the hero in the air: the hang at the apex
// of a low jump and in hover mode, and the travel that carries him. The attack's six frames, the
// jump's profile, the landing on an island, the fall into a pit and the idle gesture's timing
// are proven by the game_zone_kills, game_jumps, game_island, game_pit_rewind and
// game_flyer_ground scenarios.
#include "game/hero.h"

#include <gtest/gtest.h>

#include <tuple>

#include "game/gameplay_fixture.h"
#include "world/jump.h"

namespace zendor::testing {
namespace {

using Pose = std::tuple<int, int, int, double>;  // state, x offset, width, HeroY

class HeroTest : public ::testing::Test, protected GameplayFixture {
 protected:
  Pose Now() const { return {h.HeroState, h.HeroOffsetX, h.HeroWidth, h.HeroY}; }
  void TakeOff(bool facingRight, double y, int apexLimit, bool held) {
    h.HeroState = facingRight ? 2 : 8;
    h.HeroY = y;
    h.ApexLimitY = static_cast<std::int16_t>(apexLimit);
    h.UpHeld = held;
    h.JumpFalling = false;
  }
  Hero& h = v.hero;
  GameState& g = v.game;
};
using JumpTest = HeroTest;

TEST_F(HeroTest, TurningMirrorsTheStrideAndCrouchingTurnsWithoutStandingUp) {
  StandHero(7);
  h.Walking = true;
  h.HeroStep = 2;
  HeroKeyRight(v);
  EXPECT_EQ(std::tuple(h.HeroState, h.HeroStep), std::tuple(3, 1.0));
  h.HeroStep = 0;
  HeroKeyLeft(v);
  EXPECT_EQ(std::tuple(h.HeroState, h.HeroStep), std::tuple(7, 3.0));

  HeroKeyDown(v);
  EXPECT_EQ(Now(), Pose(6, -8, 30, 64));
  EXPECT_FALSE(h.Walking);
  HeroKeyRight(v);
  EXPECT_EQ(Now(), Pose(4, 0, 30, 64));
  HeroKeyLeft(v);
  EXPECT_EQ(Now(), Pose(6, -8, 30, 64));
  HeroKeyRelease(v, 40);
  EXPECT_EQ(Now(), Pose(7, 0, 22, 55));
  EXPECT_TRUE(h.Walking);  // left is still held
}

TEST_F(HeroTest, ReleasingOneDirectionTurnsTheHeroOnlyWhileTheOtherIsHeld) {
  // {state, the other direction held, the key let go, state after, walking after}
  for (auto [state, otherHeld, released, after, walking] :
       {std::tuple{3, true, 39, 7, true}, std::tuple{6, true, 37, 4, false},
        std::tuple{3, false, 39, 3, false}}) {
    StandHero(state);
    h.Walking = true;
    (released == 39 ? h.LeftHeld : h.RightHeld) = otherHeld;
    HeroKeyRelease(v, released);
    EXPECT_EQ(std::tuple(h.HeroState, h.Walking), std::tuple(after, walking)) << state;
  }
}

TEST_F(HeroTest, UpTakesOffFacingEitherWayIsIgnoredInTheAirAndHeldJumpsAgainOnLanding) {
  StandHero(7);
  HeroKeyUp(v);
  EXPECT_EQ(std::tuple(h.HeroState, h.HeroOffsetX), std::tuple(17, -6));
  h.HeroState = 8;
  h.ApexLimitY = 40;
  HeroKeyUp(v);
  EXPECT_EQ(h.ApexLimitY, 40);

  StandHero(3);
  HeroKeyUp(v);
  int takeOffs = 0;
  for (int frame = 0; frame < 80; ++frame) {
    HeroUpkeep(v);
    takeOffs += h.HeroState == 13;
  }
  EXPECT_GE(takeOffs, 2);
}

TEST_F(HeroTest, FiringStandingAttacksAndLocksTheHero) {
  HeroKeyFire(v);
  EXPECT_EQ(Now(), Pose(23, 0, 32, 44));
  EXPECT_TRUE(h.HeroLocked);
  // Locked: movement and fire do nothing until the attack is over.
  HeroKeyLeft(v);
  HeroKeyUp(v);
  h.FireHeld = false;
  HeroKeyFire(v);
  EXPECT_EQ(std::tuple(h.HeroState, h.LeftHeld), std::tuple(23, false));

  StandHero(7);
  HeroKeyFire(v);
  EXPECT_EQ(Now(), Pose(27, -10, 32, 44));
  // Crouching he fires the laser (enemies_test); while a shot is under way fire does nothing.
  StandHero(3);
  HeroKeyDown(v);
  h.HeroBusy = 3;
  HeroKeyFire(v);
  EXPECT_EQ(h.HeroBusy, 3);
}

TEST_F(HeroTest, AHeroWhollyOverAPitFallsIn) {
  v.level.PitCount = 1;
  v.level.PitX[1] = 600;
  v.level.PitWidth[1] = 40;
  auto fallsAt = [&](double scrollX, int state = 3, bool onIsland = false, double y = 55,
                     int groundY = 55) {
    StandHero(state);
    g.ScrollX = scrollX;
    h.OnIsland = onIsland;
    h.HeroY = y;
    h.GroundY = static_cast<std::int16_t>(groundY);
    PitFallTest(v, 1);
    return h.PitFall;
  };
  EXPECT_FALSE(fallsAt(494));
  EXPECT_TRUE(fallsAt(495));
  EXPECT_EQ(std::tuple(h.HeroState, h.JumpFalling, g.Indicador), std::tuple(2, true, "Caida"));
  EXPECT_EQ(platform.readout(), "Caida");
  EXPECT_TRUE(fallsAt(513));
  EXPECT_FALSE(fallsAt(514));
  EXPECT_TRUE(fallsAt(500, 7));
  EXPECT_EQ(h.HeroState, 8);
  // Over the pit on an island he is safe; high in a jump he passes over.
  EXPECT_FALSE(fallsAt(500, 3, true));
  EXPECT_FALSE(fallsAt(500, 3, false, 30));
  // The frame after stepping off an island the ground is open: he falls from any height.
  EXPECT_TRUE(fallsAt(500, 3, false, 40, 0));
}

TEST_F(JumpTest, ALowApexHangsOneFrameAndHoverModeAThousandTimesLonger) {
  TakeOff(false, 51, 55, false);
  StepJump(v, false);
  StepJump(v, false);
  EXPECT_EQ(std::tuple(h.HeroY, h.JumpFalling, h.ApexPause), std::tuple(47, true, 1));
  h.HoverMode = true;
  TakeOff(true, 9, 15, true);
  StepJump(v, true);
  EXPECT_EQ(h.ApexPause, 6000);
}

TEST_F(JumpTest, TheOtherDirectionsKeyStopsTheTravel) {
  TakeOff(true, 55, 15, true);
  h.LeftHeld = true;
  for (int i = 0; i < 200 && h.HeroState != 15; ++i) StepJump(v, true);
  EXPECT_EQ(std::tuple(h.HeroState, g.ScrollX, g.StarDrift), std::tuple(15, 500, 0));
}

TEST_F(JumpTest, FacingLeftTheViewCanStandOneStepBelowZeroForAFrame) {
  g.ScrollX = 4;
  g.ScrollSpeed = 2;
  TakeOff(false, 55, 15, true);
  StepJump(v, false);
  EXPECT_EQ(g.ScrollX, -4);
  StepJump(v, false);
  EXPECT_EQ(g.ScrollX, 0);
}

}  // namespace
}  // namespace zendor::testing
