#pragma once

#include <cstdint>
#include <span>

namespace zendor {

// The two configuration files in the program folder.
inline constexpr const char* kMainIni = "Zendor Vostrik.INI";
inline constexpr const char* kSoundIni = "Brinmoor.INI";

// One key of the configuration that the game reads and the set-up program changes, with the
// value the game takes when the key or its file is missing.
struct ConfigKey {
  const char* file;
  const char* section;
  const char* key;
  const char* defaultValue;
};

// Every key the set-up program manages, in the order it shows them. "Idioma" is read by the game
// but has no effect, so it is left as the file has it.
std::span<const ConfigKey> ManagedConfigKeys();

// What a "Dificultad" value means for the enemies: how many slots and how rarely they come.
struct Difficulty {
  std::int16_t maxEnemies;
  float rarityScale;
};
Difficulty DifficultyFor(double value);

}  // namespace zendor
