// The laser shot, the close attack, the kills they score and the explosions that follow.
#include "world/shots.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/gameplay_fixture.h"
#include "game/hero.h"

namespace zendor::testing {
namespace {

class ShotsTest : public ::testing::Test, protected GameplayFixture {
 protected:
  ShotsTest() {
    settings.MaxEnemies = 3;
    PrepareSlots();
  }

  void Crouch(int state) {
    StandHero(state == 4 ? 3 : 7);
    HeroKeyDown(v);
  }
  void Fire() {
    v.hero.FireHeld = false;
    HeroKeyFire(v);
  }
  const Enemy& Slot(int i) const { return v.game.Enemies[static_cast<std::size_t>(i)]; }
};

TEST_F(ShotsTest, AShotThatHitsNothingShowsSixPicturesAndEnds) {
  sound.LoadSoundsAndMusic(platform, true, false, "/nonexistent/");
  Crouch(4);
  Fire();
  std::vector<int> busy;
  for (int call = 0; call < 6; ++call) {
    StepShot(v);
    busy.push_back(v.hero.HeroBusy);
  }
  EXPECT_EQ(busy, (std::vector<int>{2, 3, 4, 5, 6, 0}));
  EXPECT_EQ(v.hero.HeroState, 4);  // still down: the key is held

  std::vector<std::string> pitches;
  for (const auto& line : tracer.lines) {
    if (line.rfind("sound frequency 12", 0) == 0) pitches.push_back(line.substr(19));
  }
  EXPECT_EQ(pitches, (std::vector<std::string>{"1000", "2000", "3000", "4000", "5000", "6000"}));
}

TEST_F(ShotsTest, AtTheEndOfAShotAHeroWhoLetGoOfDownStandsUp) {
  Crouch(6);
  Fire();
  ASSERT_EQ(v.hero.HeroBusy, 8);
  HeroKeyRelease(v, 40);
  EXPECT_EQ(v.hero.HeroState, 6);
  for (int call = 0; call < 6; ++call) StepShot(v);
  EXPECT_EQ(v.hero.HeroBusy, 0);
  EXPECT_EQ(v.hero.HeroState, 7);
  EXPECT_EQ(v.hero.HeroY, 55);
}

TEST_F(ShotsTest, AHitKillsScoresAndEndsTheShotAtOnce) {
  PlaceEnemy(1, 2, 150, 56);
  Crouch(4);
  Fire();
  StepShot(v);
  EXPECT_FALSE(Slot(1).Active);
  EXPECT_TRUE(v.game.EnemySlotBusy[1]);
  EXPECT_EQ(v.game.Score, 200);
  EXPECT_EQ(v.hero.HeroBusy, 0);
}

TEST_F(ShotsTest, FacingRightOnlyTheFirstThreeStepsHit) {
  Crouch(4);
  Fire();
  for (int call = 0; call < 3; ++call) StepShot(v);
  PlaceEnemy(1, 2, 220, 56);  // where the fourth picture lands
  StepShot(v);
  EXPECT_TRUE(Slot(1).Active);
}

TEST_F(ShotsTest, FacingLeftFiveStepsHit) {
  Crouch(6);
  Fire();
  for (int call = 0; call < 4; ++call) StepShot(v);
  PlaceEnemy(1, 2, 20, 56);
  StepShot(v);
  EXPECT_FALSE(Slot(1).Active);

  Fire();
  ASSERT_EQ(v.hero.HeroBusy, 8);
  for (int call = 0; call < 5; ++call) StepShot(v);
  PlaceEnemy(1, 2, 20, 56);
  StepShot(v);
  EXPECT_TRUE(Slot(1).Active);
}

TEST_F(ShotsTest, FlyersAreShotFromIslandsAndWalkersFromTheGround) {
  auto shotDown = [&](int slot, int kind, int groundY, int y) {
    PrepareSlots();
    Crouch(4);
    v.hero.GroundY = static_cast<std::int16_t>(groundY);
    PlaceEnemy(slot, kind, 150, y);
    Fire();
    StepShot(v);
    return !Slot(slot).Active;
  };
  EXPECT_FALSE(shotDown(0, 0, 55, 40));
  EXPECT_TRUE(shotDown(0, 0, 40, 40));
  EXPECT_TRUE(shotDown(1, 0, 55, 40));  // a flyer's picture in a walker's slot is a walker
  EXPECT_FALSE(shotDown(1, 2, 40, 40));
  EXPECT_TRUE(shotDown(2, 2, 55, 56));
  EXPECT_FALSE(shotDown(3, 2, 55, 56));
}

TEST_F(ShotsTest, TheCloseAttackReachesAFixedStretchInFront) {
  v.hero.HeroState = 23;
  PlaceEnemy(0, 0, 114, 26);
  PlaceEnemy(1, 2, 115, 56);
  PlaceEnemy(2, 3, 143, 56);
  PlaceEnemy(3, 2, 144, 56);
  AttackHitTest(v);
  EXPECT_TRUE(Slot(0).Active);
  EXPECT_FALSE(Slot(1).Active);
  EXPECT_FALSE(Slot(2).Active);
  EXPECT_TRUE(Slot(3).Active);
  EXPECT_EQ(v.game.Score, 400);

  PrepareSlots();
  v.hero.HeroState = 27;
  v.hero.HeroOffsetX = -10;
  PlaceEnemy(0, 0, 68, 26);
  PlaceEnemy(1, 0, 69, 26);  // flyers too: the blade reaches up
  PlaceEnemy(2, 2, 95, 56);
  PlaceEnemy(3, 2, 96, 56);
  AttackHitTest(v);
  EXPECT_TRUE(Slot(0).Active);
  EXPECT_FALSE(Slot(1).Active);
  EXPECT_FALSE(Slot(2).Active);
  EXPECT_TRUE(Slot(3).Active);
}

TEST_F(ShotsTest, TheArmouredWalkerShrugsOffTheBladeButNotTheLaser) {
  v.hero.HeroState = 23;
  PlaceEnemy(1, 1, 130, 69);
  AttackHitTest(v);
  EXPECT_TRUE(Slot(1).Active);
  Crouch(4);
  PlaceEnemy(1, 1, 150, 69);
  Fire();
  StepShot(v);
  EXPECT_FALSE(Slot(1).Active);
}

TEST_F(ShotsTest, TheScoreGoesOnPastTheSixteenBitLimit) {
  v.game.Score = 32700;
  PlaceEnemy(1, 2, 100, 56);
  KillEnemy(v, 1);
  EXPECT_EQ(v.game.Score, 32900);
}

TEST_F(ShotsTest, AnEnemyExplodesForTwoFramesWhereItWasInTheLevel) {
  Enemy& e = PlaceEnemy(1, 2, 100, 56);
  KillEnemy(v, 1);
  e.LastScrollX = 496;  // the view has moved right since
  StepEnemyExplosion(v, 1);
  EXPECT_EQ(e.X, 92);
  EXPECT_TRUE(v.game.EnemySlotBusy[1]);
  v.game.ScrollX = 496;  // and now left
  StepEnemyExplosion(v, 1);
  EXPECT_EQ(e.X, 96);
  EXPECT_FALSE(v.game.EnemySlotBusy[1]);
}

TEST_F(ShotsTest, TheHerosExplosionLastsThreeFramesThenTheCountdownStarts) {
  v.hero.HeroCaught = true;
  v.hero.HeroStep = 0;
  StepHeroCaught(v);
  StepHeroCaught(v);
  EXPECT_TRUE(v.hero.HeroCaught);
  StepHeroCaught(v);
  EXPECT_FALSE(v.hero.HeroCaught);
  EXPECT_EQ(v.game.DeathCountdown, 10);
}

}  // namespace
}  // namespace zendor::testing
