// zendor-datagen: makes the game's pictures, sounds and music themes from source.
//
//   zendor-datagen GAME_DIR               writes ART/, SND/ and MUS/ into the program folder
//   zendor-datagen --docs DOCS GAME_DIR   redraws the documentation pictures from GAME_DIR
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "assets/sprite_catalogue.h"
#include "datagen/datagen.h"

namespace fs = std::filesystem;
using namespace zendor;

namespace {

void WriteGameFiles(const fs::path& gameDir) {
  fs::create_directories(gameDir / kArtFolder);
  fs::create_directories(gameDir / "SND");
  fs::create_directories(gameDir / "MUS");
  datagen::WriteArtwork(gameDir / kArtFolder);
  for (const auto& effect : datagen::MakeSoundEffects()) {
    datagen::WriteComplemented(
        gameDir / "SND" / ("Efecto" + std::to_string(effect.number) + ".SND"), effect.bytes);
  }
  for (const auto& theme : datagen::MakeMusicThemes()) {
    datagen::WriteComplemented(gameDir / "MUS" / ("Tema" + std::to_string(theme.number) + ".MUS"),
                               theme.bytes);
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 4 && std::string(argv[1]) == "--docs") {
      const fs::path docs = argv[2];
      fs::create_directories(docs / "art");
      datagen::WriteContactSheet(fs::path(argv[3]) / kArtFolder, docs / "art" / "sheets.png");
      return 0;
    }
    if (argc == 2) {
      WriteGameFiles(argv[1]);
      return 0;
    }
    std::fprintf(stderr,
                 "usage: zendor-datagen GAME_DIR | zendor-datagen --docs DOCS_DIR GAME_DIR\n");
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zendor-datagen: %s\n", e.what());
    return 1;
  }
}
