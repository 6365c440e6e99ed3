#include "datagen/art/sheet_layout.h"

#include <stdexcept>

#include "platform/blit.h"

namespace zendor::datagen {

Surface JoinFrames(std::span<const Surface> frames) {
  if (frames.empty()) return Surface();
  const int w = frames[0].width(), h = frames[0].height();
  Surface out(w * static_cast<int>(frames.size()), h);
  for (std::size_t k = 0; k < frames.size(); ++k) {
    if (frames[k].width() != w || frames[k].height() != h)
      throw std::logic_error("animation frames differ in size");
    BitBlt(out, static_cast<int>(k) * w, 0, w, h, frames[k], 0, 0, Rop::SrcCopy);
  }
  return out;
}

Surface MaskOf(const Surface& image) {
  Surface mask(image.width(), image.height());
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      mask.set(x, y, image.at(x, y) == kBlack ? kWhite : kBlack);
  return mask;
}

Surface WithMaskBelow(const Surface& image) {
  Surface out(image.width(), image.height() * 2);
  BitBlt(out, 0, 0, image.width(), image.height(), image, 0, 0, Rop::SrcCopy);
  const Surface mask = MaskOf(image);
  BitBlt(out, 0, image.height(), image.width(), image.height(), mask, 0, 0, Rop::SrcCopy);
  return out;
}

Surface WithMaskBeside(const Surface& image) {
  Surface out(image.width() * 2, image.height());
  BitBlt(out, 0, 0, image.width(), image.height(), image, 0, 0, Rop::SrcCopy);
  const Surface mask = MaskOf(image);
  BitBlt(out, image.width(), 0, image.width(), image.height(), mask, 0, 0, Rop::SrcCopy);
  return out;
}

}  // namespace zendor::datagen
