// The shipped level, data/zendor.map, read by the game's own loader and played through the
// game's own walking, jumping, island and pit routines: it loads whole within the game's limits,
// its four sections play themes 7 to 10, every pit and lava pool can be jumped (the chasms only
// by way of their island), and a hero who comes back after a lost life stands on safe ground.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/settings.h"
#include "assets/sprite_sheets.h"
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

std::string ShippedMap() {
  std::ifstream file(std::string(ZENDOR_SOURCE_DIR) + "/data/zendor.map", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The shipped map loaded by the game, as a game sees it before the first frame.
struct ShippedLevel {
  ShippedLevel() {
    LoadTestArt(f);
    folder.Write("zendor.map", ShippedMap());
    f.settings.ProgramFolder = folder.folder();
    ::testing::internal::CaptureStderr();
    PrepareSpriteSheets(f.v);
    said = ::testing::internal::GetCapturedStderr();
    f.v.game.Playing = true;  // the hero's keys would otherwise resume a paused game
  }

  int Marks() const { return l.LastSectionEntry - 1; }  // the last entry holds the length
  int Length() const { return l.SectionStartX[static_cast<std::size_t>(l.LastSectionEntry)]; }
  int ScrollLimit() const { return l.EndPieceX - 84; }

  ScratchFolder folder;
  GameFixture f;
  std::string said;
  LevelTables& l = f.v.level;
};

// A hazard the hero has to jump: a pit (with or without an island over it) or a lava pool, as
// the strip x range in which standing kills him.
struct Hazard {
  int x, width;
  bool lava;
  std::optional<int> island;
};

std::vector<Hazard> Hazards(const LevelTables& l) {
  std::vector<Hazard> out;
  for (int i = 1; i <= l.PitCount; ++i) {
    Hazard pit{l.PitX[i], l.PitWidth[i], false, std::nullopt};
    for (int j = 1; j <= l.IslandCount; ++j) {
      const int x = l.Island[j].X;
      if (x >= pit.x && x <= pit.x + pit.width) pit.island = x;
    }
    out.push_back(pit);
  }
  for (int i = 1; i <= l.AnimatedPieceCount; ++i)
    out.push_back({l.AnimatedPieceX[i], kLavaGlow, true, {}});
  std::ranges::sort(out, {}, &Hazard::x);
  return out;
}

// The hero's part of a frame, in the game loop's order: the lava, the islands and pits, then his
// own upkeep (walking, jumping, landing).
void PlayFrame(Ventana& v) {
  UpdateAnimatedPieces(v);
  UpdateIslandsAndPits(v);
  HeroUpkeep(v);
}

bool Lost(const Hero& h) {
  return h.HeroCaught || !h.HeroActive || (h.PitFall && h.HeroY >= 55);
}

double HeroX(const Ventana& v) {
  return v.game.ScrollX + kHeroScreenX;
}

// Where a jump ends: the strip x he stands at afterwards, or nothing if it killed him.
struct Outcome {
  std::optional<int> standsAt;
  bool usedIsland = false;
};

// A player's jump: from standing at `takeOff` he holds right and jump until the top of the
// jump. If he comes down on an island he walks on to its last safe step and jumps again. Once on
// the ground beyond, he stops and stays two frames.
Outcome Jump(Ventana& v, int takeOff, int islandRow, bool islandRising) {
  Hero& h = v.hero;
  ResetHero(v);
  h.HeroCaught = false;
  h.Walking = false;
  h.CrouchDrop = 0;
  v.game.ScrollX = takeOff - kHeroScreenX;
  v.game.ScrollSpeed = 1;
  v.level.Island[0].X = 0;
  v.level.Island[1].Y = static_cast<std::int16_t>(islandRow);
  v.level.Island[1].Rising = islandRising;
  h.HeroState = 3;
  h.GroundY = 55;
  h.OnIsland = false;
  HeroKeyRight(v);
  HeroKeyUp(v);
  Outcome out;
  int standing = 0;
  for (int frame = 0; frame < 200 && standing < 2; ++frame) {
    PlayFrame(v);
    if (Lost(h)) return {};
    if (h.UpHeld && h.JumpFalling) HeroKeyRelease(v, v.settings.KeyBindings[kBindUp]);
    if (h.HeroState == 3 && h.OnIsland) {
      out.usedIsland = true;
      // He jumps from his last step on the island: one more would leave its reach.
      if (HeroX(v) + kWalkStep > v.level.Island[0].X + kIslandReachRight) HeroKeyUp(v);
    } else if (h.HeroState == 3 && h.HeroY == 55) {
      if (h.RightHeld) HeroKeyRelease(v, v.settings.KeyBindings[kBindRight]);
      ++standing;
    }
  }
  if (standing < 2) return {};
  out.standsAt = static_cast<int>(HeroX(v));
  return out;
}

// The walking grid: every strip x the hero can stand at is the start x plus a multiple of 4.
int GridAtOrBelow(int x) {
  return x - ((x - kFirstHeroX) % kWalkStep + kWalkStep) % kWalkStep;
}

// A hero standing at `x` on the ground is wholly inside none of the hazards.
bool SafeGround(const std::vector<Hazard>& hazards, int x) {
  return std::ranges::none_of(
      hazards, [x](const Hazard& hz) { return x >= hz.x && x + 22 <= hz.x + hz.width; });
}

// Up to `wanted` spots on safe ground before the hazard, from the last one back, from which a
// jump lands beyond it.
std::vector<int> TakeOffSpots(Ventana& v, const std::vector<Hazard>& hazards, const Hazard& hz,
                              std::size_t wanted) {
  std::vector<int> spots;
  for (int x = GridAtOrBelow(hz.x - 1); x > hz.x - 160 && spots.size() < wanted; x -= kWalkStep) {
    if (!SafeGround(hazards, x)) continue;
    const Outcome o = Jump(v, x, 77, false);
    if (o.standsAt && *o.standsAt + 22 > hz.x + hz.width) spots.push_back(x);
  }
  return spots;
}

TEST(ShippedLevel, LoadsWholeWithinTheGameLimits) {
  ShippedLevel level;
  const LevelTables& l = level.l;
  EXPECT_EQ(level.said, "") << "the loader stopped early";
  EXPECT_GT(l.EndPieceX, 0);
  EXPECT_GE(level.Length(), 5000);
  EXPECT_LE(level.Length(), 8000);
  EXPECT_LT(l.EndPieceX + 112, level.Length()) << "ground beyond the outpost fills the last view";
  EXPECT_LE(l.PitCount, LevelTables::kPits);
  EXPECT_LE(l.AnimatedPieceCount, LevelTables::kListEntries);
  EXPECT_LE(l.IslandCount, LevelTables::kListEntries);
  EXPECT_GE(l.TallPropCount, 2) << "rock columns as landmarks";
  EXPECT_GE(l.IslandCount, 3);

  // Zones of both families, every enemy kind, each closed after it opened and inside the level.
  std::set<int> kinds;
  for (const auto* family : {&l.SpawnZoneA, &l.SpawnZoneB}) {
    const int count = family == &l.SpawnZoneA ? l.SpawnZoneACount : l.SpawnZoneBCount;
    EXPECT_GE(count, 3);
    for (int z = 0; z < count; ++z) {
      const SpawnZone& zone = (*family)[static_cast<std::size_t>(z)];
      kinds.insert(zone.Kind);
      EXPECT_LT(zone.StartX, zone.EndX);
      EXPECT_LE(zone.EndX, l.EndPieceX);
      EXPECT_GT(zone.Rarity, 0);
    }
  }
  EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 4}));
}

