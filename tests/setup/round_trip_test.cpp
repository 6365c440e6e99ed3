// Every choice the set-up offers, written to the files and read back by the game's own start-up,
// as the replay runner's start line reports it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/program.h"
#include "platform/headless/headless_platform.h"
#include "platform/virtual_keys.h"
#include "replay/json_trace.h"
#include "setup/setup_menu.h"
#include "setup/setup_values.h"
#include "support/game_fixture.h"

namespace zendor::setup {
namespace {

using testing::ScratchFolder;
using Row = SetupMenu::Row;

// The start line of a run of the whole program on the folder (in a temporary folder of its own:
// runs with the same seed beside it would name their files alike).
std::string StartLine(const std::string& folder) {
  std::FILE* out = std::tmpfile();
  ScratchFolder temp;
  HeadlessPlatform platform;
  platform.SetTempFolder(temp.folder());
  platform.StopAt(1, "until");
  platform.random().FixSeed(1);
  replay::JsonTrace trace(
      out, [&platform] { return platform.now(); }, false);
  RunProgram(platform, folder, trace);
  std::rewind(out);
  std::string text;
  for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
  std::fclose(out);
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    const std::string line = text.substr(at, end - at);
    if (line.find("\"type\":\"start\"") != std::string::npos) return line;
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return "no start line in: " + text;
}

std::string Field(const std::string& line, const std::string& name) {
  const auto at = line.find("\"" + name + "\":");
  if (at == std::string::npos) return "missing " + name;
  const auto from = at + name.size() + 3;
  return line.substr(from, line.find_first_of(",}", from) - from);
}

// A program folder with the shipped INI files, changed by the set-up screen's keys.
struct Chosen {
  ScratchFolder dir;
  std::string line;
  std::string explanation;
};

void Choose(Chosen& c, Row row, int rightPresses, std::vector<ScreenSize> sizes = {}) {
  for (const char* name : {"Zendor Vostrik.INI", "Brinmoor.INI"}) {
    std::filesystem::copy_file(std::filesystem::path(ZENDOR_SOURCE_DIR) / "data" / name,
                               c.dir.path() / name);
  }
  SetupMenu menu(ReadEffectiveValues(c.dir.folder()), std::move(sizes));
  for (int i = 0; i < static_cast<int>(row); ++i) menu.OnKey(vk::kDown);
  for (int i = 0; i < rightPresses; ++i) menu.OnKey(vk::kRight);
  c.explanation = menu.Explanation();
  std::string error;
  ASSERT_TRUE(WriteAssignments(c.dir.folder(), menu.Changes(), &error)) << error;
  c.line = StartLine(c.dir.folder());
}

TEST(SetupRoundTrip, EveryDifficultyGivesItsEnemiesAndRarity) {
  const struct {
    int level;
    const char* maxEnemies;
    const char* rarity;
    const char* shown;
  } table[] = {{0, "2", "4", "UP TO 3 ENEMIES - OFTEN"},
               {1, "2", "2", "UP TO 3 ENEMIES - VERY OFTEN"},
               {2, "5", "5", "UP TO 6 ENEMIES - NOW AND THEN"},
               {3, "8", "8", "UP TO 9 ENEMIES - SELDOM"},
               {4, "8", "5", "UP TO 9 ENEMIES - NOW AND THEN"},
               {5, "11", "8", "UP TO 12 ENEMIES - SELDOM"}};
  for (const auto& t : table) {
    SCOPED_TRACE(t.level);
    Chosen c;
    Choose(c, Row::Difficulty, t.level);
    EXPECT_EQ(Field(c.line, "MaxEnemies"), t.maxEnemies) << c.line;
    EXPECT_EQ(Field(c.line, "SpawnRarityScale"), t.rarity) << c.line;
    EXPECT_EQ(c.explanation, t.shown);
  }
}

TEST(SetupRoundTrip, DisplayChoicesGiveTheirPathAndZoom) {
  // Full screen: the picture centred unscaled on the 320 x 200 canvas.
  Chosen full;
  Choose(full, Row::Display, 0);
  EXPECT_EQ(Field(full.line, "DisplayOffsetX") + "," + Field(full.line, "DisplayOffsetY") + "," +
                Field(full.line, "DisplayScale"),
            "32,4,1");
  // There, fit to screen and a screen size change nothing, and the screen says so.
  {
    ScratchFolder dir;
    for (const char* name : {"Zendor Vostrik.INI", "Brinmoor.INI"}) {
      std::filesystem::copy_file(std::filesystem::path(ZENDOR_SOURCE_DIR) / "data" / name,
                                 dir.path() / name);
    }
    SetupMenu menu(ReadEffectiveValues(dir.folder()), {{1920, 1080}});
    menu.OnKey(vk::kDown);
    menu.OnKey(vk::kRight);  // fit to screen on
    EXPECT_EQ(menu.Explanation(), "USED WHEN PLAYING IN A WINDOW");
    menu.OnKey(vk::kDown);
    menu.OnKey(vk::kRight);  // 1920 x 1080
    EXPECT_EQ(menu.Explanation(), "USED WHEN PLAYING IN A WINDOW");
    std::string error;
    ASSERT_TRUE(WriteAssignments(dir.folder(), menu.Changes(), &error)) << error;
    const std::string line = StartLine(dir.folder());
    EXPECT_EQ(Field(line, "DisplayOffsetX") + "," + Field(line, "DisplayOffsetY") + "," +
                  Field(line, "DisplayScale"),
              "32,4,1")
        << line;
  }
  Chosen window;
  Choose(window, Row::Display, 1);
  EXPECT_EQ(Field(window.line, "DisplayOffsetX") + "," + Field(window.line, "DisplayOffsetY"),
            "0,0");
  EXPECT_EQ(window.explanation, "THE GAME PLAYS IN A WINDOW");

  // In a window, every desktop size with the fit switch on gives the zoom the screen shows.
  const std::vector<ScreenSize> desktop = {{640, 480}, {800, 600}, {1280, 720}, {1920, 1080}};
  const char* zooms[] = {"1", "2", "3", "4", "6"};  // the desktop as it is, then each size
  for (int i = 0; i <= 4; ++i) {
    SCOPED_TRACE(i);
    Chosen c;
    for (const char* name : {"Zendor Vostrik.INI", "Brinmoor.INI"}) {
      std::filesystem::copy_file(std::filesystem::path(ZENDOR_SOURCE_DIR) / "data" / name,
                                 c.dir.path() / name);
    }
    SetupMenu menu(ReadEffectiveValues(c.dir.folder()), desktop);
    menu.OnKey(vk::kRight);  // a window
    menu.OnKey(vk::kDown);
    menu.OnKey(vk::kRight);  // fit to screen on
    menu.OnKey(vk::kDown);
    for (int k = 0; k < i; ++k) menu.OnKey(vk::kRight);
    const std::string shown = menu.Explanation();
    std::string error;
    ASSERT_TRUE(WriteAssignments(c.dir.folder(), menu.Changes(), &error)) << error;
    const std::string line = StartLine(c.dir.folder());
    EXPECT_EQ(Field(line, "DisplayScale"), zooms[i]) << line;
    EXPECT_EQ(shown.rfind(std::string("ZOOM ") + zooms[i], 0) == 0 || i == 0, true) << shown;
  }
}

TEST(SetupRoundTrip, SoundAndMusicSwitches) {
  Chosen soundOff, musicOff, both;
  Choose(soundOff, Row::Sound, 1);
  EXPECT_EQ(Field(soundOff.line, "Sound") + "," + Field(soundOff.line, "Music"), "false,true");
  Choose(musicOff, Row::Music, 1);
  EXPECT_EQ(Field(musicOff.line, "Sound") + "," + Field(musicOff.line, "Music"), "true,false");
  Choose(both, Row::Music, 2);
  EXPECT_EQ(Field(both.line, "Sound") + "," + Field(both.line, "Music"), "true,true");
}

TEST(SetupRoundTrip, ShippedDefaultsAreWhatTheGameAssumesWithoutFiles) {
  // The shipped files, the set-up's defaults and a folder without files all start the same.
  ScratchFolder empty, shipped, written;
  for (const char* name : {"Zendor Vostrik.INI", "Brinmoor.INI"}) {
    std::filesystem::copy_file(std::filesystem::path(ZENDOR_SOURCE_DIR) / "data" / name,
                               shipped.path() / name);
  }
  std::string error;
  ASSERT_TRUE(WriteAssignments(written.folder(), DefaultAssignments(), &error)) << error;
  const std::string line = StartLine(empty.folder());
  EXPECT_EQ(StartLine(shipped.folder()), line);
  EXPECT_EQ(StartLine(written.folder()), line);
  for (const EffectiveValue& v : ReadEffectiveValues(shipped.folder())) {
    EXPECT_EQ(v.value, v.key.defaultValue) << v.key.key;
  }
}

}  // namespace
}  // namespace zendor::setup
