// The whole start-up on the headless back end with program folders where something other than
// the shipped file stands in a file's place: the game reaches its menu, names the file once on
// standard error and leaves its temporary folder empty.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "app/program.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

namespace fs = std::filesystem;
using testing::GameFixture;
using testing::ScratchFolder;

// A program folder of links to the shipped files; the test puts its own things in their place.
class ProgramFolder {
 public:
  ProgramFolder() { LinkEntries(GameFixture::ShippedGameFolder(), dir_.path()); }
  // `name` made a real folder holding links to the shipped files it held.
  void OwnFolder(const std::string& name) {
    fs::remove(dir_.path() / name);
    fs::create_directory(dir_.path() / name);
    LinkEntries(fs::path(GameFixture::ShippedGameFolder()) / name, dir_.path() / name);
  }
  fs::path Free(const std::string& name) {
    fs::remove(dir_.path() / name);
    return dir_.path() / name;
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Free(name), std::ios::binary) << bytes;
  }
  void Folder(const std::string& name) { fs::create_directory(Free(name)); }
  void Pipe(const std::string& name) { ASSERT_EQ(::mkfifo(Free(name).c_str(), 0600), 0); }
  void Link(const std::string& name, const fs::path& to) { fs::create_symlink(to, Free(name)); }
  void Loop(const std::string& name) { Link(name, dir_.path() / name); }
  std::string ShippedBytes(const std::string& name) const {
    std::ifstream in(fs::path(GameFixture::ShippedGameFolder()) / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string folder() const { return dir_.folder(); }

 private:
  static void LinkEntries(const fs::path& from, const fs::path& to) {
    for (const auto& entry : fs::directory_iterator(from)) {
      fs::create_symlink(entry.path(), to / entry.path().filename());
    }
  }
  ScratchFolder dir_;
};

struct RunResult {
  std::string reason;
  std::string said;  // standard error
  std::vector<std::string> screens;
  bool tempLeftEmpty = false;

  int Count(const std::string& text) const {
    int n = 0;
    for (auto at = said.find(text); at != std::string::npos; at = said.find(text, at + 1)) ++n;
    return n;
  }
  bool ReachedMenu() const { return std::ranges::count(screens, "screen menu") > 0; }
};

// Runs the program on `folder` for 20 s of virtual time, long enough to reach the menu.
RunResult RunOn(const std::string& folder) {
  HeadlessPlatform platform;
  testing::RecordingTracer tracer;
  ScratchFolder temp;
  platform.SetTempFolder(temp.folder());
  platform.StopAt(20000, "until");
  RunResult run;
  ::testing::internal::CaptureStderr();
  run.reason = RunProgram(platform, folder, tracer);
  run.said = ::testing::internal::GetCapturedStderr();
  run.screens = tracer.lines;
  run.tempLeftEmpty = fs::is_empty(temp.path());
  return run;
}

TEST(OddFiles, ConfigurationFilesThatAreNoFilesKeepTheirDefaults) {
  ProgramFolder game;
  game.Folder("Zendor Vostrik.INI");
  game.Pipe("Brinmoor.INI");
  RunResult run = RunOn(game.folder());
  EXPECT_EQ(run.reason, "until");
  EXPECT_TRUE(run.ReachedMenu());
  EXPECT_EQ(run.Count("Zendor Vostrik.INI: is a folder; its settings keep their defaults"), 1)
      << run.said;
  EXPECT_EQ(run.Count("Brinmoor.INI: is not a regular file"), 1) << run.said;
  EXPECT_TRUE(run.tempLeftEmpty);

  ProgramFolder looping;
  looping.Loop("Zendor Vostrik.INI");
  looping.Link("Brinmoor.INI", "/dev/zero");
  run = RunOn(looping.folder());
  EXPECT_TRUE(run.ReachedMenu()) << run.said;
  EXPECT_EQ(run.Count("Zendor Vostrik.INI: cannot be read: Too many levels of symbolic links"), 1)
      << run.said;
  EXPECT_EQ(run.Count("Brinmoor.INI: is not a regular file"), 1) << run.said;
  EXPECT_TRUE(run.tempLeftEmpty);
}

TEST(OddFiles, AMapThatIsNoFileGivesAnEmptyLevelAndSaysWhy) {
  const std::pair<void (*)(ProgramFolder&), const char*> cases[] = {
      {[](ProgramFolder& g) { g.Pipe("zendor.map"); }, "zendor.map: is not a regular file"},
      {[](ProgramFolder& g) { g.Folder("zendor.map"); }, "zendor.map: is a folder"},
      {[](ProgramFolder& g) { g.Link("zendor.map", "/dev/zero"); },
       "zendor.map: is not a regular file"},
      {[](ProgramFolder& g) { g.Write("zendor.map", std::string(2 << 20, ' ')); },
       "zendor.map: is larger than"},
  };
  for (const auto& [make, said] : cases) {
    SCOPED_TRACE(said);
    ProgramFolder game;
    make(game);
    const RunResult run = RunOn(game.folder());
    EXPECT_TRUE(run.ReachedMenu());
    EXPECT_EQ(run.Count(std::string(said)), 1) << run.said;
    EXPECT_EQ(run.Count("the level is empty"), 1) << run.said;
    EXPECT_TRUE(run.tempLeftEmpty);
  }
}

TEST(OddFiles, ABadMapValueIsQuotedSoThatItCannotReachTheTerminal) {
  ProgramFolder game;
  std::ifstream fixture(
      std::string(ZENDOR_SOURCE_DIR) + "/tests/fuzz/corpus/map/escape-sequence.map",
      std::ios::binary);
  game.Write("zendor.map", std::string(std::istreambuf_iterator<char>(fixture), {}));
  const RunResult run = RunOn(game.folder());
  EXPECT_TRUE(run.ReachedMenu());
  EXPECT_EQ(run.said.find('\x1B'), std::string::npos) << run.said;
  EXPECT_EQ(run.Count("\\x1B["), 1) << run.said;
  EXPECT_EQ(run.Count("is not a whole number; the level ends there"), 1) << run.said;
}

TEST(OddFiles, LoopingLinksInPlaceOfFoldersNeverStopTheGameUnexplained) {
  ProgramFolder game;
  game.Loop("ART");
  RunResult run = RunOn(game.folder());
  EXPECT_EQ(run.reason, "until");
  EXPECT_TRUE(run.ReachedMenu());
  EXPECT_EQ(run.Count("ART/ cannot be found"), 1) << run.said;
  EXPECT_TRUE(run.tempLeftEmpty);

  ScratchFolder outside;
  const fs::path loop = outside.path() / "game";
  fs::create_symlink(loop, loop);
  HeadlessPlatform platform;
  testing::RecordingTracer tracer;
  ScratchFolder temp;
  platform.SetTempFolder(temp.folder());
  EXPECT_EQ(RunProgram(platform, loop.string() + "/", tracer), "error");
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_NE(platform.messages()[0].text.find(loop.string()), std::string::npos);
}

TEST(OddFiles, DamagedSoundsAndThemesAreNamedOnceByTheirShippedFiles) {
  ProgramFolder game;
  game.OwnFolder("SND");
  game.OwnFolder("MUS");
  std::string noise(game.ShippedBytes("SND/Efecto5.SND").size(), '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7919 % 251);
  game.Write("SND/Efecto5.SND", noise);
  game.Folder("SND/Efecto7.SND");
  const std::string theme = game.ShippedBytes("MUS/Tema3.MUS");
  game.Write("MUS/Tema3.MUS", theme.substr(0, theme.size() / 2));
  game.Pipe("MUS/Tema4.MUS");
  const RunResult run = RunOn(game.folder());
  EXPECT_TRUE(run.ReachedMenu());
  for (const char* file : {"SND/Efecto5.SND: ", "SND/Efecto7.SND: is a folder",
                           "MUS/Tema3.MUS: ", "MUS/Tema4.MUS: is not a regular file"}) {
    EXPECT_EQ(run.Count(game.folder() + file), 1) << file << "\n" << run.said;
  }
  EXPECT_EQ(run.Count("stays silent"), 4) << run.said;
  EXPECT_EQ(run.Count(".tmp"), 0) << run.said;  // never by the temporary copy
  EXPECT_TRUE(run.tempLeftEmpty);
}

TEST(OddFiles, WithoutItsLoadingPictureTheGameSaysWhyItPlaysNoSound) {
  ProgramFolder game;
  game.OwnFolder("ART");
  fs::remove(fs::path(game.folder()) / "ART/Pantalla.bmp");
  const RunResult run = RunOn(game.folder());
  EXPECT_TRUE(run.ReachedMenu());
  EXPECT_EQ(run.Count("so the sounds and music are not unpacked"), 1) << run.said;
  EXPECT_EQ(run.Count("stays silent"), 0) << run.said;
  EXPECT_TRUE(run.tempLeftEmpty);
}

}  // namespace
}  // namespace zendor
