#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/program.h"
#include "common/ventana.h"
#include "platform/virtual_keys.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

using testing::GameFixture;
using testing::ScratchFolder;

// Reads the configuration of a program folder holding the given INI files.
std::string ReadFrom(GameFixture& f, const ScratchFolder& dir) {
  f.settings.ProgramFolder = dir.folder();
  std::string ddraw;
  ReadConfiguration(f.v, ddraw);
  return ddraw;
}

TEST(Configuration, DifficultySetsEnemyCountAndRarity) {
  const struct {
    const char* value;
    int maxEnemies;
    float rarity;
  } cases[] = {{"0", 2, 4}, {"1", 2, 2},    {"2", 5, 5},
               {"3", 8, 8}, {"4", 8, 5},    {"5", 11, 8},
               {"6", 2, 2}, {"junk", 2, 4}, {"99999999999999999999", 2, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    GameFixture f;
    ScratchFolder dir;
    dir.Write("Zendor Vostrik.INI", std::string("[Opciones]\nDificultad=") + c.value + "\n");
    EXPECT_EQ(ReadFrom(f, dir), "1");
    EXPECT_EQ(f.settings.MaxEnemies, c.maxEnemies);
    EXPECT_EQ(f.settings.SpawnRarityScale, c.rarity);
  }
}

TEST(Configuration, MissingFilesGiveTheDefaultsAndOneMessage) {
  GameFixture f;
  ScratchFolder dir;
  ReadFrom(f, dir);
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
  ReadFrom(f, dir);
  EXPECT_TRUE(f.platform.messages().empty());
  EXPECT_FALSE(f.settings.FitToScreen);  // 3 behaves like 0
  EXPECT_EQ(f.settings.ScreenWidthText, "800x");
  EXPECT_FALSE(f.settings.SoundOn);  // no leading number reads 0
  EXPECT_TRUE(f.settings.MusicOn);
  dir.Write("Zendor Vostrik.INI", "[Pantalla]\nPantallaCompleta=2\n");
  ReadFrom(f, dir);
  EXPECT_TRUE(f.settings.FitToScreen);
}

// The whole start-up on the headless platform, from the shipped program folder.
TEST(StartUpProcedure, AnUnusableTemporaryFolderStopsWithItsName) {
  HeadlessPlatform p;
  testing::RecordingTracer tracer;
  ScratchFolder dir;
  const std::string blocked = dir.Write("not-a-folder", "a file where the folder should be");
  p.SetTempFolder(blocked);
  EXPECT_EQ(RunProgram(p, GameFixture::ShippedGameFolder(), tracer), "error");
  ASSERT_EQ(p.messages().size(), 1u);
  EXPECT_NE(p.messages()[0].text.find(blocked), std::string::npos) << p.messages()[0].text;
}

TEST(StartUpProcedure, KeyboardIsSavedThenLockKeysCleared) {
  HeadlessPlatform p;
  testing::RecordingTracer tracer;
  ScratchFolder temp;
  p.SetTempFolder(temp.folder());
  KeyboardTable table{};
  table[vk::kCapital] = 1;
  table[vk::kNumLock] = 1;
  table[vk::kA] = 0x80;
  p.SetKeyboardState(table);
  p.StopAt(0, "until");
  RunProgram(p, GameFixture::ShippedGameFolder(), tracer);
  EXPECT_EQ(p.GetKeyboardState()[vk::kCapital], 0);
  EXPECT_EQ(p.GetKeyboardState()[vk::kNumLock], 0);
  EXPECT_EQ(p.GetKeyboardState()[vk::kA], 0x80);
  EXPECT_LT(p.cursorCount(), 0);  // and the cursor hidden
}

TEST(StartUpProcedure, BusyPointerAndSplashWhileLoadingThenTheCoverUntilTheFarewell) {
  // A program folder without its INI file: the message about it comes while loading.
  ScratchFolder game, temp;
  const std::filesystem::path shipped = GameFixture::ShippedGameFolder();
  std::filesystem::copy(shipped / "ART", game.path() / "ART");
  HeadlessPlatform p;
  p.SetTempFolder(temp.folder());
  p.SetScript({{20000, ScriptedKey::Kind::Down, 27}});  // Escape in the menu: quit
  std::vector<std::string> seen;
  p.onMessageBox = [&](const ShownMessage& m) {
    seen.push_back(m.text.substr(0, 4) + (p.busyPointer() ? " busy" : "") +
                   (p.splashShown() ? " splash" : "") + (p.coverShown() ? " cover" : "") +
                   (p.window().visible() ? " window" : ""));
    if (p.splashShown()) {
      EXPECT_EQ(p.splashPicture().width(), 256);  // the title picture
      EXPECT_EQ(p.splashPicture().height(), 192);
    }
  };
  struct Loading : testing::RecordingTracer {
    HeadlessPlatform* p;
    std::string state;
    void Screen(std::string_view s) override {
      if (s == screens::kLoading) {
        state = std::string(p->busyPointer() ? "busy" : "") + (p->splashShown() ? " splash" : "") +
                (p->coverShown() ? "cover" : "") + (p->window().visible() ? " window" : "");
      }
    }
  } loading;
  loading.p = &p;
  EXPECT_EQ(RunProgram(p, game.folder(), loading), "shutdown");
  // Loading: busy pointer and splash; playing: the cover behind the window; at the farewell
  // everything is gone.
  EXPECT_EQ(seen, (std::vector<std::string>{"Aqu\xC3 busy splash", "Beta"}));
  EXPECT_EQ(loading.state, "cover window");
}

}  // namespace
}  // namespace zendor
