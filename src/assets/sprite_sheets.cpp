#include "assets/sprite_sheets.h"

#include <filesystem>

#include "assets/sprite_catalogue.h"
#include "platform/blit.h"
#include "platform/image_file.h"
#include "world/map_loader.h"
#include "world/playfield.h"

namespace zendor {
namespace {

constexpr Pixel kButtonFace = Rgb(192, 192, 192);  // what a fresh picture box is filled with
constexpr Pixel kShadowScratchGrey = Rgb(128, 128, 128);
constexpr Pixel kLevelBackground = Rgb(50, 0, 152);

template <std::size_t N>
Surface* Member(std::array<Surface, N>& family, int index) {
  return index >= 0 && index < static_cast<int>(N) ? &family[static_cast<std::size_t>(index)]
                                                   : nullptr;
}

// The catalogue entry of a shipped picture.
const ShippedSheet* CatalogueEntry(std::string_view name, int index) {
  for (const ShippedSheet& entry : ShippedSheets()) {
    if (name == entry.name && index == entry.index) return &entry;
  }
  return nullptr;
}

// A holder that the preparation fills from a shipped picture, as large as that picture.
void MakeCopyHolder(SpriteSheets& sheets, std::string_view family, int index, int sourceIndex) {
  const ShippedSheet* source = CatalogueEntry(family, sourceIndex);
  Surface* holder = SheetHolder(sheets, family, index);
  if (source && holder) *holder = Surface(source->width, source->height, kBlack);
}

void MakeWorkSurfaces(SpriteSheets& sheets) {
  MakeCopyHolder(sheets, "Zendor", kHero06CrouchLeft, kHero04CrouchRight);
  MakeCopyHolder(sheets, "Zendor", kHero07StandLeft, kHero03StandRight);
  MakeCopyHolder(sheets, "Zendor", kHero17TakeOffLeft, kHero13TakeOffRight);
  MakeCopyHolder(sheets, "Zendor", kHero27AttackLeft, kHero23AttackRight);
  // The in-air and landing poses are 23 wide; their mirrored holders are 30 wide and keep their
  // own fill to the right of the picture.
  sheets.Zendor[kHero08AirborneLeft] = Surface(30, 82, kButtonFace);
  sheets.Zendor[kHero19LandedLeft] = Surface(30, 82, kButtonFace);
  MakeCopyHolder(sheets, "Mapa", 7, 5);
  MakeCopyHolder(sheets, "Suelo", 3, 2);
  sheets.Suelo[4] = Surface(48, 15, kBlack);
  for (int k = 1; k <= 6; ++k) MakeCopyHolder(sheets, "laser", k + 7, k);
  // The mirrored enemies take their sources' sizes during the preparation.
  for (std::size_t k = 10; k <= 14; ++k) sheets.Bicho[k] = Surface();
  sheets.sombra_temp = Surface(24, 16, kShadowScratchGrey);
  sheets.Fondo = Surface(2400, 120, kBlack);
  sheets.temp = Surface(256, 192, kBlack);
  sheets.borrador = Surface(256, 192, kBlack);
}

// Every frame flipped left to right inside its own cell; the frame order stays.
void MirrorFrames(Surface& dst, const Surface& src, int frames) {
  const int w = src.width() / frames;
  const int h = src.height();
  for (int k = 0; k < frames; ++k) {
    StretchBlt(dst, (k + 1) * w - 1, 0, -w, h, src, k * w, 0, w, h, Rop::SrcCopy);
  }
}

// The whole picture flipped left to right into the destination's first columns.
void MirrorWhole(Surface& dst, const Surface& src) {
  MirrorFrames(dst, src, 1);
}

}  // namespace

Surface* SheetHolder(SpriteSheets& s, std::string_view name, int index) {
  if (name == "Zendor") return Member(s.Zendor, index);
  if (name == "Bicho") return Member(s.Bicho, index);
  if (name == "Mapa") return Member(s.Mapa, index);
  if (name == "Suelo") return Member(s.Suelo, index);
  if (name == "laser") return Member(s.laser, index);
  if (name == "explota") return Member(s.explota, index);
  if (index >= 0) return nullptr;
  if (name == "explota_zendor") return &s.explota_zendor;
  if (name == "isleta_g") return &s.isleta_g;
  if (name == "sombra") return &s.sombra;
  if (name == "sombra_temp") return &s.sombra_temp;
  if (name == "Cielo") return &s.Cielo;
  if (name == "Estrellas") return &s.Estrellas;
  if (name == "Fondo") return &s.Fondo;
  if (name == "Panel") return &s.Panel;
  if (name == "Vidas_IMG") return &s.Vidas_IMG;
  if (name == "Letras") return &s.Letras;
  if (name == "Pantalla") return &s.Pantalla;
  if (name == "temp") return &s.temp;
  if (name == "borrador") return &s.borrador;
  return nullptr;
}

bool LoadSpriteSheets(SpriteSheets& sheets, const std::string& artFolder, std::string* error) {
  std::string problems;
  auto report = [&problems](const std::string& problem) {
    problems += (problems.empty() ? "" : "; ") + problem;
  };
  std::error_code ec;
  if (!std::filesystem::is_directory(artFolder, ec)) {
    report("the art folder " + artFolder + " cannot be found");
  } else {
    for (const ShippedSheet& entry : ShippedSheets()) {
      Surface* holder = SheetHolder(sheets, entry.name, entry.index);
      if (!holder) continue;
      // Nothing larger than the sheet is even decoded.
      ImageReadResult read = ReadImageFile(std::filesystem::path(artFolder) / SheetFileName(entry),
                                           PictureLimit{entry.width, entry.height});
      if (!read.ok()) {
        report(read.error);
      } else if (read.surface.width() != entry.width || read.surface.height() != entry.height) {
        report(artFolder + SheetFileName(entry) + ": is " + std::to_string(read.surface.width()) +
               " x " + std::to_string(read.surface.height()) + " pixels, the game needs " +
               std::to_string(entry.width) + " x " + std::to_string(entry.height));
      } else {
        *holder = std::move(read.surface);
      }
    }
  }
  MakeWorkSurfaces(sheets);
  if (error) *error = problems;
  return problems.empty();
}

void PrepareSpriteSheets(Ventana& v) {
  SpriteSheets& s = v.sheets;
  // Left-facing hero: walk cycle and fighting poses frame by frame, single poses whole.
  MirrorFrames(s.Zendor[kHero07StandLeft], s.Zendor[kHero03StandRight], 12);
  MirrorFrames(s.Zendor[kHero27AttackLeft], s.Zendor[kHero23AttackRight], 6);
  MirrorWhole(s.Zendor[kHero06CrouchLeft], s.Zendor[kHero04CrouchRight]);
  MirrorWhole(s.Zendor[kHero17TakeOffLeft], s.Zendor[kHero13TakeOffRight]);
  MirrorWhole(s.Zendor[kHero19LandedLeft], s.Zendor[kHero15LandedRight]);
  MirrorWhole(s.Zendor[kHero08AirborneLeft], s.Zendor[kHero02AirborneRight]);
  MirrorWhole(s.Mapa[7], s.Mapa[5]);
  MirrorWhole(s.Suelo[3], s.Suelo[2]);

  // A floor tile cut from the wider one.
  BitBlt(s.Suelo[4], 0, 0, 48, 15, s.Suelo[1], 8, 0, Rop::SrcCopy);

  for (std::size_t k = 0; k < kEnemyKinds; ++k) {
    Surface& mirrored = s.Bicho[k + 10];
    mirrored.resize(s.Bicho[k].width(), s.Bicho[k].height());
    MirrorFrames(mirrored, s.Bicho[k], 4);
  }
  for (std::size_t k = 1; k <= 6; ++k) MirrorWhole(s.laser[k + 7], s.laser[k]);

  // The level strip starts as one view of sky over the level's background colour.
  const int view = ViewLeft(v.game);
  s.Fondo.setBackground(kLevelBackground);
  s.Fondo.clear();
  s.Fondo.resize(view + 240, s.Fondo.height());
  BitBlt(s.Fondo, view, 0, 240, s.Cielo.height(), s.Cielo, 0, 0, Rop::SrcCopy);

  DrawStars(v);
  DrawStartPiece(v);
  LoadMap(v);
}

}  // namespace zendor
