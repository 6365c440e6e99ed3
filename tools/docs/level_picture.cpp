// zendor-docs-level: paints the level strip exactly as the game builds it while its loading
// screen shows, from a program folder's artwork and map, and writes it as a picture: the strip
// cut into rows of five views each, one under the other, so that the whole level can be read.
//
//   zendor-docs-level GAME_DIR OUT.png
#include <cstdio>
#include <string>

#include "assets/sprite_catalogue.h"
#include "assets/sprite_sheets.h"
#include "common/settings.h"
#include "common/sound_system.h"
#include "common/tracer.h"
#include "common/ventana.h"
#include "platform/blit.h"
#include "platform/headless/headless_platform.h"
#include "platform/image_file.h"

using namespace zendor;

namespace {

constexpr int kRowWidth = 5 * 240;
constexpr int kRowGap = 4;

Surface InRows(const Surface& strip) {
  const int rows = (strip.width() + kRowWidth - 1) / kRowWidth;
  const int pitch = strip.height() + kRowGap;
  Surface page(kRowWidth, rows * pitch - kRowGap, kBlack);
  for (int r = 0; r < rows; ++r) {
    BitBlt(page, 0, r * pitch, kRowWidth, strip.height(), strip, r * kRowWidth, 0, Rop::SrcCopy);
  }
  return page;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zendor-docs-level GAME_DIR OUT.png\n");
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '/') folder += '/';

  HeadlessPlatform platform;
  Settings settings;
  settings.ProgramFolder = folder;
  Tracer tracer;
  SoundSystem sound(tracer);
  Ventana v(platform, settings, sound, tracer);

  std::string error;
  if (!LoadSpriteSheets(v.sheets, folder + kArtFolder + "/", &error)) {
    std::fprintf(stderr, "zendor-docs-level: %s\n", error.c_str());
    return 1;
  }
  PrepareSpriteSheets(v);
  if (!WriteImageFile(argv[2], InRows(v.sheets.Fondo), &error)) {
    std::fprintf(stderr, "zendor-docs-level: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
