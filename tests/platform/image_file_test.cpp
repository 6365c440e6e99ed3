#include "platform/image_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zendor {
namespace {

std::vector<std::uint8_t> CorpusFile(const std::string& name) {
  std::vector<std::uint8_t> bytes;
  EXPECT_TRUE(
      ReadWholeFile(std::string(ZENDOR_SOURCE_DIR) + "/tests/fuzz/corpus/picture/" + name, bytes));
  return bytes;
}

// A bitmap header claiming w x h pixels of `bits` each, with no pixel data after it.
std::vector<std::uint8_t> BareBitmapHeader(std::int32_t w, std::int32_t h, int bits) {
  std::vector<std::uint8_t> b = EncodeBmp24(Surface(1, 1));
  b.resize(54 + 8);  // a two-colour table
  const auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put32(10, 62);
  put32(18, static_cast<std::uint32_t>(w));
  put32(22, static_cast<std::uint32_t>(h));
  b[28] = static_cast<std::uint8_t>(bits);
  put32(46, 0);
  return b;
}

// Sizes are checked against what the caller can use before any pixel is allocated; a header
// can neither overflow the arithmetic nor ask for gigabytes.
TEST(PictureFiles, SizesAreCheckedBeforeAnythingIsAllocated) {
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
    PictureLimit largest;
    const char* error;
  } cases[] = {
      {"a bitmap of height INT32_MIN", CorpusFile("height-int-min.bmp"), kLargestPicture,
       "is 1 x 2147483648 pixels, larger than the 8192 x 8192 the game reads"},
      {"a one-bit bitmap of 32768 x 32768",
       BareBitmapHeader(32768, 32768, 1),
       {304, 192},
       "is 32768 x 32768 pixels, larger than the 304 x 192 the game reads"},
      {"a top-down bitmap one row too tall",
       BareBitmapHeader(10, -193, 1),
       {304, 192},
       "is 10 x 193 pixels, larger than the 304 x 192 the game reads"},
      {"a PNG header of 1.4 GB", CorpusFile("huge-header-33-bytes.png"), kLargestPicture, ""},
      {"a PNG header of 4.3 GB", CorpusFile("huge-header-66-bytes.png"), kLargestPicture, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const bool png = c.bytes.size() > 1 && c.bytes[1] == 'P';
    const ImageReadResult r = png ? DecodePng(c.bytes, c.largest) : DecodeBmp(c.bytes, c.largest);
    EXPECT_FALSE(r.ok());
    if (*c.error) {
      EXPECT_EQ(r.error, c.error);
    }
    EXPECT_TRUE(r.surface.empty());
  }
}

TEST(PictureFiles, WhatIsWrittenReadsBackUnderItsOwnLimit) {
  Surface picture(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) picture.set(x, y, Rgb(40 * x, 80 * y, 7));
  EXPECT_EQ(DecodeBmp(EncodeBmp24(picture), {5, 3}).surface, picture);
  EXPECT_EQ(DecodePng(EncodePng(picture), {5, 3}).surface, picture);
  EXPECT_FALSE(DecodePng(EncodePng(picture), {4, 3}).ok());
  // Pixel data that ends early or runs on is damage, not a picture.
  std::vector<std::uint8_t> png = EncodePng(picture);
  png.resize(png.size() - 20);
  EXPECT_FALSE(DecodePng(png).ok());
}

}  // namespace
}  // namespace zendor
