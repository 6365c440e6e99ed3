// The shipped level, data/zendor.map, read by the game's own loader and played through the
// game's own walking, jumping, island and pit routines: it loads whole within the game's limits,
// its four sections play themes 7 to 10 and grow harder, every pit and lava pool can be jumped
// (the chasms only by way of their island), islands stand far enough apart, and a hero who comes
// back after a lost life stands on safe ground.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "assets/sprite_sheets.h"
#include "common/settings.h"
#include "common/sound_catalogue.h"
#include "game/game_loop.h"
#include "game/hero.h"
#include "support/game_fixture.h"
#include "world/playfield.h"
#include "world/test_art.h"

namespace zendor::testing {
namespace {

constexpr int kWalkStep = 4;          // the view moves 4 pixels a frame
constexpr int kFirstHeroX = 8 + 105;  // the hero's strip x as a game starts
constexpr int kLavaGlow = 68;         // the deadly width of a lava pool
constexpr int kIslandReachLeft = 20, kIslandReachRight = 23;
constexpr std::size_t kFairTakeOffSpots = 5;  // frames in which a jump over a pit or pool can start

// A hazard the hero has to jump: a pit (with or without an island over it) or a lava pool, as
// the strip x range in which standing kills him.
struct Hazard {
  int x, width;
  bool lava;
  std::optional<int> island;
};

// Where a jump ends: the strip x he stands at afterwards, or nothing if it killed him.
struct Outcome {
  std::optional<int> standsAt;
  bool usedIsland = false;
};

// The shipped map loaded by the game, as a game sees it before the first frame.
class ShippedLevel : public ::testing::Test {
 protected:
  ShippedLevel() {
    LoadTestArt(f);
    f.settings.ProgramFolder = ZENDOR_SOURCE_DIR "/data/";
    ::testing::internal::CaptureStderr();
    PrepareSpriteSheets(v);
    said = ::testing::internal::GetCapturedStderr();
    v.game.Playing = true;  // the hero's keys would otherwise resume a paused game
  }

  int ScrollLimit() const { return l.EndPieceX - 84; }
  double HeroX() const { return v.game.ScrollX + kHeroScreenX; }

  std::vector<SpawnZone> Zones() const {
    std::vector<SpawnZone> zones(l.SpawnZoneA.begin(), l.SpawnZoneA.begin() + l.SpawnZoneACount);
    zones.insert(zones.end(), l.SpawnZoneB.begin(), l.SpawnZoneB.begin() + l.SpawnZoneBCount);
    return zones;
  }

  std::vector<Hazard> Hazards() const {
    std::vector<Hazard> out;
    for (int i = 1; i <= l.PitCount; ++i) {
      Hazard pit{l.PitX[i], l.PitWidth[i], false, std::nullopt};
      for (int j = 1; j <= l.IslandCount; ++j)
        if (l.Island[j].X >= pit.x && l.Island[j].X <= pit.x + pit.width)
          pit.island = l.Island[j].X;
      out.push_back(pit);
    }
    for (int i = 1; i <= l.AnimatedPieceCount; ++i)
      out.push_back({l.AnimatedPieceX[i], kLavaGlow, true, {}});
    std::ranges::sort(out, {}, &Hazard::x);
    return out;
  }

  // The hero's part of a frame, in the game loop's order: the lava, the islands and pits, then
  // his own upkeep (walking, jumping, landing). True while he lives.
  bool PlayFrame() {
    UpdateAnimatedPieces(v);
    UpdateIslandsAndPits(v);
    HeroUpkeep(v);
    const Hero& h = v.hero;
    return !(h.HeroCaught || !h.HeroActive || (h.PitFall && h.HeroY >= kGroundLine));
  }

