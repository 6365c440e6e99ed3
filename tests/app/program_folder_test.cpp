#include "app/program_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "support/game_fixture.h"

namespace zendor {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

// An installation under a prefix: bin/ and the shipped files in share/zendor-vostrik/.
struct Installed {
  ScratchFolder prefix;
  fs::path bin = prefix.path() / "bin";
  fs::path shipped = prefix.path() / "share" / "zendor-vostrik";
  Installed() {
    fs::create_directories(bin);
    for (const char* name : {"ART/Panel.bmp", "SND/Efecto0.SND", "MUS/Tema0.MUS", "zendor.map"})
      prefix.Write("share/zendor-vostrik/" + std::string(name), "data");
    prefix.Write("share/zendor-vostrik/Zendor Vostrik.INI", "[Opciones]\r\nDificultad=0\r\n");
    prefix.Write("share/zendor-vostrik/Brinmoor.INI", "[Sonido]\r\nSND=1\r\n");
  }
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ProgramFolder, AnInstalledGameGetsThePlayersOwnFolderOnFirstStart) {
  Installed install;
  ScratchFolder data;
  ScopedEnv xdg("XDG_DATA_HOME", data.path().string());
  std::string error;
  const std::string folder = FindProgramFolder(install.bin, "", &error);
  const fs::path player = data.path() / "zendor-vostrik";
  ASSERT_EQ(folder, player.string() + "/") << error;
  for (const char* name : kSharedGameFiles) {
    EXPECT_TRUE(fs::is_symlink(player / name)) << name;
    EXPECT_EQ(fs::canonical(player / name), fs::canonical(install.shipped / name));
  }
  for (const char* name : {"Zendor Vostrik.INI", "Brinmoor.INI"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(player / name))) << name;
  }

  // The player's settings survive the next start; a link to an old installation is renewed.
  std::ofstream(player / "Zendor Vostrik.INI") << "[Opciones]\r\nDificultad=5\r\n";
  fs::remove(player / "ART");
  fs::create_directory_symlink("/nonexistent/old/ART", player / "ART");
  ASSERT_EQ(FindProgramFolder(install.bin, "", &error), folder) << error;
  EXPECT_EQ(fs::read_symlink(player / "ART"), fs::weakly_canonical(install.shipped / "ART"));
  std::ifstream in(player / "Zendor Vostrik.INI");
  std::string first, second;
  std::getline(in, first);
  std::getline(in, second);
  EXPECT_EQ(second, "Dificultad=5\r");
}

TEST(ProgramFolder, WithoutXdgDataHomeTheFolderIsUnderHome) {
  ScratchFolder home;
  ScopedEnv homeEnv("HOME", home.path().string());
  ScopedEnv xdg("XDG_DATA_HOME", "relative/is/ignored");
  EXPECT_EQ(PlayerProgramFolder(), home.path() / ".local" / "share" / "zendor-vostrik");
}

TEST(ProgramFolder, ABuildFolderRunsFromItselfAndAFolderInTheWayIsReported) {
  ScratchFolder build;
  build.Write("zendor.map", "data");
  std::string error;
  EXPECT_EQ(FindProgramFolder(build.path(), "/elsewhere/", &error), build.folder());
  ScratchFolder tools;
  EXPECT_EQ(FindProgramFolder(tools.path(), "/elsewhere/", &error), "/elsewhere/");

  Installed install;
  ScratchFolder data;
  data.Write("zendor-vostrik", "a file where the folder should be");
  ScopedEnv xdg("XDG_DATA_HOME", data.path().string());
  EXPECT_EQ(FindProgramFolder(install.bin, "", &error), "");
  EXPECT_NE(error.find((data.path() / "zendor-vostrik").string()), std::string::npos) << error;
}

}  // namespace
}  // namespace zendor