TEST(ShippedLevel, FourSectionsPlayThemesSevenToTenAndGrowHarder) {
  ShippedLevel level;
  const LevelTables& l = level.l;
  // Section n plays entry n + 1; the fourth mark only records the last section's theme and lies
  // where the view never goes, so no fifth section ever starts.
  ASSERT_EQ(level.Marks(), 4);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(l.SectionMusic[static_cast<std::size_t>(n)], 6 + n);
  EXPECT_GT(l.SectionStartX[4], level.ScrollLimit());
  for (int n = 1; n <= 3; ++n) {
    EXPECT_GT(l.SectionStartX[static_cast<std::size_t>(n)],
              l.SectionStartX[static_cast<std::size_t>(n - 1)] + 1000)
        << "section " << n - 1 << " is too short";
  }
  EXPECT_LT(l.SectionStartX[3], level.ScrollLimit());

  // Spawn rarity by the section a zone opens in: the first section is the gentlest.
  auto sectionOf = [&l](int x) {
    int n = 0;
    while (n < 3 && x - kHeroScreenX >= l.SectionStartX[static_cast<std::size_t>(n + 1)]) ++n;
    return n;
  };
  int rarest[4] = {0, 0, 0, 0}, commonest[4] = {1000, 1000, 1000, 1000};
  for (const auto* family : {&l.SpawnZoneA, &l.SpawnZoneB}) {
    const int count = family == &l.SpawnZoneA ? l.SpawnZoneACount : l.SpawnZoneBCount;
    for (int z = 0; z < count; ++z) {
      const SpawnZone& zone = (*family)[static_cast<std::size_t>(z)];
      const int n = sectionOf(zone.StartX);
      rarest[n] = std::max<int>(rarest[n], zone.Rarity);
      commonest[n] = std::min<int>(commonest[n], zone.Rarity);
    }
  }
  for (int n = 1; n <= 3; ++n) {
    EXPECT_LT(rarest[n], commonest[n - 1]) << "section " << n << " is not harder than the last";
  }
}

