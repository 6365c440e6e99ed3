// Trimming a trace to the fields a scenario proves: the names it knows are the ones the trace
// writes, the kept fields keep their order and their values, and "changes only" leaves out
// nothing a reader could not tell from the lines that remain.
#include "replay/trace_fields.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "replay/json_trace.h"
#include "replay/options.h"
#include "support/game_fixture.h"

namespace zendor::replay {
namespace {

// The frame line JsonTrace writes for a game with one enemy on screen.
std::string WrittenFrameLine() {
  testing::GameFixture f;
  f.v.game.Enemies = {Enemy{.Active = true, .Kind = kEnemy2Hopper, .X = 40}};
  f.v.game.EnemySlotBusy = {false};
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
  JsonTrace trace(
      file.get(), [] { return 0u; }, false);
  trace.Frame(f.v);
  std::rewind(file.get());
  char buffer[4096] = {};
  const std::size_t read = std::fread(buffer, 1, sizeof buffer - 1, file.get());
  std::string line(buffer, read);
  if (!line.empty() && line.back() == '\n') line.pop_back();
  return line;
}

std::vector<std::string> Names(const std::string& object) {
  std::vector<std::string> names;
  const auto members = SplitJsonObject(object);
  if (members) {
    for (const auto& member : *members) names.push_back(member.first);
  }
  return names;
}

TEST(TraceFields, KnowsExactlyTheFieldsAFrameLineHas) {
  const auto members = SplitJsonObject(WrittenFrameLine());
  ASSERT_TRUE(members);
  std::vector<std::string> expected = {"type", "t", "n"};
  for (auto name : TraceFields::FrameFields()) expected.emplace_back(name);
  EXPECT_EQ(Names(WrittenFrameLine()), expected);

  const std::string& enemies = members->back().second;
  std::vector<std::string> enemyExpected = {"slot"};
  for (auto name : TraceFields::EnemyFields()) enemyExpected.emplace_back(name);
  EXPECT_EQ(Names(enemies.substr(1, enemies.size() - 2)), enemyExpected);
}

TEST(TraceFields, KeepTheNamedFieldsInTraceOrderAndEveryOtherLineWhole) {
  std::string error;
  auto fields = TraceFields::Parse("Enemies.X,HeroY,HeroState,Enemies.HopStep", false, &error);
  ASSERT_TRUE(fields) << error;
  const std::string frame =
      R"({"type":"frame","t":75,"n":1,"HeroState":3,"HeroY":55,"Walking":true,)"
      R"("Enemies":[{"slot":1,"Active":true,"X":40,"HopStep":0},{"slot":2,"X":-9,"HopStep":-1}]})";
  EXPECT_EQ(fields->Apply(frame),
            R"({"type":"frame","t":75,"n":1,"HeroState":3,"HeroY":55,)"
            R"("Enemies":[{"slot":1,"X":40,"HopStep":0},{"slot":2,"X":-9,"HopStep":-1}]})");
  for (const std::string line : {R"({"type":"screen","t":0,"ScreenState":"menu"})",
                                 R"({"type":"message","t":9,"text":"a \"}\" and, a comma"})"}) {
    EXPECT_EQ(fields->Apply(line), line);
  }
}

TEST(TraceFields, ChangesOnlyLeavesOutFramesThatRepeatTheLastButNeverAGamesFirst) {
  std::string error;
  auto fields = TraceFields::Parse("HeroY", true, &error);
  ASSERT_TRUE(fields) << error;
  auto frame = [](int n, int y, bool walking) {
    return R"({"type":"frame","t":)" + std::to_string(75 * n) + R"(,"n":)" + std::to_string(n) +
           R"(,"HeroY":)" + std::to_string(y) + R"(,"Walking":)" + (walking ? "true" : "false") +
           "}";
  };
  std::vector<int> written;
  const std::tuple<int, int, bool> frames[] = {{1, 55, false}, {2, 55, true},  {3, 49, true},
                                               {4, 49, false}, {1, 49, false}, {2, 55, false}};
  for (auto [n, y, walking] : frames) {
    if (fields->Apply(frame(n, y, walking))) written.push_back(n);
  }
  EXPECT_EQ(written, (std::vector<int>{1, 3, 1, 2}));  // Walking is not among the kept fields
}

TEST(TraceFields, UnknownNamesAndChangesWithoutFieldsAreRefused) {
  std::string error;
  for (const char* list : {"HeroY,Heroy", "Enemies.slot", "", ","}) {
    EXPECT_FALSE(TraceFields::Parse(list, false, &error)) << list;
  }
  EXPECT_FALSE(TraceFields::Parse("HeroY,Heroy", false, &error));
  EXPECT_EQ(error, "--trace-fields: no frame field \"Heroy\"");

  std::vector<const char*> args = {"zendor-replay", "--trace-changes", "s.txt"};
  EXPECT_FALSE(
      ParseOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()), "dir", &error));
  EXPECT_EQ(error, "--trace-changes needs --trace-fields");
}

}  // namespace
}  // namespace zendor::replay
