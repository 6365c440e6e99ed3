// Enemies: where and when they come in, how they walk against the scrolling view, where they
// turn and leave, the hop over the lava and when they catch the hero.
#include "world/enemies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/gameplay_fixture.h"
#include "game/hero.h"

namespace zendor::testing {
namespace {

class EnemiesTest : public ::testing::Test, protected GameplayFixture {
 protected:
  EnemiesTest() {
    v.level.SpawnZoneA[0] = {900, 300, 3, 0};  // rarity 0: comes whenever it can
    v.level.SpawnZoneACount = 1;
  }

  const Enemy& Slot(int i) const { return v.game.Enemies[static_cast<std::size_t>(i)]; }

  // Where a zone enemy comes from at this view position: 'L' walking in from the left, 'R'
  // from the right, '-' nobody.
  char ZoneEntryAt(double scrollX, ZoneFamily family = ZoneFamily::A) {
    PrepareSlots();
    v.game.ScrollX = scrollX;
    SpawnFromZone(v, 1, family);
    if (!Slot(1).Active) return '-';
    return Slot(1).MovingLeft ? 'R' : 'L';
  }

  // One update of an enemy on a view that moved by `viewMove` since its last update.
  int StepX(Enemy& e, int viewMove) {
    v.game.ScrollX = 500;
    e.LastScrollX = static_cast<std::int16_t>(500 - viewMove);
    const int before = e.X;
    UpdateEnemy(v, 1);
    return e.X - before;
  }
};

TEST_F(EnemiesTest, AZoneSendsEnemiesOnlyWhileItLiesAheadOfTheView) {
  EXPECT_EQ(ZoneEntryAt(59), '-');
  EXPECT_EQ(ZoneEntryAt(60), 'R');
  EXPECT_EQ(ZoneEntryAt(363), 'R');
  EXPECT_EQ(ZoneEntryAt(597), 'L');
  EXPECT_EQ(ZoneEntryAt(900), 'L');
  EXPECT_EQ(ZoneEntryAt(901), '-');
  std::vector<char> sides;
  for (int i = 0; i < 20; ++i) sides.push_back(ZoneEntryAt(480));
  EXPECT_NE(std::count(sides.begin(), sides.end(), 'L'), 0);
  EXPECT_NE(std::count(sides.begin(), sides.end(), 'R'), 0);
}

TEST_F(EnemiesTest, AZoneEnemyStartsOffScreenOnTheGround) {
  ZoneEntryAt(700);
  const Enemy& e = Slot(1);
  EXPECT_EQ(e.Kind, 3);
  EXPECT_EQ(e.X, -64 - 24);
  EXPECT_EQ(e.Y, 96 - 40);
  EXPECT_EQ(e.Speed, 2);
  EXPECT_EQ(e.RightLimit, 900);
  EXPECT_EQ(e.LeftLimit, 300 - 24);

  ZoneEntryAt(100);
  EXPECT_EQ(Slot(1).X, 304 + 24);
  EXPECT_EQ(Slot(1).Speed, 0);

  v.level.SpawnZoneA[0].Kind = 1;  // the armoured walker is slow from either side
  ZoneEntryAt(700);
  EXPECT_EQ(Slot(1).Speed, 0);
}

TEST_F(EnemiesTest, OnlyTheFirstZoneFamilyResetsTheHop) {
  v.level.SpawnZoneB[0] = {900, 300, 2, 0};
  v.level.SpawnZoneBCount = 1;
  v.game.ScrollX = 700;
  v.game.Enemies[2].HopStep = -1;
  SpawnFromZone(v, 2, ZoneFamily::B);
  EXPECT_TRUE(Slot(2).Active);
  EXPECT_EQ(Slot(2).HopStep, -1);
  v.game.Enemies[1].HopStep = -1;
  SpawnFromZone(v, 1, ZoneFamily::A);
  EXPECT_EQ(Slot(1).HopStep, 0);
}

TEST_F(EnemiesTest, FlyersComeOnlyOnceTheShipIsBehind) {
  settings.SpawnRarityScale = 0;
  v.game.ScrollX = 112;
  SpawnFlyer(v, 0);
  EXPECT_FALSE(Slot(0).Active);
  v.game.ScrollX = 113;
  SpawnFlyer(v, 0);
  ASSERT_TRUE(Slot(0).Active);
  EXPECT_EQ(Slot(0).Kind, 0);
  EXPECT_EQ(Slot(0).Y, 96 - 38 - 32);
  EXPECT_EQ(Slot(0).RightLimit, 3000 + 24);
  EXPECT_EQ(Slot(0).LeftLimit, 300 - 24);
}

TEST_F(EnemiesTest, EveryStepFollowsTheViewsMovement) {
  Enemy& walker = PlaceEnemy(1, 3, 100, 56);
  walker.Speed = 2;
  walker.RightLimit = 3000;
  EXPECT_EQ(StepX(walker, 0), 6);
  EXPECT_EQ(StepX(walker, 4), 2);  // keeps pace with a hero walking the same way
  EXPECT_EQ(StepX(walker, -4), 10);

  Enemy& back = PlaceEnemy(1, 3, 100, 56, true);
  back.LeftLimit = -3000;
  EXPECT_EQ(StepX(back, 0), -4);
  EXPECT_EQ(StepX(back, 4), -8);
  EXPECT_EQ(StepX(back, -4), 0);
}

TEST_F(EnemiesTest, EnemiesTurnAtTheirZonesEndsAndVanishOffScreen) {
  auto afterOneStep = [&](int x, bool movingLeft, int rightLimit, int leftLimit) {
    Enemy& e = PlaceEnemy(1, 3, x, 56, movingLeft);
    e.Speed = 2;
    e.RightLimit = static_cast<std::int16_t>(rightLimit);
    e.LeftLimit = static_cast<std::int16_t>(leftLimit);
    StepX(e, 0);
    return e;
  };
  // Moving right, turning where the strip position reaches RightLimit + 16 - 24.
  EXPECT_FALSE(afterOneStep(185, false, 700, -3000).MovingLeft);
  EXPECT_TRUE(afterOneStep(186, false, 700, -3000).MovingLeft);
  EXPECT_TRUE(afterOneStep(321, false, 3000, -3000).Active);
  EXPECT_FALSE(afterOneStep(322, false, 3000, -3000).Active);
  // Moving left, the mirror image.
  EXPECT_TRUE(afterOneStep(115, true, 3000, 600).MovingLeft);
  EXPECT_FALSE(afterOneStep(114, true, 3000, 600).MovingLeft);
  EXPECT_TRUE(afterOneStep(-81, true, 3000, -3000).Active);
  EXPECT_FALSE(afterOneStep(-82, true, 3000, -3000).Active);
}

TEST_F(EnemiesTest, AHopRisesThirtyTwoPixelsWaitsAndComesDownAgain) {
  Enemy& e = PlaceEnemy(1, 2, 100, 56);
  e.RightLimit = 3000;
  e.HopStep = 1;
  std::vector<int> ys;
  for (int i = 0; i < 25; ++i) {
    e.LastScrollX = 500;
    UpdateEnemy(v, 1);
    ys.push_back(e.Y);
  }
  const std::vector<int> expected = {52, 48, 44, 40, 36, 32, 28, 24, 24, 24, 24, 24, 24,
                                     24, 24, 24, 28, 32, 36, 40, 44, 48, 52, 56, 56};
  EXPECT_EQ(ys, expected);
  EXPECT_EQ(e.HopStep, -1);
  UpdateEnemy(v, 1);
  EXPECT_EQ(e.Y, 56);  // one hop only
}

TEST_F(EnemiesTest, TheTouchTestUsesTheHerosPictureAndFixedSides) {
  auto touches = [&](int kind, int xBeforeStep, int y) {
    StandHero(3);
    v.hero.HeroCaught = false;
    Enemy& e = PlaceEnemy(1, kind, xBeforeStep, y);
    e.RightLimit = 3000;
    StepX(e, 0);  // a still view: the enemy walks 4 pixels
    return v.hero.HeroCaught;
  };
  EXPECT_FALSE(touches(3, 90, 56));  // right edge at 117
  EXPECT_TRUE(touches(3, 91, 56));   // at 118
  EXPECT_EQ(v.hero.HeroState, 3);
  EXPECT_FALSE(v.hero.HeroActive);
  EXPECT_FALSE(v.hero.Walking);
  EXPECT_TRUE(touches(3, 109, 56));  // 113 + 12 < 105 + 22 - 1
  EXPECT_FALSE(touches(3, 110, 56));
  EXPECT_FALSE(touches(3, 100, 96));  // below his feet

  // A flyer at row 26 reaches a standing hero's head but passes over a crouching one.
  EXPECT_TRUE(touches(0, 100, 26));
  StandHero(3);
  v.hero.HeroCaught = false;
  HeroKeyDown(v);
  Enemy& flyer = PlaceEnemy(1, 0, 100, 26);
  StepX(flyer, 0);
  EXPECT_FALSE(v.hero.HeroCaught);

  v.game.HideHero = true;
  EXPECT_FALSE(touches(3, 100, 56));
}

TEST_F(EnemiesTest, EachSlotUpdatesExplodesOrTriesItsOwnSpawner) {
  settings.SpawnRarityScale = 0;
  v.level.SpawnZoneB[0] = {900, 300, 4, 0};
  v.level.SpawnZoneBCount = 1;
  v.hero.HeroActive = false;
  UpdateEnemies(v);
  EXPECT_FALSE(Slot(0).Active || Slot(1).Active || Slot(2).Active);  // nobody comes for him

  v.hero.HeroActive = true;
  UpdateEnemies(v);
  EXPECT_EQ(Slot(0).Kind, 0);
  EXPECT_EQ(Slot(1).Kind, 3);
  EXPECT_EQ(Slot(2).Kind, 4);

  v.game.Enemies[1].Active = false;
  v.game.EnemySlotBusy[1] = true;
  UpdateEnemies(v);
  EXPECT_TRUE(v.game.EnemySlotBusy[1]);
  UpdateEnemies(v);
  EXPECT_FALSE(v.game.EnemySlotBusy[1]);
  EXPECT_FALSE(Slot(1).Active);  // free again from the next frame
}

}  // namespace
}  // namespace zendor::testing
