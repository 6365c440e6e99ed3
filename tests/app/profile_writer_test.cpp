#include "app/profile_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/profile.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

using testing::ScratchFolder;

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ProfileText MustParse(std::string_view text) {
  std::string error;
  auto profile = ProfileText::Parse(text, &error);
  EXPECT_TRUE(profile) << error;
  return profile ? *profile : *ProfileText::Parse("", &error);
}

TEST(ProfileChanges, KeepEverythingTheyDoNotTouchAndEndLinesTheWindowsWay) {
  ProfileText p = MustParse(
      "; set by hand\n[Pantalla]\n  ddraw = 1 \nVsync=1\n\n[Mods]\nmod=a;b\n; trailing\n");
  p.Set("PANTALLA", "DDraw", "0");
  p.Set("Pantalla", "Ancho", "800");
  p.Set("Opciones", "Dificultad", "3");
  EXPECT_EQ(p.Text(),
            "; set by hand\r\n[Pantalla]\r\n  ddraw =0\r\nVsync=1\r\nAncho=800\r\n\r\n[Mods]\r\n"
            "mod=a;b\r\n; trailing\r\n\r\n[Opciones]\r\nDificultad=3\r\n");
}

TEST(ProfileChanges, TheGameReadsBackWhatWasWritten) {
  // A repeated section and a duplicate key: the first match is what the game reads.
  ScratchFolder dir;
  const std::string path =
      dir.Write("a.INI", "[Sonido]\r\nx=1\r\n[Other]\r\nSND=7\r\n[sonido]\r\nSND=5\r\nSND=6\r\n")
          .string();
  std::string error;
  auto p = LoadProfile(path, &error);
  ASSERT_TRUE(p) << error;
  EXPECT_EQ(p->Get("Sonido", "SND"), "5");
  p->Set("Sonido", "SND", "0");
  p->Set("Sonido", "MUS", "1");
  ASSERT_TRUE(SaveProfile(path, *p, &error)) << error;
  EXPECT_EQ(ReadProfileString(path, "Sonido", "SND", "?"), "0");
  EXPECT_EQ(ReadProfileString(path, "Sonido", "MUS", "?"), "1");
  EXPECT_EQ(ReadProfileString(path, "Other", "SND", "?"), "7");
  EXPECT_EQ(Slurp(path),
            "[Sonido]\r\nx=1\r\nMUS=1\r\n[Other]\r\nSND=7\r\n[sonido]\r\nSND=0\r\nSND=6\r\n");
}

TEST(ProfileChanges, MalformedAndUnreadableFilesAreNamedAndLeftAlone) {
  ScratchFolder dir;
  std::string error;
  const auto broken = dir.Write("broken.INI", "[Pantalla]\r\nDDraw=1\r\nthis is no key\r\n");
  EXPECT_FALSE(LoadProfile(broken.string(), &error));
  EXPECT_NE(error.find(broken.string()), std::string::npos) << error;
  EXPECT_NE(error.find("line 3"), std::string::npos) << error;
  const auto header = dir.Write("header.INI", "[Pantalla\r\n");
  EXPECT_FALSE(LoadProfile(header.string(), &error));
  const auto nul = dir.Write("nul.INI", std::string("[A]\r\nk=v\0w\r\n", 12));
  EXPECT_FALSE(LoadProfile(nul.string(), &error));
  EXPECT_NE(error.find("NUL"), std::string::npos) << error;
  std::filesystem::create_directory(dir.path() / "folder.INI");
  EXPECT_FALSE(LoadProfile((dir.path() / "folder.INI").string(), &error));
  EXPECT_NE(error.find("folder.INI"), std::string::npos) << error;
  // A missing file is simply empty.
  auto missing = LoadProfile((dir.path() / "none.INI").string(), &error);
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->Text(), "");
}

TEST(ProfileReplacement, KeepsPermissionsAndLeavesNoTemporaryFile) {
  ScratchFolder dir;
  const auto path = dir.Write("a.INI", "[A]\r\nk=1\r\n");
  std::filesystem::permissions(path, std::filesystem::perms(0600));
  std::string error;
  auto p = LoadProfile(path.string(), &error);
  p->Set("A", "k", "2");
  ASSERT_TRUE(SaveProfile(path.string(), *p, &error)) << error;
  EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0600));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ProfileReplacement, AWriteThatFailsHalfWayLeavesTheOldFileWhole) {
  ScratchFolder dir;
  const std::string old = "[A]\r\nk=1\r\n";
  const auto path = dir.Write("a.INI", old);
  std::string error;
  auto p = LoadProfile(path.string(), &error);
  p->Set("A", "k", std::string(4000, '9'));

  // The disk fills up after 64 bytes of the new file.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool saved_ok = SaveProfile(path.string(), *p, &error);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(saved_ok);
  EXPECT_NE(error.find(path.string()), std::string::npos) << error;
  EXPECT_EQ(Slurp(path), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  // A folder that cannot take the new file.
  EXPECT_FALSE(SaveProfile((dir.path() / "missing" / "b.INI").string(), *p, &error));
  EXPECT_NE(error.find("b.INI"), std::string::npos) << error;
}

}  // namespace
}  // namespace zendor
