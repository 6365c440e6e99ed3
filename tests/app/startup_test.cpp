#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/program.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

using testing::GameFixture;
using testing::ScratchFolder;

struct DifficultyCase {
  const char* value;
  int maxEnemies;
  float rarity;
};

class Difficulty : public ::testing::TestWithParam<DifficultyCase> {};

TEST_P(Difficulty, SetsEnemyCountAndRarity) {
  const DifficultyCase c = GetParam();
  GameFixture f;
  ScratchFolder dir;
  dir.Write("Zendor Vostrik.INI", std::string("[Opciones]\nDificultad=") + c.value + "\n");
  f.settings.ProgramFolder = dir.folder();
  std::string ddraw;
  ReadConfiguration(f.v, ddraw);
  EXPECT_EQ(f.settings.MaxEnemies, c.maxEnemies);
  EXPECT_EQ(f.settings.SpawnRarityScale, c.rarity);
  EXPECT_EQ(ddraw, "1");
}

INSTANTIATE_TEST_SUITE_P(Values, Difficulty,
                         ::testing::Values(DifficultyCase{"0", 2, 4}, DifficultyCase{"1", 2, 2},
                                           DifficultyCase{"2", 5, 5}, DifficultyCase{"3", 8, 8},
                                           DifficultyCase{"4", 8, 5}, DifficultyCase{"5", 11, 8},
                                           DifficultyCase{"6", 2, 2}, DifficultyCase{"junk", 2, 4},
                                           DifficultyCase{"99999999999999999999", 2, 2}));

TEST(Configuration, MissingFilesGiveTheDefaultsAndOneMessage) {
  GameFixture f;
  ScratchFolder dir;
  f.settings.ProgramFolder = dir.folder();
  std::string ddraw;
  ReadConfiguration(f.v, ddraw);
  ASSERT_EQ(f.platform.messages().size(), 1u);
  EXPECT_EQ(f.platform.messages()[0].text,
            "Aqu\xC3\xAD abre el SetUp.EXE para configurar el juego");
  EXPECT_FALSE(f.settings.FitToScreen);
  EXPECT_TRUE(f.settings.SoundOn);
  EXPECT_TRUE(f.settings.MusicOn);
  EXPECT_EQ(f.settings.MaxEnemies, 2);
  EXPECT_EQ(f.settings.SpawnRarityScale, 4);
}

TEST(Configuration, SwitchesAndFullScreenValues) {
  GameFixture f;
  ScratchFolder dir;
  dir.Write("Zendor Vostrik.INI", "[Pantalla]\nPantallaCompleta=3\nAncho=800x\n");
  dir.Write("Brinmoor.INI", "[Sonido]\nSND=off\nMUS=2\n");
  f.settings.ProgramFolder = dir.folder();
  std::string ddraw;
  ReadConfiguration(f.v, ddraw);
  EXPECT_TRUE(f.platform.messages().empty());
  EXPECT_FALSE(f.settings.FitToScreen);  // 3 behaves like 0
  EXPECT_EQ(f.settings.ScreenWidthText, "800x");
  EXPECT_FALSE(f.settings.SoundOn);  // no leading number reads 0
  EXPECT_TRUE(f.settings.MusicOn);
  dir.Write("Zendor Vostrik.INI", "[Pantalla]\nPantallaCompleta=2\n");
  ReadConfiguration(f.v, ddraw);
  EXPECT_TRUE(f.settings.FitToScreen);
}

TEST(StartUpProcedure, AnUnusableTemporaryFolderStopsWithItsName) {
  GameFixture f;
  ScratchFolder dir;
  const std::string blocked = (dir.path() / "not-a-folder").string();
  dir.Write("not-a-folder", "a file where the folder should be");
  f.platform.SetTempFolder(blocked);
  testing::RecordingTracer tracer;
  HeadlessPlatform& p = f.platform;
  EXPECT_EQ(RunProgram(p, GameFixture::ShippedGameFolder(), tracer), "error");
  ASSERT_EQ(p.messages().size(), 1u);
  EXPECT_NE(p.messages()[0].text.find(blocked), std::string::npos) << p.messages()[0].text;
}

TEST(StartUpProcedure, KeyboardIsSavedThenLockKeysCleared) {
  GameFixture f;
  ScratchFolder temp;
  f.platform.SetTempFolder(temp.folder());
  KeyboardTable table{};
  table[20] = 1;   // Caps Lock on
  table[144] = 1;  // Num Lock on
  table[65] = 0x80;
  f.platform.SetKeyboardState(table);
  f.platform.StopAt(0, "until");
  testing::RecordingTracer tracer;
  RunProgram(f.platform, GameFixture::ShippedGameFolder(), tracer);
  EXPECT_EQ(f.platform.GetKeyboardState()[20], 0);
  EXPECT_EQ(f.platform.GetKeyboardState()[144], 0);
  EXPECT_EQ(f.platform.GetKeyboardState()[65], 0x80);
  EXPECT_LT(f.platform.cursorCount(), 0);
}

}  // namespace
}  // namespace zendor
