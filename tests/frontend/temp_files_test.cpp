#include "assets/temp_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/image_file.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

using testing::GameFixture;
using testing::ScratchFolder;

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::uint8_t> Bytes(const std::filesystem::path& path) {
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
  std::vector<std::string> Registered() const { return Lines(f.settings.Registry.path()); }

  ScratchFolder program;
  ScratchFolder temp;
  GameFixture f;
};

TEST(StillFades, DarkenThePixelRowsStepByStepAndLeaveTheHeaders) {
  TempFilesFixture t;
  Surface picture(256, 192, Rgb(200, 200, 200));
  picture.set(0, 191, Rgb(51, 120, 255));  // bottom-up rows: the first pixel in the file
  t.f.v.sheets.Pantalla = picture;

  ASSERT_TRUE(MakeStillFades(t.f.v));
  EXPECT_EQ(t.f.settings.FadeStepCount, 5);

  const std::vector<std::uint8_t> fresh = EncodeBmp24(picture);
  ASSERT_EQ(fresh.size(), 147510u);
  EXPECT_EQ(Bytes(t.Temp("pan0.tmp")), fresh);

  // blue, green, red of the first pixel, then a plain grey byte
  const int expectedBlue[] = {255, 204, 153, 102, 51, 0};
  const int expectedGreen[] = {120, 69, 18, 0, 0, 0};
  const int expectedRed[] = {51, 0, 0, 0, 0, 0};
  const int expectedGrey[] = {200, 149, 98, 47, 0, 0};
  for (int n = 0; n <= 5; ++n) {
    SCOPED_TRACE("pan" + std::to_string(n));
    const std::vector<std::uint8_t> file = Bytes(t.Temp(FadePictureName(n)));
    ASSERT_EQ(file.size(), fresh.size());
    EXPECT_TRUE(std::equal(file.begin(), file.begin() + 54, fresh.begin()));
    EXPECT_EQ(file[54], expectedBlue[n]);
    EXPECT_EQ(file[55], expectedGreen[n]);
    EXPECT_EQ(file[56], expectedRed[n]);
    EXPECT_EQ(file[57], expectedGrey[n]);
    EXPECT_EQ(file.back(), expectedGrey[n]);
  }
  EXPECT_TRUE(t.f.platform.messages().empty());
}

TEST(StillFades, WithoutALoadingPictureNothingIsWritten) {
  TempFilesFixture t;
  EXPECT_FALSE(MakeStillFades(t.f.v));
  EXPECT_FALSE(std::filesystem::exists(t.Temp("pan0.tmp")));
  EXPECT_TRUE(t.Registered().empty());
}

TEST(StillFades, ReplaceALeftOverLinkInsteadOfWritingThroughIt) {
  TempFilesFixture t;
  const auto victim = t.program.Write("precious.txt", "keep me");
  std::filesystem::create_symlink(victim, t.Temp("pan2.tmp"));
  t.f.v.sheets.Pantalla = Surface(256, 192, Rgb(10, 20, 30));
  ASSERT_TRUE(MakeStillFades(t.f.v));
  EXPECT_FALSE(std::filesystem::is_symlink(t.Temp("pan2.tmp")));
  std::ifstream in(victim);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str(), "keep me");
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
  for (int n = 0; n <= 5; ++n) expected.push_back(t.Temp("pan" + std::to_string(n) + ".tmp"));
  expected.push_back(t.Temp("snd0.tmp"));
  expected.push_back(t.Temp("snd5.tmp"));
  expected.push_back(t.Temp("mus3.tmp"));
  EXPECT_EQ(t.Registered(), expected);

  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(t.temp.path())) {
    ++files;
  }
  EXPECT_EQ(files, expected.size() + 1);  // and the registry itself

  for (const auto& path : expected) {
    const auto perms = std::filesystem::status(path).permissions();
    EXPECT_EQ(perms & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
        << path;
  }
}

}  // namespace
}  // namespace zendor
