#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/surface.h"
#include "platform/whole_file.h"

namespace zendor {

// Result of reading a picture file: the picture, or an error naming the file and the reason.
struct ImageReadResult {
  Surface surface;
  std::string error;  // empty on success
  bool ok() const { return error.empty(); }
};

// The largest picture a decoder accepts: its size is checked before anything is allocated.
struct PictureLimit {
  int width;
  int height;
};
// Without a smaller limit: far more than any picture of the game, far less than the memory.
inline constexpr PictureLimit kLargestPicture{8192, 8192};
// The largest picture file read.
inline constexpr std::size_t kLargestPictureFile = std::size_t{16} << 20;

// Uncompressed Windows bitmap. Writing always gives 24 bits per pixel, bottom-up rows of
// blue-green-red padded to 4 bytes, pixel data at offset 54.
std::vector<std::uint8_t> EncodeBmp24(const Surface& surface);
// Writes a bitmap with 4 bits per pixel and a 16-colour table; fails when the picture holds more
// than 16 colours.
bool EncodeBmp4(const Surface& surface, std::vector<std::uint8_t>& out);
// Reads 1, 4, 8, 24 and 32-bit uncompressed bitmaps, top-down or bottom-up.
ImageReadResult DecodeBmp(const std::vector<std::uint8_t>& bytes,
                          PictureLimit largest = kLargestPicture);

// PNG, 8-bit RGB. Reading accepts 8-bit grey, RGB and RGBA, non-interlaced.
std::vector<std::uint8_t> EncodePng(const Surface& surface);
ImageReadResult DecodePng(const std::vector<std::uint8_t>& bytes,
                          PictureLimit largest = kLargestPicture);

// Whole-file helpers; the format follows the extension (.png, anything else is a bitmap).
ImageReadResult ReadImageFile(const std::filesystem::path& path,
                              PictureLimit largest = kLargestPicture);
bool WriteImageFile(const std::filesystem::path& path, const Surface& surface, std::string* error);

}  // namespace zendor
