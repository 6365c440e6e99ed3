#include "platform/surface.h"

#include <algorithm>

namespace zendor {

Surface::Surface(int width, int height, Pixel background)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      background_(background),
      pixels_(static_cast<std::size_t>(width_) * height_, background) {}

void Surface::fill(Pixel p) {
  std::fill(pixels_.begin(), pixels_.end(), p);
}

void Surface::resize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  std::vector<Pixel> grown(static_cast<std::size_t>(width) * height, background_);
  const int keepW = std::min(width, width_);
  const int keepH = std::min(height, height_);
  for (int y = 0; y < keepH; ++y) {
    std::copy_n(row(y), keepW, grown.data() + static_cast<std::size_t>(y) * width);
  }
  pixels_.swap(grown);
  width_ = width;
  height_ = height;
}

}  // namespace zendor