  // A player's jump: from standing at `takeOff` he holds right and jump until the top of the
  // jump. If he comes down on an island he walks on to its last safe step and jumps again. Once
  // on the ground beyond, he stops and stays two frames.
  Outcome Jump(int takeOff, int islandRow, bool islandRising) {
    Hero& h = v.hero;
    ResetHero(v.hero, v.game);
    h.HeroCaught = h.Walking = h.OnIsland = false;
    h.CrouchDrop = 0;
    v.game.ScrollX = takeOff - kHeroScreenX;
    v.game.ScrollSpeed = 1;
    l.Island[0].X = 0;
    l.Island[1].Y = static_cast<std::int16_t>(islandRow);
    l.Island[1].Rising = islandRising;
    h.HeroState = kHero03StandRight;
    h.GroundY = kGroundLine;
    HeroKeyRight(v);
    HeroKeyUp(v);
    Outcome out;
    int standing = 0;
    for (int frame = 0; frame < 200 && standing < 2; ++frame) {
      if (!PlayFrame()) return {};
      if (h.UpHeld && h.JumpFalling) HeroKeyRelease(v, v.settings.KeyBindings[kBindUp]);
      if (h.HeroState == kHero03StandRight && h.OnIsland) {
        out.usedIsland = true;
        // He jumps from his last step on the island: one more would leave its reach.
        if (HeroX() + kWalkStep > l.Island[0].X + kIslandReachRight) HeroKeyUp(v);
      } else if (h.HeroState == kHero03StandRight && h.HeroY == kGroundLine) {
        if (h.RightHeld) HeroKeyRelease(v, v.settings.KeyBindings[kBindRight]);
        ++standing;
      }
    }
    if (standing == 2) out.standsAt = static_cast<int>(HeroX());
    return out;
  }

  GameFixture f;
  Ventana& v = f.v;
  LevelTables& l = f.v.level;
  std::string said;
};

// The walking grid: every strip x the hero can stand at is the start x plus a multiple of 4.
int GridAtOrBelow(int x) {
  return x - ((x - kFirstHeroX) % kWalkStep + kWalkStep) % kWalkStep;
}

TEST_F(ShippedLevel, LoadsWholeWithinTheGameLimits) {
  EXPECT_EQ(said, "") << "the loader stopped early";
  const int length = l.SectionStartX[static_cast<std::size_t>(l.LastSectionEntry)];
  EXPECT_GT(l.EndPieceX, 0);
  EXPECT_GE(length, 5000);
  EXPECT_LE(length, 8000);
  EXPECT_LT(l.EndPieceX + 112, length) << "ground beyond the outpost fills the last view";
  EXPECT_LE(l.PitCount, LevelTables::kPits);
  EXPECT_LE(l.AnimatedPieceCount, LevelTables::kListEntries);
  EXPECT_LE(l.IslandCount, LevelTables::kListEntries);
  EXPECT_GE(l.TallPropCount, 2) << "rock columns as landmarks";
  EXPECT_GE(l.IslandCount, 3);
  // Zones of both families, every enemy kind, each closed after it opened and inside the level.
  EXPECT_GE(l.SpawnZoneACount, 3);
  EXPECT_GE(l.SpawnZoneBCount, 3);
  std::set<int> kinds;
  for (const SpawnZone& zone : Zones()) {
    kinds.insert(zone.Kind);
    EXPECT_LT(zone.StartX, zone.EndX);
    EXPECT_LE(zone.EndX, l.EndPieceX);
    EXPECT_GT(zone.Rarity, 0);
  }
  EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 4}));
}

TEST_F(ShippedLevel, FourSectionsPlayThemesSevenToTenAndGrowHarder) {
  // Section n plays entry n + 1; the fourth mark (the last entry holds the length) only records
  // the last section's theme and lies where the view never goes, so no fifth section starts.
  ASSERT_EQ(l.LastSectionEntry - 1, 4);
  const MusicTheme themes[] = {kTheme07Exploration, kTheme08Pursuit, kTheme09Ambush,
                               kTheme10FinalPush};
  for (std::size_t n = 1; n <= 4; ++n) EXPECT_EQ(l.SectionMusic[n], themes[n - 1]);
  EXPECT_GT(l.SectionStartX[4], ScrollLimit());
  for (std::size_t n = 1; n <= 3; ++n)
    EXPECT_GT(l.SectionStartX[n], l.SectionStartX[n - 1] + 1000)
        << "section " << n - 1 << " is too short";
  EXPECT_LT(l.SectionStartX[3], ScrollLimit());
  // Spawn rarity by the section a zone opens in: the first section is the gentlest.
  int rarest[4] = {0, 0, 0, 0}, commonest[4] = {1000, 1000, 1000, 1000};
  for (const SpawnZone& zone : Zones()) {
    std::size_t n = 0;
    while (n < 3 && zone.StartX - kHeroScreenX >= l.SectionStartX[n + 1]) ++n;
    rarest[n] = std::max<int>(rarest[n], zone.Rarity);
    commonest[n] = std::min<int>(commonest[n], zone.Rarity);
  }
  for (int n = 1; n <= 3; ++n)
    EXPECT_LT(rarest[n], commonest[n - 1]) << "section " << n << " is not harder than the last";
}

