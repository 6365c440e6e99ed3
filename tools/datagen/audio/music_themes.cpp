// The table of the game's music themes, written as standard MIDI files.
#include <stdexcept>
#include <string>

#include "common/sound_catalogue.h"
#include "datagen/audio/themes/themes.h"
#include "datagen/datagen.h"

namespace zendor::datagen {
namespace {

struct ThemeRecipe {
  MusicTheme number;
  music::Score (*compose)();
};

constexpr ThemeRecipe kThemes[] = {
    {kTheme00ArrivalJingle, music::LoadingJingle},  {kTheme05Menu, music::MenuTheme},
    {kTheme07Exploration, music::ExplorationTheme}, {kTheme08Pursuit, music::PursuitTheme},
    {kTheme09Ambush, music::AmbushTheme},           {kTheme10FinalPush, music::FinalPushTheme},
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
