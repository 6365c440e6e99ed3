// Enemies and the weapons that stop them. Enemies: where and when they come in, how they walk
// against the scrolling view, where they turn and leave, and when they catch the hero. Weapons:
// the laser shot's steps and which slots it can hit, the close attack's reach, the score, and
// the wreck that follows. The hop over the lava, a shot that hits ending at once, the attack
// striking on its third step, a wreck's two frames, a slot refilled the frame after and the
// hero's own explosion are proven by the game_hop, game_zone_kills and game_lava scenarios, a
// flyer passing over a crouching hero by game_flyer_ground.
#include "world/enemies.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "game/gameplay_fixture.h"
#include "platform/virtual_keys.h"
#include "world/shots.h"

namespace zendor::testing {
namespace {

class EnemiesTest : public ::testing::Test, protected GameplayFixture {
 protected:
  EnemiesTest() {
    v.level.SpawnZoneA[0] = {900, 300, kEnemy3Brute, 0};  // rarity 0: comes whenever it can
    v.level.SpawnZoneACount = 1;
  }

  // Where a zone enemy comes from at this view position: 'L' walking in from the left, 'R'
  // from the right, '-' nobody.
  char ZoneEntryAt(double scrollX) {
    PrepareSlots();
    v.game.ScrollX = scrollX;
    SpawnFromZone(v, 1, ZoneFamily::A);
    if (!Slot(1).Active) return '-';
    return Slot(1).MovingLeft ? 'R' : 'L';
  }