TEST(ShippedLevel, EveryPitAndPoolCanBeJumpedAndChasmsOnlyByTheirIsland) {
  ShippedLevel level;
  Ventana& v = level.f.v;
  const std::vector<Hazard> hazards = Hazards(level.l);
  ASSERT_FALSE(hazards.empty());
  for (const Hazard& hz : hazards) {
    const std::string what = (hz.lava ? "lava at " : "pit at ") + std::to_string(hz.x);
    if (!hz.island) {
      EXPECT_EQ(TakeOffSpots(v, hazards, hz, kFairTakeOffSpots).size(), kFairTakeOffSpots) << what;
      continue;
    }
    // Whatever the island's bob, walking up to the edge and jumping reaches it, and its last
    // step carries him over.
    for (int row = 71; row <= 83; ++row) {
      for (bool rising : {false, true}) {
        const Outcome o = Jump(v, GridAtOrBelow(hz.x - 1), row, rising);
        EXPECT_TRUE(o.standsAt && o.usedIsland && *o.standsAt > hz.x + hz.width - 22)
            << what << " with the island at row " << row << (rising ? " rising" : " sinking");
      }
    }
    // Without the island not even the jump from the last spot, the one that carries him
    // furthest, clears it.
    const std::int16_t islands = level.l.IslandCount;
    level.l.IslandCount = 0;
    EXPECT_FALSE(Jump(v, GridAtOrBelow(hz.x - 1), 77, false).standsAt)
        << what << " is jumpable without its island";
    level.l.IslandCount = islands;
  }
}

TEST(ShippedLevel, IslandsStandOverChasmsFarEnoughApartToCarryTheHero) {
  ShippedLevel level;
  const LevelTables& l = level.l;
  for (int i = 1; i <= l.IslandCount; ++i) {
    const int x = l.Island[i].X;
    bool overPit = false;
    for (int p = 1; p <= l.PitCount; ++p) {
      overPit = overPit || (x - kIslandReachLeft >= l.PitX[p] &&
                            x + kIslandReachRight + 22 <= l.PitX[p] + l.PitWidth[p]);
    }
    EXPECT_TRUE(overPit) << "island at " << x;
    // The hero rides the island drawn last: no later island may be on view while he stands on
    // this one (ScrollX from x - 125 to x - 82).
    for (int j = i + 1; j <= l.IslandCount; ++j) {
      const int other = l.Island[j].X;
      const bool apart = x - 82 <= other - 240 || x - 125 >= other + 23;
      EXPECT_TRUE(apart) << "islands at " << x << " and " << other;
    }
  }
}

TEST(ShippedLevel, HeroComesBackOnSafeGroundAtEverySectionStart) {
  ShippedLevel level;
  Ventana& v = level.f.v;
  for (int n = 0; n <= 3; ++n) {
    v.game.ScrollX = level.l.SectionStartX[static_cast<std::size_t>(n)];
    ResetHero(v);
    v.hero.HeroCaught = false;
    v.hero.GroundY = 55;
    v.hero.Walking = false;
    for (int frame = 0; frame < 10; ++frame) PlayFrame(v);
    EXPECT_FALSE(Lost(v.hero)) << "section " << n;
    EXPECT_EQ(v.hero.HeroY, 55) << "section " << n;
    EXPECT_FALSE(v.hero.OnIsland) << "section " << n;
    // Nothing to jump right where he appears.
    for (const Hazard& hz : Hazards(level.l)) {
      EXPECT_FALSE(hz.x < HeroX(v) + 96 && HeroX(v) < hz.x + hz.width)
          << "section " << n << " starts next to the hazard at " << hz.x;
    }
  }
}

}  // namespace
}  // namespace zendor::testing
