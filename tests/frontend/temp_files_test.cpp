#include "assets/temp_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/image_file.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(const fs::path& path) {
  std::vector<std::uint8_t> bytes;
  ReadWholeFile(path, bytes);
  return bytes;
}

// A game window whose temporary folder and registry live in a scratch folder.
struct TempFilesFixture {
  TempFilesFixture() {
    f.settings.ProgramFolder = program.folder();
    f.settings.TempFolder = temp.folder();
    std::string error;
    EXPECT_TRUE(f.settings.Registry.Create(temp.folder() + "abcdefgh.tmp", &error)) << error;
  }
  std::string Temp(const std::string& name) const { return temp.folder() + name; }
  std::vector<std::string> Registered() const {
    std::ifstream in(f.settings.Registry.path());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  testing::ScratchFolder program;
  testing::ScratchFolder temp;
  testing::GameFixture f;
};

TEST(StillFades, DarkenThePixelRowsStepByStepLeaveTheHeadersAndReplaceLeftOvers) {
  TempFilesFixture t;
  EXPECT_FALSE(MakeStillFades(t.f.v));  // no loading picture: nothing is written
  EXPECT_FALSE(fs::exists(t.Temp("pan0.tmp")));
  EXPECT_TRUE(t.Registered().empty());

  Surface picture(256, 192, Rgb(200, 200, 200));
  picture.set(0, 191, Rgb(51, 120, 255));  // bottom-up rows: the first pixel in the file
  t.f.v.sheets.Pantalla = picture;
  // a file of an earlier run is replaced, never written through: a link might lead anywhere
  const auto victim = t.program.Write("precious.txt", "keep me");
  fs::create_symlink(victim, t.Temp("pan2.tmp"));
  ASSERT_TRUE(MakeStillFades(t.f.v));
  EXPECT_FALSE(fs::is_symlink(t.Temp("pan2.tmp")));
  EXPECT_EQ(Bytes(victim), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
  EXPECT_EQ(t.f.settings.FadeStepCount, 5);

  const std::vector<std::uint8_t> fresh = EncodeBmp24(picture);
  ASSERT_EQ(fresh.size(), 147510u);
  EXPECT_EQ(Bytes(t.Temp("pan0.tmp")), fresh);
  // blue, green, red of the first pixel, then a plain grey byte, in each picture
  const int expected[6][4] = {{255, 120, 51, 200}, {204, 69, 0, 149}, {153, 18, 0, 98},
                              {102, 0, 0, 47},     {51, 0, 0, 0},     {0, 0, 0, 0}};
  for (int n = 0; n <= 5; ++n) {
    SCOPED_TRACE("pan" + std::to_string(n));
    const std::vector<std::uint8_t> file = Bytes(t.Temp(FadePictureName(n)));
    ASSERT_EQ(file.size(), fresh.size());
    EXPECT_TRUE(std::equal(file.begin(), file.begin() + 54, fresh.begin()));
    EXPECT_EQ(std::vector<int>(file.begin() + 54, file.begin() + 58),
              std::vector<int>(expected[n], expected[n] + 4));
    EXPECT_EQ(file.back(), expected[n][3]);
  }
  EXPECT_TRUE(t.f.platform.messages().empty());
}

TEST(Unpacking, RestoresOnlyThePresentFilesAndListsEveryFileInCreationOrder) {
  TempFilesFixture t;
  t.program.Write("SND/Efecto0.SND", std::string("\x00\x7F\xFF", 3));
  t.program.Write("SND/Efecto5.SND", "\xF0");
  t.program.Write("MUS/Tema3.MUS", "\x0F\xFE");
  t.f.v.sheets.Pantalla = Surface(256, 192);

  ASSERT_TRUE(MakeStillFades(t.f.v));
  UnpackSoundAndMusic(t.f.v);

  EXPECT_EQ(Bytes(t.Temp("snd0.tmp")), (std::vector<std::uint8_t>{0xFF, 0x80, 0x00}));
  EXPECT_EQ(Bytes(t.Temp("snd5.tmp")), (std::vector<std::uint8_t>{0x0F}));
  EXPECT_EQ(Bytes(t.Temp("mus3.tmp")), (std::vector<std::uint8_t>{0xF0, 0x01}));

  std::vector<std::string> expected;
  for (int n = 0; n <= 5; ++n) expected.push_back(t.Temp(FadePictureName(n)));
  for (const char* name : {"snd0.tmp", "snd5.tmp", "mus3.tmp"}) expected.push_back(t.Temp(name));
  EXPECT_EQ(t.Registered(), expected);
  // nothing else but the registry itself, and every file the owner's alone
  EXPECT_EQ(std::distance(fs::directory_iterator(t.temp.path()), fs::directory_iterator()),
            static_cast<std::ptrdiff_t>(expected.size() + 1));
  for (const auto& path : expected) {
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write)
        << path;
  }
}

// A disk that takes only part of a file: the fade pictures say so in the game's own message,
// the sounds are left out rather than played cut short.
TEST(StillFades, AShortWriteIsNoticed) {
  TempFilesFixture t;
  t.f.v.sheets.Pantalla = Surface(256, 192, Rgb(200, 200, 200));
  t.program.Write("SND/Efecto3.SND", std::string(200000, '\x55'));
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 100000;  // a fade picture is 147,510 bytes
  const auto previous = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  ::testing::internal::CaptureStderr();
  const bool made = MakeStillFades(t.f.v);
  UnpackSoundAndMusic(t.f.v);
  const std::string said = ::testing::internal::GetCapturedStderr();
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_TRUE(made);
  ASSERT_FALSE(t.f.platform.messages().empty());
  EXPECT_EQ(t.f.platform.messages()[0].text, "Error writing file " + t.Temp("pan0.tmp"));
  EXPECT_FALSE(fs::exists(t.Temp("snd3.tmp")));
  EXPECT_NE(said.find(t.program.folder() + "SND/Efecto3.SND cannot be restored"), std::string::npos)
      << said;
}

}  // namespace
}  // namespace zendor