  // Kind, X, Y, Speed, RightLimit and LeftLimit of the enemy in a slot.
  std::tuple<int, int, int, int, int, int> Placement(int i) const {
    const Enemy& e = Slot(i);
    return {e.Kind, e.X, e.Y, e.Speed, e.RightLimit, e.LeftLimit};
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
  std::string entries;  // at the edges of the two entry ranges, 60 to 596 and 364 to 900
  for (double scrollX : {59, 60, 363, 597, 900, 901}) entries += ZoneEntryAt(scrollX);
  EXPECT_EQ(entries, "-RRLL-");
  std::string sides;  // where both entries are open, either side
  for (int i = 0; i < 20; ++i) sides += ZoneEntryAt(480);
  EXPECT_TRUE(sides.find('L') != std::string::npos && sides.find('R') != std::string::npos)
      << sides;
}

TEST_F(EnemiesTest, AZoneEnemyStartsOffScreenOnTheGroundAndOnlyTheFirstFamilyResetsTheHop) {
  ZoneEntryAt(700);  // from the left: behind the view's left edge, walking fast
  EXPECT_EQ(Placement(1), std::tuple(kEnemy3Brute, -64 - 24, 96 - 40, 2, 900, 300 - 24));
  ZoneEntryAt(100);  // from the right: ahead of its right edge, slow
  EXPECT_EQ(Placement(1), std::tuple(kEnemy3Brute, 304 + 24, 96 - 40, 0, 900, 300 - 24));
  v.level.SpawnZoneA[0].Kind = kEnemy1Armoured;  // the armoured walker is slow from either side
  ZoneEntryAt(700);
  EXPECT_EQ(Slot(1).Speed, 0);

  v.level.SpawnZoneB[0] = {900, 300, kEnemy2Hopper, 0};
  v.level.SpawnZoneBCount = 1;
  v.game.Enemies[1].HopStep = v.game.Enemies[2].HopStep = -1;
  SpawnFromZone(v, 1, ZoneFamily::A);
  SpawnFromZone(v, 2, ZoneFamily::B);
  EXPECT_EQ(std::tuple(Slot(1).HopStep, Slot(2).Active, Slot(2).HopStep), std::tuple(0, true, -1));
}

TEST_F(EnemiesTest, FlyersComeOnlyOnceTheShipIsBehind) {
  settings.SpawnRarityScale = 0;
  v.game.ScrollX = 112;
  SpawnFlyer(v, 0);
  EXPECT_FALSE(Slot(0).Active);
  v.game.ScrollX = 113;
  SpawnFlyer(v, 0);
  ASSERT_TRUE(Slot(0).Active);
  // A flyer roams from the first zone's start to the strip's end (2400 wide here).
  EXPECT_EQ(std::tuple(Slot(0).Kind, Slot(0).Y, Slot(0).RightLimit, Slot(0).LeftLimit),
            std::tuple(kEnemy0Stinger, 96 - 38 - 32, 2400 + 24, 300 - 24));
}

TEST_F(EnemiesTest, EveryStepFollowsTheViewsMovement) {
  // {moving left, the view's move, the enemy's step}: a walker keeps pace with a hero walking
  // the same way.
  for (auto [left, viewMove, step] :
       {std::tuple{false, 0, 6}, std::tuple{false, 4, 2}, std::tuple{false, -4, 10},
        std::tuple{true, 0, -4}, std::tuple{true, 4, -8}, std::tuple{true, -4, 0}}) {
    Enemy& e = PlaceEnemy(1, kEnemy3Brute, 100, 56, left);
    e.Speed = left ? 0 : 2;
    e.RightLimit = 3000;
    e.LeftLimit = -3000;
    EXPECT_EQ(StepX(e, viewMove), step) << left << " " << viewMove;
  }
}

TEST_F(EnemiesTest, EnemiesTurnAtTheirZonesEndsAndVanishOffScreen) {
  auto afterOneStep = [&](int x, bool movingLeft, int rightLimit, int leftLimit) {
    Enemy& e = PlaceEnemy(1, kEnemy3Brute, x, 56, movingLeft);
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

TEST_F(EnemiesTest, TheTouchTestUsesTheHerosPictureAndFixedSides) {
  auto touches = [&](int kind, int xBeforeStep, int y) {
    StandHero(kHero03StandRight);
    v.hero.HeroCaught = false;
    Enemy& e = PlaceEnemy(1, kind, xBeforeStep, y);
    e.RightLimit = 3000;
    StepX(e, 0);  // a still view: the enemy walks 4 pixels
    return v.hero.HeroCaught;
  };
  EXPECT_FALSE(touches(kEnemy3Brute, 90, 56));  // right edge at 117
  EXPECT_TRUE(touches(kEnemy3Brute, 91, 56));   // at 118
  EXPECT_EQ(std::tuple(v.hero.HeroState, v.hero.HeroActive, v.hero.Walking),
            std::tuple(kHero03StandRight, false, false));
  EXPECT_TRUE(touches(kEnemy3Brute, 109, 56));  // 113 + 12 < 105 + 22 - 1
  EXPECT_FALSE(touches(kEnemy3Brute, 110, 56));
  EXPECT_FALSE(touches(kEnemy3Brute, 100, 96));   // below his feet
  EXPECT_TRUE(touches(kEnemy0Stinger, 100, 26));  // a flyer reaches a standing hero's head
  v.game.HideHero = true;
  EXPECT_FALSE(touches(kEnemy3Brute, 100, 56));
}

TEST_F(EnemiesTest, EachSlotTriesItsOwnSpawnerWhileTheHeroIsInPlay) {
  settings.SpawnRarityScale = 0;
  v.level.SpawnZoneB[0] = {900, 300, kEnemy4Stilts, 0};
  v.level.SpawnZoneBCount = 1;
  v.hero.HeroActive = false;
  UpdateEnemies(v);
  EXPECT_FALSE(Slot(0).Active || Slot(1).Active || Slot(2).Active);  // nobody comes for him
  v.hero.HeroActive = true;
  UpdateEnemies(v);
  EXPECT_EQ(std::tuple(Slot(0).Kind, Slot(1).Kind, Slot(2).Kind),
            std::tuple(kEnemy0Stinger, kEnemy3Brute, kEnemy4Stilts));
}

class ShotsTest : public ::testing::Test, protected GameplayFixture {
 protected:
  ShotsTest() {
    settings.MaxEnemies = 3;
    PrepareSlots();
  }

  // Whether each of the four slots still holds a live enemy.
  std::vector<bool> Alive() const {
    std::vector<bool> alive;
    for (const Enemy& e : v.game.Enemies) alive.push_back(e.Active);
    return alive;
  }
  // A crouching hero facing right or left fires.
  void CrouchAndFire(int state) {
    StandHero(state == kHero04CrouchRight ? kHero03StandRight : kHero07StandLeft);
    HeroKeyDown(v);
    HeroKeyFire(v);
  }
};

TEST_F(ShotsTest, AShotThatHitsNothingShowsSixPicturesWithARisingPitchAndEnds) {
  sound.LoadSoundsAndMusic(platform, true, false, "/nonexistent/");
  CrouchAndFire(kHero04CrouchRight);
  std::vector<int> busy;
  for (int call = 0; call < 6; ++call) {
    StepShot(v);
    busy.push_back(v.hero.HeroBusy);
  }
  EXPECT_EQ(busy, (std::vector<int>{2, 3, 4, 5, 6, 0}));
  EXPECT_EQ(v.hero.HeroState, kHero04CrouchRight);  // still down: the key is held

  std::vector<std::string> pitches;
  for (const auto& line : tracer.lines) {
    if (line.rfind("sound frequency 12", 0) == 0) pitches.push_back(line.substr(19));
  }
  EXPECT_EQ(pitches, (std::vector<std::string>{"1000", "2000", "3000", "4000", "5000", "6000"}));
}

TEST_F(ShotsTest, AHeroWhoLetGoOfDownStaysDownUntilTheShotEndsThenStandsUp) {
  CrouchAndFire(kHero06CrouchLeft);
  ASSERT_EQ(v.hero.HeroBusy, 8);
  HeroKeyRelease(v, vk::kDown);
  EXPECT_EQ(std::tuple(v.hero.DownHeld, v.hero.HeroState), std::tuple(false, kHero06CrouchLeft));
  for (int call = 0; call < 6; ++call) StepShot(v);
  EXPECT_EQ(std::tuple(v.hero.HeroBusy, v.hero.HeroState, v.hero.HeroY),
            std::tuple(0, kHero07StandLeft, kGroundLine));
}

TEST_F(ShotsTest, FacingRightTheFirstThreeStepsHitFacingLeftTheFirstFive) {
  // {facing state, steps before the enemy comes, its x (where the next picture lands), hit}
  for (auto [state, before, x, hit] :
       {std::tuple{kHero04CrouchRight, 3, 220, false}, std::tuple{kHero06CrouchLeft, 4, 20, true},
        std::tuple{kHero06CrouchLeft, 5, 20, false}}) {
    PrepareSlots();
    CrouchAndFire(state);
    for (int call = 0; call < before; ++call) StepShot(v);
    PlaceEnemy(1, kEnemy2Hopper, x, 56);
    StepShot(v);
    EXPECT_EQ(!Slot(1).Active, hit) << state << " " << before;
  }
}

TEST_F(ShotsTest, FlyersAreShotFromIslandsAndWalkersFromTheGround) {
  auto shotDown = [&](int slot, int kind, int groundY, int y) {
    PrepareSlots();
    StandHero(kHero03StandRight);
    HeroKeyDown(v);
    v.hero.GroundY = static_cast<std::int16_t>(groundY);
    PlaceEnemy(slot, kind, 150, y);
    HeroKeyFire(v);
    StepShot(v);
    return !Slot(slot).Active;
  };
  // {slot, kind, GroundY, enemy's row, shot down}: a flyer's picture in a walker's slot is a walker
  for (auto [slot, kind, groundY, y, hit] : {std::tuple{0, kEnemy0Stinger, kGroundLine, 40, false},
                                             std::tuple{0, kEnemy0Stinger, 40, 40, true},
                                             std::tuple{1, kEnemy0Stinger, kGroundLine, 40, true},
                                             std::tuple{1, kEnemy2Hopper, 40, 40, false},
                                             std::tuple{2, kEnemy2Hopper, kGroundLine, 56, true},
                                             std::tuple{3, kEnemy2Hopper, kGroundLine, 56, false}})
    EXPECT_EQ(shotDown(slot, kind, groundY, y), hit) << slot << " " << kind << " " << groundY;
}

TEST_F(ShotsTest, TheCloseAttackReachesAFixedStretchInFrontAndTheScorePassesSixteenBits) {
  v.game.Score = 32700;
  v.hero.HeroState = kHero23AttackRight;
  PlaceEnemy(0, kEnemy0Stinger, 114, 26);
  PlaceEnemy(1, kEnemy2Hopper, 115, 56);
  PlaceEnemy(2, kEnemy3Brute, 143, 56);
  PlaceEnemy(3, kEnemy2Hopper, 144, 56);
  AttackHitTest(v);
  EXPECT_EQ(Alive(), (std::vector<bool>{true, false, false, true}));
  EXPECT_EQ(v.game.Score, 33100);

  PrepareSlots();
  v.hero.HeroState = kHero27AttackLeft;
  v.hero.HeroOffsetX = -10;
  PlaceEnemy(0, kEnemy0Stinger, 68, 26);
  PlaceEnemy(1, kEnemy0Stinger, 69, 26);  // flyers too: the blade reaches up
  PlaceEnemy(2, kEnemy2Hopper, 95, 56);
  PlaceEnemy(3, kEnemy2Hopper, 96, 56);
  AttackHitTest(v);
  EXPECT_EQ(Alive(), (std::vector<bool>{true, false, false, true}));
}

TEST_F(ShotsTest, TheArmouredWalkerShrugsOffTheBladeButNotTheLaser) {
  v.hero.HeroState = kHero23AttackRight;
  PlaceEnemy(1, kEnemy1Armoured, 130, 69);
  AttackHitTest(v);
  EXPECT_TRUE(Slot(1).Active);
  CrouchAndFire(kHero04CrouchRight);
  PlaceEnemy(1, kEnemy1Armoured, 150, 69);
  StepShot(v);
  EXPECT_FALSE(Slot(1).Active);
}

TEST_F(ShotsTest, AWreckBurnsForTwoFramesWhereTheEnemyWasInTheLevel) {
  Enemy& e = PlaceEnemy(1, kEnemy2Hopper, 100, 56);
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

}  // namespace
}  // namespace zendor::testing
