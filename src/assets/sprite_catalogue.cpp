#include "assets/sprite_catalogue.h"

#include <array>

namespace zendor {
namespace {

using L = SheetLayout;

constexpr std::array kSheets = {
    // The hero: every source picture faces right; the game mirrors the left-facing ones.
    SheetSpec{"Zendor", 2, 23, 82, 1, L::MaskBelow, false},     // in the air
    SheetSpec{"Zendor", 3, 264, 82, 12, L::MaskBelow, false},   // walk 0-3, idle gestures 4-11
    SheetSpec{"Zendor", 4, 30, 64, 1, L::MaskBelow, false},     // crouching
    SheetSpec{"Zendor", 13, 30, 82, 1, L::MaskBelow, false},    // taking off
    SheetSpec{"Zendor", 15, 23, 82, 1, L::MaskBelow, false},    // landing
    SheetSpec{"Zendor", 23, 192, 102, 6, L::MaskBelow, false},  // close attack
    SheetSpec{"explota_zendor", -1, 72, 64, 3, L::MaskBelow, false},
    // Enemies, drawn as they look moving right.
    SheetSpec{"Bicho", 0, 96, 76, 4, L::MaskBelow, false},  // flyer
    SheetSpec{"Bicho", 1, 84, 54, 4, L::MaskBelow, false},  // small armoured walker
    SheetSpec{"Bicho", 2, 96, 80, 4, L::MaskBelow, false},  // hopper
    SheetSpec{"Bicho", 3, 96, 80, 4, L::MaskBelow, false},
    SheetSpec{"Bicho", 4, 100, 78, 4, L::MaskBelow, true},
    // Level pieces.
    SheetSpec{"Mapa", 0, 184, 120, 1, L::MaskBeside, false},  // crashed ship at the start
    SheetSpec{"Mapa", 1, 48, 17, 1, L::Opaque, false},
    SheetSpec{"Mapa", 2, 48, 17, 1, L::Opaque, false},
    SheetSpec{"Mapa", 3, 48, 17, 1, L::Opaque, false},
    SheetSpec{"Mapa", 4, 288, 50, 4, L::MaskBelow, false},   // lava pit
    SheetSpec{"Mapa", 5, 16, 17, 1, L::Opaque, false},       // ground edge
    SheetSpec{"Mapa", 6, 240, 32, 1, L::Opaque, false},      // chasm texture
    SheetSpec{"Mapa", 8, 48, 114, 1, L::MaskBelow, false},   // rock column
    SheetSpec{"Mapa", 9, 112, 122, 1, L::MaskBelow, false},  // building on a ledge
    SheetSpec{"Suelo", 0, 48, 15, 1, L::Opaque, false},
    SheetSpec{"Suelo", 1, 72, 15, 1, L::Opaque, false},
    SheetSpec{"Suelo", 2, 16, 15, 1, L::Opaque, false},
    // Shots, facing right.
    SheetSpec{"laser", 1, 31, 12, 1, L::MaskBelow, false},
    SheetSpec{"laser", 2, 30, 10, 1, L::MaskBelow, false},
    SheetSpec{"laser", 3, 30, 10, 1, L::MaskBelow, false},
    SheetSpec{"laser", 4, 11, 26, 1, L::MaskBelow, false},
    SheetSpec{"laser", 5, 8, 16, 1, L::MaskBelow, false},
    SheetSpec{"laser", 6, 6, 8, 1, L::MaskBelow, false},
    SheetSpec{"explota", 0, 48, 64, 2, L::MaskBelow, false},
    SheetSpec{"explota", 1, 48, 64, 2, L::MaskBelow, false},
    SheetSpec{"explota", 2, 48, 64, 2, L::MaskBelow, false},
    SheetSpec{"explota", 3, 48, 64, 2, L::MaskBelow, false},
    SheetSpec{"explota", 4, 48, 64, 2, L::MaskBelow, false},
    SheetSpec{"isleta_g", -1, 23, 46, 1, L::MaskBelow, false},
    SheetSpec{"sombra", -1, 24, 24, 1, L::Shadow, false},
    SheetSpec{"Cielo", -1, 240, 88, 1, L::Opaque, false},
    SheetSpec{"Estrellas", -1, 240, 100, 1, L::MaskBelow, false},
    SheetSpec{"Panel", -1, 240, 64, 1, L::Opaque, false},
    SheetSpec{"Vidas_IMG", -1, 100, 16, 10, L::Opaque, false},
    SheetSpec{"Letras", -1, 304, 99, 38, L::Font, false},
    SheetSpec{"Pantalla", -1, 256, 192, 1, L::Opaque, false},
};

}  // namespace

std::span<const SheetSpec> ShippedSheets() {
  return kSheets;
}

std::string SheetFileName(const SheetSpec& spec) {
  std::string name = spec.name;
  if (spec.index >= 0) name += std::to_string(spec.index);
  return name + ".bmp";
}

}  // namespace zendor
