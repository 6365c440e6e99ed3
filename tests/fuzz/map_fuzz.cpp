// The level map as the game loads it: "zendor.map" read from the program folder, every item
// applied to the level tables and painted into the strip with the shipped pictures.
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "assets/sprite_sheets.h"
#include "common/settings.h"
#include "common/sound_system.h"
#include "common/tracer.h"
#include "common/ventana.h"
#include "fuzz/fuzz_input.h"
#include "platform/headless/headless_platform.h"
#include "world/map_loader.h"

namespace {

using namespace zendor;

// A game window with its pictures loaded and prepared up to the map (which it loads from the
// input each time), kept for every input.
struct PreparedWindow {
  PreparedWindow() {
    settings.ProgramFolder = fuzz::WorkFolder().string() + "/";
    std::string error;
    if (!LoadSpriteSheets(v.sheets, std::string(ZENDOR_GAME_DIR) + "/ART/", &error)) {
      std::fprintf(stderr, "map fuzzing needs the shipped pictures: %s\n", error.c_str());
    }
    std::filesystem::remove(fuzz::WorkFolder() / "zendor.map");
    PrepareSpriteSheets(v);  // without a map: the strip as the map loader starts from it
    strip = v.sheets.Fondo;
    level = v.level;
  }
  HeadlessPlatform platform;
  Settings settings;
  Tracer tracer;
  SoundSystem sound{tracer};
  Ventana v{platform, settings, sound, tracer};
  Surface strip;
  LevelTables level;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static PreparedWindow* const window = new PreparedWindow;
  Ventana& v = window->v;
  v.sheets.Fondo = window->strip;
  v.level = LevelTables{};
  fuzz::WriteInput("zendor.map", data, size);
  LoadMap(v);
  return 0;
}
