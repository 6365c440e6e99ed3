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
#include "platform/virtual_keys.h"
#include "world/jump.h"

namespace zendor::testing {
namespace {

using Pose = std::tuple<int, int, int, double>;  // state, x offset, width, HeroY

class HeroTest : public ::testing::Test, protected GameplayFixture {
 protected:
  Pose Now() const { return {h.HeroState, h.HeroOffsetX, h.HeroWidth, h.HeroY}; }
  void TakeOff(bool facingRight, double y, int apexLimit, bool held) {
    h.HeroState = facingRight ? kHero02AirborneRight : kHero08AirborneLeft;
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
  StandHero(kHero07StandLeft);
  h.Walking = true;
  h.HeroStep = 2;
  HeroKeyRight(v);
  EXPECT_EQ(std::tuple(h.HeroState, h.HeroStep), std::tuple(kHero03StandRight, 1.0));
  h.HeroStep = 0;
  HeroKeyLeft(v);
  EXPECT_EQ(std::tuple(h.HeroState, h.HeroStep), std::tuple(kHero07StandLeft, 3.0));

  HeroKeyDown(v);
  EXPECT_EQ(Now(), Pose(kHero06CrouchLeft, -8, 30, 64));
  EXPECT_FALSE(h.Walking);
  HeroKeyRight(v);
  EXPECT_EQ(Now(), Pose(kHero04CrouchRight, 0, 30, 64));
  HeroKeyLeft(v);
  EXPECT_EQ(Now(), Pose(kHero06CrouchLeft, -8, 30, 64));
  HeroKeyRelease(v, vk::kDown);
  EXPECT_EQ(Now(), Pose(kHero07StandLeft, 0, 22, 55));
  EXPECT_TRUE(h.Walking);  // left is still held
}

// The mirror image of a state: facing the other way.
std::int16_t Mirrored(std::int16_t state) {
  const std::pair<HeroStateNumber, HeroStateNumber> pairs[] = {
      {kHero03StandRight, kHero07StandLeft},     {kHero04CrouchRight, kHero06CrouchLeft},
      {kHero13TakeOffRight, kHero17TakeOffLeft}, {kHero02AirborneRight, kHero08AirborneLeft},
      {kHero15LandedRight, kHero19LandedLeft},   {kHero23AttackRight, kHero27AttackLeft}};
  for (auto [right, left] : pairs) {
    if (state == right) return left;
    if (state == left) return right;
  }
  return state;
}

TEST_F(HeroTest, LeftAndRightKeysAreMirrorImagesInEveryStateTheyCanMeet) {
  // Every state, alone or with jump or down held, a shot under way or a walk going on: pressing
  // right, and pressing left on the mirrored hero, end in mirrored states with the same walk,
  // stride and held keys.
  using Outcome = std::tuple<int, bool, double, bool, bool>;
  auto press = [&](bool right, std::int16_t state, int extra, double step) {
    StandHero(state);
    h.UpHeld = extra == 1;
    h.DownHeld = extra == 2;
    h.HeroBusy = extra == 3 ? 2 : 0;
    h.Walking = extra == 4;
    h.HeroStep = step;
    right ? HeroKeyRight(v) : HeroKeyLeft(v);
    return Outcome{right ? h.HeroState : Mirrored(h.HeroState), h.Walking, h.HeroStep,
                   right ? h.RightHeld : h.LeftHeld, right ? h.LeftHeld : h.RightHeld};
  };
  for (std::int16_t state :
       {kHero03StandRight, kHero07StandLeft, kHero04CrouchRight, kHero06CrouchLeft,
        kHero13TakeOffRight, kHero17TakeOffLeft, kHero02AirborneRight, kHero08AirborneLeft,
        kHero15LandedRight, kHero19LandedLeft}) {
    for (int extra = 0; extra <= 4; ++extra) {
      for (double step : {0.0, 2.0}) {
        EXPECT_EQ(press(true, state, extra, step), press(false, Mirrored(state), extra, step))
            << "state " << state << ", case " << extra << ", step " << step;
      }
    }
  }
}

TEST_F(HeroTest, ReleasingOneDirectionTurnsTheHeroOnlyWhileTheOtherIsHeld) {
  // {state, the other direction held, the key let go, state after, walking after}
  for (auto [state, otherHeld, released, after, walking] :
       {std::tuple{kHero03StandRight, true, vk::kRight, kHero07StandLeft, true},
        std::tuple{kHero06CrouchLeft, true, vk::kLeft, kHero04CrouchRight, false},
        std::tuple{kHero03StandRight, false, vk::kRight, kHero03StandRight, false}}) {
    StandHero(state);
    h.Walking = true;
    (released == vk::kRight ? h.LeftHeld : h.RightHeld) = otherHeld;
    HeroKeyRelease(v, released);
    EXPECT_EQ(std::tuple(h.HeroState, h.Walking), std::tuple(after, walking)) << state;
  }
}

TEST_F(HeroTest, UpTakesOffFacingEitherWayIsIgnoredInTheAirAndHeldJumpsAgainOnLanding) {
  StandHero(kHero07StandLeft);
  HeroKeyUp(v);
  EXPECT_EQ(std::tuple(h.HeroState, h.HeroOffsetX), std::tuple(kHero17TakeOffLeft, -6));
  h.HeroState = kHero08AirborneLeft;
  h.ApexLimitY = 40;
  HeroKeyUp(v);
  EXPECT_EQ(h.ApexLimitY, 40);

  StandHero(kHero03StandRight);
  HeroKeyUp(v);
  int takeOffs = 0;
  for (int frame = 0; frame < 80; ++frame) {
    HeroUpkeep(v);
    takeOffs += h.HeroState == kHero13TakeOffRight;
  }
  EXPECT_GE(takeOffs, 2);
}

TEST_F(HeroTest, FiringStandingAttacksAndLocksTheHero) {
  HeroKeyFire(v);
  EXPECT_EQ(Now(), Pose(kHero23AttackRight, 0, 32, 44));
  EXPECT_TRUE(h.HeroLocked);
  // Locked: movement and fire do nothing until the attack is over.
  HeroKeyLeft(v);
  HeroKeyUp(v);
  h.FireHeld = false;
  HeroKeyFire(v);
  EXPECT_EQ(std::tuple(h.HeroState, h.LeftHeld), std::tuple(kHero23AttackRight, false));

  StandHero(kHero07StandLeft);
  HeroKeyFire(v);
  EXPECT_EQ(Now(), Pose(kHero27AttackLeft, -10, 32, 44));
  // Crouching he fires the laser (enemies_test); while a shot is under way fire does nothing.
  StandHero(kHero03StandRight);
  HeroKeyDown(v);
  h.HeroBusy = 3;
  HeroKeyFire(v);
  EXPECT_EQ(h.HeroBusy, 3);
}

TEST_F(HeroTest, AHeroWhollyOverAPitFallsIn) {
  v.level.PitCount = 1;
  v.level.PitX[1] = 600;
  v.level.PitWidth[1] = 40;
  auto fallsAt = [&](double scrollX, int state = kHero03StandRight, bool onIsland = false,
                     double y = kGroundLine, int groundY = kGroundLine) {
    StandHero(state);
    g.ScrollX = scrollX;
    h.OnIsland = onIsland;
    h.HeroY = y;
    h.GroundY = static_cast<std::int16_t>(groundY);
    PitFallTest(h, g, v.level, 1);
    return h.PitFall;
  };
  EXPECT_FALSE(fallsAt(494));
  EXPECT_TRUE(fallsAt(495));
  EXPECT_EQ(std::tuple(h.HeroState, h.JumpFalling, g.Indicador),
            std::tuple(kHero02AirborneRight, true, "Caida"));
  EXPECT_TRUE(fallsAt(513));
  EXPECT_FALSE(fallsAt(514));
  EXPECT_TRUE(fallsAt(500, kHero07StandLeft));
  EXPECT_EQ(h.HeroState, kHero08AirborneLeft);
  // Over the pit on an island he is safe; high in a jump he passes over.
  EXPECT_FALSE(fallsAt(500, kHero03StandRight, true));
  EXPECT_FALSE(fallsAt(500, kHero03StandRight, false, 30));
  // The frame after stepping off an island the ground is open: he falls from any height.
  EXPECT_TRUE(fallsAt(500, kHero03StandRight, false, 40, 0));
}

TEST_F(JumpTest, ALowApexHangsOneFrameAndHoverModeAThousandTimesLonger) {
  TakeOff(false, 51, kGroundLine, false);
  StepJump(v, false);
  StepJump(v, false);
  EXPECT_EQ(std::tuple(h.HeroY, h.JumpFalling, h.ApexPause), std::tuple(47, true, 1));
  h.HoverMode = true;
  TakeOff(true, 9, 15, true);
  StepJump(v, true);
  EXPECT_EQ(h.ApexPause, 6000);
}

TEST_F(JumpTest, TheOtherDirectionsKeyStopsTheTravel) {
  TakeOff(true, kGroundLine, 15, true);
  h.LeftHeld = true;
  for (int i = 0; i < 200 && h.HeroState != kHero15LandedRight; ++i) StepJump(v, true);
  EXPECT_EQ(std::tuple(h.HeroState, g.ScrollX, g.StarDrift),
            std::tuple(kHero15LandedRight, 500, 0));
}

TEST_F(JumpTest, FacingLeftTheViewCanStandOneStepBelowZeroForAFrame) {
  g.ScrollX = 4;
  g.ScrollSpeed = 2;
  TakeOff(false, kGroundLine, 15, true);
  StepJump(v, false);
  EXPECT_EQ(g.ScrollX, -4);
  StepJump(v, false);
  EXPECT_EQ(g.ScrollX, 0);
}

}  // namespace
}  // namespace zendor::testing
