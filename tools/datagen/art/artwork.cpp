#include <stdexcept>

#include "assets/sprite_catalogue.h"
#include "datagen/datagen.h"
#include "platform/image_file.h"

namespace zendor::datagen {

void WriteArtwork(const std::filesystem::path& artDir) {
  for (const SheetSpec& spec : ShippedSheets()) {
    Surface sheet(spec.width, spec.height);
    std::string error;
    if (!WriteImageFile(artDir / SheetFileName(spec), sheet, &error)) throw std::runtime_error(error);
  }
}

void WriteContactSheet(const std::filesystem::path&, const std::filesystem::path&) {}

}  // namespace zendor::datagen
