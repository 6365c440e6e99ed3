// Picture files as the game decodes its sheets: at most as large as the largest sheet.
#include <algorithm>
#include <cstdint>

#include "assets/sprite_catalogue.h"
#include "platform/image_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zendor;
  static const PictureLimit largest = [] {
    PictureLimit l{0, 0};
    for (const ShippedSheet& entry : ShippedSheets()) {
      l.width = std::max(l.width, entry.width);
      l.height = std::max(l.height, entry.height);
    }
    return l;
  }();
  const std::vector<std::uint8_t> bytes(data, data + size);
  const ImageReadResult bmp = DecodeBmp(bytes, largest);
  if (bmp.ok() && (bmp.surface.width() > largest.width || bmp.surface.height() > largest.height)) {
    __builtin_trap();
  }
  const ImageReadResult png = DecodePng(bytes, largest);
  if (png.ok() && (png.surface.width() > largest.width || png.surface.height() > largest.height)) {
    __builtin_trap();
  }
  return 0;
}
