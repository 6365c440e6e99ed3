#include "app/game_options.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zendor {
namespace {

std::optional<GameOptions> Parse(std::vector<std::string> words, std::string* error) {
  words.insert(words.begin(), "zendor");
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  return ParseGameOptions(static_cast<int>(argv.size()), argv.data(), error);
}

TEST(GameCommandLine, RecordAndTraceTakeAFileAndNothingElseIsAccepted) {
  std::string error;
  const auto both = Parse({"--trace", "t.jsonl", "--record", "g.zrec"}, &error);
  ASSERT_TRUE(both) << error;
  EXPECT_EQ(both->record, "g.zrec");
  EXPECT_EQ(both->trace, "t.jsonl");
  EXPECT_TRUE(Parse({}, &error)->record.empty());
  EXPECT_FALSE(Parse({"--record"}, &error));
  EXPECT_EQ(error, "--record needs a file name");
  EXPECT_FALSE(Parse({"--seed", "4"}, &error));
  EXPECT_EQ(error, "unknown option --seed");
}

TEST(GameCommandLine, TheIniSwitchRecordsIntoThePlayersDataFolderByDateAndTime) {
  const std::string folder = testing::TempDir() + "recording_switch/";
  std::filesystem::create_directories(folder);
  setenv("XDG_DATA_HOME", "/home/player/.data", 1);
  std::tm when{};
  when.tm_year = 126, when.tm_mon = 11, when.tm_mday = 6, when.tm_hour = 3, when.tm_min = 4;
  when.tm_sec = 5, when.tm_isdst = -1;
  const std::time_t started = std::mktime(&when);
  const auto write = [&](const std::string& text) {
    std::ofstream(folder + "Zendor Vostrik.INI") << text;
  };
  write("[Pantalla]\r\nDDraw=0\r\n");
  EXPECT_EQ(ConfiguredRecordingPath(folder, started), "");
  write("[Opciones]\r\nGrabar=0\r\n");
  EXPECT_EQ(ConfiguredRecordingPath(folder, started), "");
  write("[opciones]\r\ngrabar = 1\r\n");
  EXPECT_EQ(ConfiguredRecordingPath(folder, started),
            "/home/player/.data/zendor-vostrik/recordings/zendor 2026-12-06 03-04-05.zrec");
  unsetenv("XDG_DATA_HOME");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zendor
