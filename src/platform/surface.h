#pragma once

#include <cstdint>
#include <vector>

namespace zendor {

// 24-bit colour held as 0x00RRGGBB.
using Pixel = std::uint32_t;

constexpr Pixel Rgb(int r, int g, int b) {
  return (static_cast<Pixel>(r & 0xFF) << 16) | (static_cast<Pixel>(g & 0xFF) << 8) |
         static_cast<Pixel>(b & 0xFF);
}
constexpr int RedOf(Pixel p) {
  return static_cast<int>((p >> 16) & 0xFF);
}
constexpr int GreenOf(Pixel p) {
  return static_cast<int>((p >> 8) & 0xFF);
}
constexpr int BlueOf(Pixel p) {
  return static_cast<int>(p & 0xFF);
}

constexpr Pixel kBlack = 0x000000;
constexpr Pixel kWhite = 0xFFFFFF;

// An off-screen picture: width x height pixels with a background colour used by Clear and by
// the new area when the picture grows.
class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, Pixel background = kBlack);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ <= 0 || height_ <= 0; }

  Pixel* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * stride_; }
  const Pixel* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * stride_; }
  int stride() const { return stride_; }
  Pixel at(int x, int y) const { return row(y)[x]; }
  void set(int x, int y, Pixel p) { row(y)[x] = p; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  Pixel background() const { return background_; }
  void setBackground(Pixel p) { background_ = p; }

  void fill(Pixel p);
  void clear() { fill(background_); }
  // Changes the size keeping the content at its place; new area takes the background colour.
  void resize(int width, int height);
  // Makes room for rows at least `width` pixels long, at least doubling the room it grows, so
  // that resizing the width within it moves nothing: a picture that grows step by step costs
  // about as much as its final size.
  void reserveWidth(int width);
  // Gives the room beyond the width back.
  void releaseSpareWidth();

  // Every pixel, rows back to back; while spare width is reserved each row is followed by it.
  const std::vector<Pixel>& pixels() const { return pixels_; }
  bool operator==(const Surface& other) const;

 private:
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;  // pixels from one row to the next: the width plus any spare room
  Pixel background_ = kBlack;
  std::vector<Pixel> pixels_;
};

}  // namespace zendor
