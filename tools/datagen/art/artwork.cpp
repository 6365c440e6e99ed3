#include <functional>
#include <stdexcept>
#include <string>

#include "assets/sprite_catalogue.h"
#include "datagen/art/painters.h"
#include "datagen/datagen.h"
#include "platform/image_file.h"

namespace zendor::datagen {
namespace {

struct SheetPainter {
  const char* name;
  int index;
  std::function<Surface()> paint;
};

const std::vector<SheetPainter>& Painters() {
  static const std::vector<SheetPainter> painters = {
      {"Zendor", 2, HeroInAirSheet},
      {"Zendor", 3, HeroWalkSheet},
      {"Zendor", 4, HeroCrouchSheet},
      {"Zendor", 13, HeroTakeOffSheet},
      {"Zendor", 15, HeroLandingSheet},
      {"Zendor", 23, HeroAttackSheet},
      {"explota_zendor", -1, HeroExplosionSheet},
      {"Bicho", 0, [] { return EnemySheet(0); }},
      {"Bicho", 1, [] { return EnemySheet(1); }},
      {"Bicho", 2, [] { return EnemySheet(2); }},
      {"Bicho", 3, [] { return EnemySheet(3); }},
      {"Bicho", 4, [] { return EnemySheet(4); }},
      {"Mapa", 0, CrashedShipSheet},
      {"Mapa", 1, [] { return GroundTileSheet(1); }},
      {"Mapa", 2, [] { return GroundTileSheet(2); }},
      {"Mapa", 3, [] { return GroundTileSheet(3); }},
      {"Mapa", 4, LavaSheet},
      {"Mapa", 5, GroundEndSheet},
      {"Mapa", 6, ChasmSheet},
      {"Mapa", 8, RockColumnSheet},
      {"Mapa", 9, BuildingSheet},
      {"Suelo", 0, [] { return GroundFaceSheet(0); }},
      {"Suelo", 1, [] { return GroundFaceSheet(1); }},
      {"Suelo", 2, [] { return GroundFaceSheet(2); }},
      {"laser", 1, [] { return LaserSheet(1); }},
      {"laser", 2, [] { return LaserSheet(2); }},
      {"laser", 3, [] { return LaserSheet(3); }},
      {"laser", 4, [] { return LaserSheet(4); }},
      {"laser", 5, [] { return LaserSheet(5); }},
      {"laser", 6, [] { return LaserSheet(6); }},
      {"explota", 0, [] { return EnemyExplosionSheet(0); }},
      {"explota", 1, [] { return EnemyExplosionSheet(1); }},
      {"explota", 2, [] { return EnemyExplosionSheet(2); }},
      {"explota", 3, [] { return EnemyExplosionSheet(3); }},
      {"explota", 4, [] { return EnemyExplosionSheet(4); }},
      {"isleta_g", -1, IslandSheet},
      {"sombra", -1, ShadowSheet},
      {"Cielo", -1, SkySheet},
      {"Estrellas", -1, StarSheet},
      {"Panel", -1, PanelSheet},
      {"Vidas_IMG", -1, LivesSheet},
      {"Letras", -1, FontSheet},
      {"Pantalla", -1, LoadingPicture},
  };
  return painters;
}

Surface PaintSheet(const ShippedSheet& entry) {
  for (const SheetPainter& painter : Painters()) {
    if (entry.name != std::string(painter.name) || entry.index != painter.index) continue;
    Surface sheet = painter.paint();
    if (sheet.width() != entry.width || sheet.height() != entry.height)
      throw std::logic_error(SheetFileName(entry) + ": painted " + std::to_string(sheet.width()) +
                             " x " + std::to_string(sheet.height()) + ", the game expects " +
                             std::to_string(entry.width) + " x " + std::to_string(entry.height));
    return sheet;
  }
  throw std::logic_error(SheetFileName(entry) + ": no painter for this sheet");
}

}  // namespace

void WriteArtwork(const std::filesystem::path& artDir) {
  for (const ShippedSheet& entry : ShippedSheets()) {
    const Surface sheet = PaintSheet(entry);
    const std::filesystem::path path = artDir / SheetFileName(entry);
    if (entry.sixteenColours) {
      std::vector<std::uint8_t> bytes;
      if (!EncodeBmp4(sheet, bytes))
        throw std::runtime_error(path.string() + ": the picture holds more than 16 colours");
      if (!WriteWholeFile(path, bytes))
        throw std::runtime_error(path.string() + ": cannot be written");
    } else {
      std::string error;
      if (!WriteImageFile(path, sheet, &error)) throw std::runtime_error(error);
    }
  }
}

}  // namespace zendor::datagen
