// The hero in the air: rise, apex, fall and landing, the travel that carries him, the way into
// the end piece and the fall into a pit.
#include "world/jump.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/gameplay_fixture.h"

namespace zendor::testing {
namespace {

class JumpTest : public ::testing::Test, protected GameplayFixture {
 protected:
  Hero& h = v.hero;
  GameState& g = v.game;

  void TakeOff(bool facingRight, double y, int apexLimit, bool held) {
    h.HeroState = facingRight ? 2 : 8;
    h.HeroY = y;
    h.ApexLimitY = static_cast<std::int16_t>(apexLimit);
    h.UpHeld = held;
    h.JumpFalling = false;
  }

  // HeroY after each call of StepJump until he lands (or `limit` calls).
  std::vector<double> Heights(bool facingRight, int limit = 200) {
    std::vector<double> ys;
    const std::int16_t landed = facingRight ? 15 : 19;
    while (h.HeroState != landed && static_cast<int>(ys.size()) < limit) {
      StepJump(v, facingRight);
      ys.push_back(h.HeroY);
    }
    return ys;
  }
};

TEST_F(JumpTest, AShortHopHangsOneFrame) {
  TakeOff(false, 51, 55, false);
  StepJump(v, false);
  StepJump(v, false);
  EXPECT_EQ(h.HeroY, 47);
  EXPECT_TRUE(h.JumpFalling);
  EXPECT_EQ(h.ApexPause, 1);
}

TEST_F(JumpTest, HoverModeHangsAThousandTimesLonger) {
  h.HoverMode = true;
  TakeOff(true, 9, 15, true);
  StepJump(v, true);
  EXPECT_EQ(h.ApexPause, 6000);
}

TEST_F(JumpTest, TheOtherDirectionsKeyStopsTheTravel) {
  TakeOff(true, 55, 15, true);
  h.LeftHeld = true;
  Heights(true);
  EXPECT_EQ(g.ScrollX, 500);
  EXPECT_EQ(g.StarDrift, 0);
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