TEST_F(ShippedLevel, EveryPitAndPoolCanBeJumpedAndChasmsOnlyByTheirIsland) {
  const std::vector<Hazard> hazards = Hazards();
  ASSERT_FALSE(hazards.empty());
  for (const Hazard& hz : hazards) {
    SCOPED_TRACE((hz.lava ? "lava at " : "pit at ") + std::to_string(hz.x));
    if (!hz.island) {
      // Enough spots on safe ground (wholly inside no hazard) before it, from the last one
      // back, from which a jump lands beyond it.
      std::size_t spots = 0;
      for (int x = GridAtOrBelow(hz.x - 1); x > hz.x - 160 && spots < kFairTakeOffSpots;
           x -= kWalkStep) {
        if (std::ranges::any_of(
                hazards, [x](const Hazard& o) { return x >= o.x && x + 22 <= o.x + o.width; }))
          continue;
        const Outcome o = Jump(x, 77, false);
        spots += o.standsAt && *o.standsAt + 22 > hz.x + hz.width;
      }
      EXPECT_EQ(spots, kFairTakeOffSpots);
      continue;
    }
    // Whatever the island's bob, walking up to the edge and jumping reaches it, and its last
    // step carries him over.
    for (int row = 71; row <= 83; ++row)
      for (bool rising : {false, true}) {
        const Outcome o = Jump(GridAtOrBelow(hz.x - 1), row, rising);
        EXPECT_TRUE(o.standsAt && o.usedIsland && *o.standsAt > hz.x + hz.width - 22)
            << "the island at row " << row << (rising ? " rising" : " sinking");
      }
    // Without the island not even the jump from the last spot, the one that carries him
    // furthest, clears it.
    const std::int16_t islands = l.IslandCount;
    l.IslandCount = 0;
    EXPECT_FALSE(Jump(GridAtOrBelow(hz.x - 1), 77, false).standsAt)
        << "jumpable without its island";
    l.IslandCount = islands;
  }
}

TEST_F(ShippedLevel, IslandsStandOverChasmsFarEnoughApartToCarryTheHero) {
  for (int i = 1; i <= l.IslandCount; ++i) {
    const int x = l.Island[i].X;
    bool overPit = false;
    for (int p = 1; p <= l.PitCount; ++p)
      overPit = overPit || (x - kIslandReachLeft >= l.PitX[p] &&
                            x + kIslandReachRight + 22 <= l.PitX[p] + l.PitWidth[p]);
    EXPECT_TRUE(overPit) << "island at " << x;
    // The hero rides the island drawn last: no later island may be on view while he stands on
    // this one (ScrollX from x - 125 to x - 82).
    for (int j = i + 1; j <= l.IslandCount; ++j) {
      const int other = l.Island[j].X;
      EXPECT_TRUE(x - 82 <= other - 240 || x - 125 >= other + 23)
          << "islands at " << x << " and " << other;
    }
  }
}

TEST_F(ShippedLevel, HeroComesBackOnSafeGroundAtEverySectionStart) {
  for (std::size_t n = 0; n <= 3; ++n) {
    SCOPED_TRACE("section " + std::to_string(n));
    v.game.ScrollX = l.SectionStartX[n];
    ResetHero(v.hero, v.game);
    v.hero.HeroCaught = v.hero.Walking = false;
    v.hero.GroundY = kGroundLine;
    bool alive = false;
    for (int frame = 0; frame < 10; ++frame) alive = PlayFrame();
    EXPECT_TRUE(alive);
    EXPECT_EQ(v.hero.HeroY, kGroundLine);
    EXPECT_FALSE(v.hero.OnIsland);
    // Nothing to jump right where he appears.
    for (const Hazard& hz : Hazards())
      EXPECT_FALSE(hz.x < HeroX() + 96 && HeroX() < hz.x + hz.width) << "hazard at " << hz.x;
  }
}

}  // namespace
}  // namespace zendor::testing
