// The table of the game's music themes, written as standard MIDI files.
#include <stdexcept>
#include <string>

#include "datagen/audio/themes/themes.h"
#include "datagen/datagen.h"

namespace zendor::datagen {
namespace {

struct ThemeRecipe {
  int number;
  music::Score (*compose)();
};

constexpr ThemeRecipe kThemes[] = {
    {0, music::LoadingJingle}, {5, music::MenuTheme},   {7, music::ExplorationTheme},
    {8, music::PursuitTheme},  {9, music::AmbushTheme}, {10, music::FinalPushTheme},
};

}  // namespace

std::vector<StoredFile> MakeMusicThemes() {
  std::vector<StoredFile> files;
  for (const ThemeRecipe& recipe : kThemes) {
    try {
      files.push_back({recipe.number, music::ToMidiFile(recipe.compose())});
    } catch (const std::invalid_argument& e) {
      throw std::runtime_error("music theme " + std::to_string(recipe.number) + ": " + e.what());
    }
  }
  return files;
}

}  // namespace zendor::datagen
