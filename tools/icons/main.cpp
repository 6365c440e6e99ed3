// zendor-icons: the desktop icon in several sizes, cut from the game's own panel art (the
// hero's portrait) and enlarged pixel by pixel.
//
//   zendor-icons GAME_DIR OUT_DIR NAME
// writes OUT_DIR/<N>x<N>/apps/NAME.png for every size.
#include <cstdio>
#include <filesystem>
#include <string>

#include "assets/sprite_catalogue.h"
#include "platform/image_file.h"

using namespace zendor;

namespace {

// The hero's portrait in the panel picture.
constexpr int kPortraitX = 5, kPortraitY = 5, kPortraitSide = 40;
constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

Surface Scaled(const Surface& source, int sx, int sy, int side, int size) {
  Surface out(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x)
      out.set(x, y, source.at(sx + x * side / size, sy + y * side / size));
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: zendor-icons GAME_DIR OUT_DIR NAME\n");
    return 2;
  }
  const std::filesystem::path panelFile = std::filesystem::path(argv[1]) / kArtFolder / "Panel.bmp";
  const ImageReadResult panel = ReadImageFile(panelFile);
  if (!panel.ok()) {
    std::fprintf(stderr, "zendor-icons: %s\n", panel.error.c_str());
    return 1;
  }
  if (!panel.surface.contains(kPortraitX + kPortraitSide - 1, kPortraitY + kPortraitSide - 1)) {
    std::fprintf(stderr, "zendor-icons: %s is too small for the portrait\n",
                 panelFile.string().c_str());
    return 1;
  }
  for (int size : kSizes) {
    const std::string side = std::to_string(size);
    const std::filesystem::path folder =
        std::filesystem::path(argv[2]) / (side + "x" + side) / "apps";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::string error;
    const Surface icon = Scaled(panel.surface, kPortraitX, kPortraitY, kPortraitSide, size);
    if (!WriteImageFile(folder / (std::string(argv[3]) + ".png"), icon, &error)) {
      std::fprintf(stderr, "zendor-icons: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
