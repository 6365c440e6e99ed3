#include "assets/sprite_catalogue.h"

#include <array>

#include "common/enemy_kinds.h"
#include "common/hero_states.h"

namespace zendor {
namespace {

using L = SheetLayout;

constexpr std::array kSheets = {
    // The hero: every source picture faces right; the game mirrors the left-facing ones.
    ShippedSheet{"Zendor", kHero02AirborneRight, 23, 82, 1, L::MaskBelow, false},  // in the air
    ShippedSheet{"Zendor", kHero03StandRight, 264, 82, 12, L::MaskBelow,
                 false},  // walk 0-3, idle gestures 4-11
    ShippedSheet{"Zendor", kHero04CrouchRight, 30, 64, 1, L::MaskBelow, false},    // crouching
    ShippedSheet{"Zendor", kHero13TakeOffRight, 30, 82, 1, L::MaskBelow, false},   // taking off
    ShippedSheet{"Zendor", kHero15LandedRight, 23, 82, 1, L::MaskBelow, false},    // landing
    ShippedSheet{"Zendor", kHero23AttackRight, 192, 102, 6, L::MaskBelow, false},  // close attack
    ShippedSheet{"explota_zendor", -1, 72, 64, 3, L::MaskBelow, false},
    // Enemies, drawn as they look moving right.
    ShippedSheet{"Bicho", kEnemy0Stinger, 96, 76, 4, L::MaskBelow, false},  // flyer
    ShippedSheet{"Bicho", kEnemy1Armoured, 84, 54, 4, L::MaskBelow,
                 false},                                                   // small armoured walker
    ShippedSheet{"Bicho", kEnemy2Hopper, 96, 80, 4, L::MaskBelow, false},  // hopper
    ShippedSheet{"Bicho", kEnemy3Brute, 96, 80, 4, L::MaskBelow, false},
    ShippedSheet{"Bicho", kEnemy4Stilts, 100, 78, 4, L::MaskBelow, true},
    // Level pieces.
    ShippedSheet{"Mapa", 0, 184, 120, 1, L::MaskBeside, false},  // crashed ship at the start
    ShippedSheet{"Mapa", 1, 48, 17, 1, L::Opaque, false},
    ShippedSheet{"Mapa", 2, 48, 17, 1, L::Opaque, false},
    ShippedSheet{"Mapa", 3, 48, 17, 1, L::Opaque, false},
    ShippedSheet{"Mapa", 4, 288, 50, 4, L::MaskBelow, false},   // lava pit
    ShippedSheet{"Mapa", 5, 16, 17, 1, L::Opaque, false},       // ground edge
    ShippedSheet{"Mapa", 6, 240, 32, 1, L::Opaque, false},      // chasm texture
    ShippedSheet{"Mapa", 8, 48, 114, 1, L::MaskBelow, false},   // rock column
    ShippedSheet{"Mapa", 9, 112, 122, 1, L::MaskBelow, false},  // building on a ledge
    ShippedSheet{"Suelo", 0, 48, 15, 1, L::Opaque, false},
    ShippedSheet{"Suelo", 1, 72, 15, 1, L::Opaque, false},
    ShippedSheet{"Suelo", 2, 16, 15, 1, L::Opaque, false},
    // Shots, facing right.
    ShippedSheet{"laser", 1, 31, 12, 1, L::MaskBelow, false},
    ShippedSheet{"laser", 2, 30, 10, 1, L::MaskBelow, false},
    ShippedSheet{"laser", 3, 30, 10, 1, L::MaskBelow, false},
    ShippedSheet{"laser", 4, 11, 26, 1, L::MaskBelow, false},
    ShippedSheet{"laser", 5, 8, 16, 1, L::MaskBelow, false},
    ShippedSheet{"laser", 6, 6, 8, 1, L::MaskBelow, false},
    ShippedSheet{"explota", 0, 48, 64, 2, L::MaskBelow, false},
    ShippedSheet{"explota", 1, 48, 64, 2, L::MaskBelow, false},
    ShippedSheet{"explota", 2, 48, 64, 2, L::MaskBelow, false},
    ShippedSheet{"explota", 3, 48, 64, 2, L::MaskBelow, false},
    ShippedSheet{"explota", 4, 48, 64, 2, L::MaskBelow, false},
    ShippedSheet{"isleta_g", -1, 23, 46, 1, L::MaskBelow, false},
    ShippedSheet{"sombra", -1, 24, 24, 1, L::Shadow, false},
    ShippedSheet{"Cielo", -1, 240, 88, 1, L::Opaque, false},
    ShippedSheet{"Estrellas", -1, 240, 100, 1, L::MaskBelow, false},
    ShippedSheet{"Panel", -1, 240, 64, 1, L::Opaque, false},
    ShippedSheet{"Vidas_IMG", -1, 100, 16, 10, L::Opaque, false},
    ShippedSheet{"Letras", -1, 304, 99, 38, L::Font, false},
    ShippedSheet{"Pantalla", -1, 256, 192, 1, L::Opaque, false},
};

}  // namespace

std::span<const ShippedSheet> ShippedSheets() {
  return kSheets;
}

std::string SheetFileName(const ShippedSheet& entry) {
  std::string name = entry.name;
  if (entry.index >= 0) name += std::to_string(entry.index);
  return name + ".bmp";
}

}  // namespace zendor
