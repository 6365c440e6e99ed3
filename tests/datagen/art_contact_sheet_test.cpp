// The contact sheet of the shipped pictures: every picture appears enlarged three times on a
// grey page, and a missing picture is named in the error instead of being skipped.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "assets/sprite_catalogue.h"
#include "datagen/datagen.h"
#include "platform/image_file.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

namespace fs = std::filesystem;

class ContactSheetTest : public ::testing::Test {
 protected:
  void SetUp() override { datagen::WriteArtwork(folder_); }
  testing::ScratchFolder scratch_;
  const fs::path folder_ = scratch_.path();
};

// Whether `page` holds `picture` enlarged `zoom` times anywhere (checked on a few pixels).
bool Shows(const Surface& page, const Surface& picture, int zoom) {
  const int w = picture.width() * zoom, h = picture.height() * zoom;
  for (int y = 0; y + h <= page.height(); ++y)
    for (int x = 0; x + w <= page.width(); ++x) {
      if (page.at(x, y) != picture.at(0, 0)) continue;
      bool same = true;
      for (int py = 0; py < picture.height() && same; py += 3)
        for (int px = 0; px < picture.width() && same; px += 3)
          same = page.at(x + px * zoom + zoom - 1, y + py * zoom + zoom - 1) == picture.at(px, py);
      if (same) return true;
    }
  return false;
}

TEST_F(ContactSheetTest, ShowsThePicturesEnlargedOnGrey) {
  const fs::path png = folder_ / "sheets.png";
  datagen::WriteContactSheet(folder_, png);
  const ImageReadResult page = ReadImageFile(png);
  ASSERT_TRUE(page.ok()) << page.error;
  const Pixel corner = page.surface.at(0, 0);
  EXPECT_EQ(RedOf(corner), GreenOf(corner));
  EXPECT_NEAR(RedOf(corner), BlueOf(corner), 8);
  for (const char* file : {"Panel.bmp", "Vidas_IMG.bmp", "sombra.bmp"}) {
    const ImageReadResult picture = ReadImageFile(folder_ / file);
    ASSERT_TRUE(picture.ok()) << picture.error;
    EXPECT_TRUE(Shows(page.surface, picture.surface, 3)) << file;
  }
}

TEST_F(ContactSheetTest, AMissingPictureIsNamed) {
  fs::remove(folder_ / "Cielo.bmp");
  try {
    datagen::WriteContactSheet(folder_, folder_ / "sheets.png");
    FAIL() << "no error for a missing picture";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("Cielo.bmp"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(fs::exists(folder_ / "sheets.png"));
}

}  // namespace
}  // namespace zendor
