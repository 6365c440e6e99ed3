#include "app/config_files.h"

#include <array>

namespace zendor {
namespace {

constexpr std::array kManagedKeys = {
    ConfigKey{kMainIni, "Pantalla", "DDraw", "1"},
    ConfigKey{kMainIni, "Pantalla", "PantallaCompleta", "0"},
    ConfigKey{kMainIni, "Pantalla", "Ancho", "0"},
    ConfigKey{kMainIni, "Pantalla", "Alto", "0"},
    ConfigKey{kMainIni, "Opciones", "Dificultad", "0"},
    ConfigKey{kSoundIni, "Sonido", "SND", "1"},
    ConfigKey{kSoundIni, "Sonido", "MUS", "1"},
};

}  // namespace

std::span<const ConfigKey> ManagedConfigKeys() {
  return kManagedKeys;
}

Difficulty DifficultyFor(double value) {
  if (value == 0) return {2, 4};
  if (value == 2) return {5, 5};
  if (value == 3) return {8, 8};
  if (value == 4) return {8, 5};
  if (value == 5) return {11, 8};
  return {2, 2};
}

}  // namespace zendor
