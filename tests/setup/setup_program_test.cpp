// zendor-setup without a window (its command line) and with one (its screen on the headless
// platform, driven by scripted keys).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/profile.h"
#include "platform/headless/headless_platform.h"
#include "platform/virtual_keys.h"
#include "setup/setup_command.h"
#include "setup/setup_screen.h"
#include "support/game_fixture.h"

namespace zendor::setup {
namespace {

using testing::ScratchFolder;

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Outcome {
  int status = -1;
  std::string out, err;
};

Outcome Command(const std::vector<std::string>& args, const std::string& folder) {
  Outcome run;
  std::string error;
  const auto command = ParseCommandLine(args, &error);
  if (!command) {
    run.status = 2;
    run.err = error;
    return run;
  }
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  run.status = RunCommands(*command, folder, out, err);
  for (auto [file, text] : {std::pair{out, &run.out}, std::pair{err, &run.err}}) {
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;) *text += static_cast<char>(c);
    std::fclose(file);
  }
  return run;
}

TEST(SetupCommandLine, BadArgumentsAndValuesAreRefusedWithOneLine) {
  ScratchFolder dir;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--set", "Opciones.Dificultad=6"},
           {"--set", "Pantalla.DDraw=yes"},
           {"--set", "Pantalla.DDraw=-1"},
           {"--set", "Opciones.Idioma=1"},
           {"--set", "DDraw=0"},
           {"--set"},
           {"--frobnicate"},
           {"--set", "Pantalla.Ancho=800", "--set", "Pantalla.Alto=0"}}) {
    const Outcome run = Command(args, dir.folder());
    EXPECT_EQ(run.status, 2) << args.back();
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.find('\n'), std::string::npos) << run.err;
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(SetupCommandLine, PrintShowsValuesWithTheirSourceAndWhatTheGameMakesOfThem) {
  ScratchFolder dir;
  const auto main = dir.Write("Zendor Vostrik.INI",
                              "[Pantalla]\r\nDDraw=0\r\nAncho=800\r\n"
                              "Alto=600\r\nPantallaCompleta=2\r\n");
  const Outcome run = Command({"--print"}, dir.folder());
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("Pantalla.DDraw=0\t" + main.string()), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Opciones.Dificultad=0\tdefault"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Sonido.SND=1\tdefault"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("a window at zoom 3 on a 800 x 600 screen"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("MaxEnemies 2, SpawnRarityScale 4"), std::string::npos) << run.out;
}

TEST(SetupCommandLine, SetAndDefaultsKeepWhatTheyDoNotManage) {
  ScratchFolder dir;
  const auto main = dir.Write("Zendor Vostrik.INI",
                              "; my notes\n[Pantalla]\nDDraw=1\nShader=crt\n[Opciones]\n"
                              "Idioma=2\nDificultad=4\n");
  Outcome run =
      Command({"--set", "pantalla.ddraw=0", "--set", "Opciones.Dificultad=3"}, dir.folder());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Slurp(main),
            "; my notes\r\n[Pantalla]\r\nDDraw=0\r\nShader=crt\r\n[Opciones]\r\nIdioma=2\r\n"
            "Dificultad=3\r\n");
  run = Command({"--defaults"}, dir.folder());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadProfileString(main.string(), "Pantalla", "DDraw", "?"), "1");
  EXPECT_EQ(ReadProfileString(main.string(), "Opciones", "Dificultad", "?"), "0");
  EXPECT_EQ(ReadProfileString(main.string(), "Opciones", "Idioma", "?"), "2");
  EXPECT_EQ(ReadProfileString(main.string(), "Pantalla", "Shader", "?"), "crt");
  EXPECT_EQ(ReadProfileString((dir.path() / "Brinmoor.INI").string(), "Sonido", "MUS", "?"), "1");
}

