#include "platform/surface.h"

#include <algorithm>

namespace zendor {

Surface::Surface(int width, int height, Pixel background)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      stride_(width_),
      background_(background),
      pixels_(static_cast<std::size_t>(width_) * height_, background) {}

void Surface::fill(Pixel p) {
  std::fill(pixels_.begin(), pixels_.end(), p);
}

bool Surface::operator==(const Surface& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  for (int y = 0; y < height_; ++y) {
    if (!std::equal(row(y), row(y) + width_, other.row(y))) return false;
  }
  return true;
}

void Surface::resize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  if (height == height_ && width <= stride_) {
    // Within the reserved room: only the columns that come into view change.
    for (int y = 0; y < height_ && width > width_; ++y) {
      std::fill(row(y) + width_, row(y) + width, background_);
    }
    width_ = width;
    return;
  }
  std::vector<Pixel> grown(static_cast<std::size_t>(width) * height, background_);
  const int keepW = std::min(width, width_);
  const int keepH = std::min(height, height_);
  for (int y = 0; y < keepH; ++y) {
    std::copy_n(row(y), keepW, grown.data() + static_cast<std::size_t>(y) * width);
  }
  pixels_.swap(grown);
  width_ = width;
  height_ = height;
  stride_ = width;
}

void Surface::reserveWidth(int width) {
  if (width <= stride_) return;
  width = std::max(width, 2 * stride_);  // doubling: a picture grown step by step moves rarely
  std::vector<Pixel> roomier(static_cast<std::size_t>(width) * height_, background_);
  for (int y = 0; y < height_; ++y) {
    std::copy_n(row(y), width_, roomier.data() + static_cast<std::size_t>(y) * width);
  }
  pixels_.swap(roomier);
  stride_ = width;
}

void Surface::releaseSpareWidth() {
  if (stride_ == width_) return;
  std::vector<Pixel> tight(static_cast<std::size_t>(width_) * height_);
  for (int y = 0; y < height_; ++y) {
    std::copy_n(row(y), width_, tight.data() + static_cast<std::size_t>(y) * width_);
  }
  pixels_.swap(tight);
  stride_ = width_;
}

}  // namespace zendor