TEST(SetupCommandLine, AMalformedFileStopsEveryChangeAndIsNamed) {
  ScratchFolder dir;
  const std::string sound = "[Sonido]\r\nSND=1\r\nnonsense\r\n";
  const auto soundFile = dir.Write("Brinmoor.INI", sound);
  const auto main = dir.Write("Zendor Vostrik.INI", "[Pantalla]\r\nDDraw=1\r\n");
  const Outcome run = Command({"--set", "Pantalla.DDraw=0", "--set", "Sonido.MUS=0"}, dir.folder());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(soundFile.string()), std::string::npos) << run.err;
  EXPECT_EQ(Slurp(soundFile), sound);
  EXPECT_EQ(Slurp(main), "[Pantalla]\r\nDDraw=1\r\n");
  // --print still shows what the game reads, and says which file the set-up cannot change.
  const Outcome print = Command({"--print"}, dir.folder());
  EXPECT_EQ(print.status, 0);
  EXPECT_NE(print.out.find("Sonido.SND=1\t" + soundFile.string()), std::string::npos);
  EXPECT_NE(print.out.find("cannot change " + soundFile.string() + ": line 3"), std::string::npos)
      << print.out;
}

// The screen on the headless platform: keys at 10 ms steps, then the run's end.
struct Screen {
  ScratchFolder dir;
  HeadlessPlatform platform;
  int status = -1;
  std::string Main() const { return (dir.path() / "Zendor Vostrik.INI").string(); }

  void Press(const std::vector<int>& keys) {
    std::filesystem::create_directory_symlink(std::filesystem::path(ZENDOR_GAME_DIR) / "ART",
                                              dir.path() / "ART");
    std::vector<ScriptedKey> script;
    std::uint32_t t = 10;
    for (int key : keys) {
      script.push_back({t, ScriptedKey::Kind::Down, key});
      script.push_back({t + 5, ScriptedKey::Kind::Up, key});
      t += 10;
    }
    platform.SetScript(script);
    platform.StopAt(t + 1000, "script-end");
    try {
      status = RunSetupScreen(platform, dir.folder(), {{1024, 768}, {1920, 1080}});
    } catch (const ProgramExit&) {
      status = -2;  // still up when the keys ran out
    }
  }
};

TEST(SetupScreenKeys, ChangesAreSavedWithEnterAndDroppedWithEscape) {
  using namespace vk;
  Screen saved;
  saved.dir.Write("Zendor Vostrik.INI", "[Pantalla]\r\nDDraw=1\r\nX=y\r\n");
  // A window, fit on, 1024 x 768, difficulty 2, music off; then Enter.
  saved.Press(
      {kRight, kDown, kRight, kDown, kRight, kDown, kRight, kRight, kDown, kDown, kRight, kReturn});
  EXPECT_EQ(saved.status, 0);
  EXPECT_EQ(Slurp(saved.Main()),
            "[Pantalla]\r\nDDraw=0\r\nX=y\r\nPantallaCompleta=1\r\nAncho=1024\r\nAlto=768\r\n"
            "\r\n[Opciones]\r\nDificultad=2\r\n");
  EXPECT_EQ(Slurp(saved.dir.path() / "Brinmoor.INI"), "[Sonido]\r\nMUS=0\r\n");
  EXPECT_EQ(saved.platform.window().width(), 512);

  Screen left;
  left.dir.Write("Zendor Vostrik.INI", "[Pantalla]\r\nDDraw=1\r\n");
  left.Press({kRight, kDown, kRight, kEscape});
  EXPECT_EQ(left.status, 0);
  EXPECT_EQ(Slurp(left.Main()), "[Pantalla]\r\nDDraw=1\r\n");
  EXPECT_FALSE(std::filesystem::exists(left.dir.path() / "Brinmoor.INI"));
}

TEST(SetupScreenKeys, AFileThatCannotBeReadIsReportedAndTheScreenStaysUp) {
  Screen s;
  std::filesystem::create_directory(s.dir.path() / "Brinmoor.INI");  // in the way
  s.Press({vk::kDown, vk::kDown, vk::kDown, vk::kDown, vk::kDown, vk::kRight, vk::kReturn});
  EXPECT_EQ(s.status, -2);
  // Named when the screen opens, and again when saving fails.
  ASSERT_EQ(s.platform.messages().size(), 2u);
  for (const ShownMessage& m : s.platform.messages()) {
    EXPECT_NE(m.text.find(s.dir.folder() + "Brinmoor.INI"), std::string::npos) << m.text;
  }
  EXPECT_FALSE(std::filesystem::exists(s.Main()));
}

}  // namespace
}  // namespace zendor::setup
