#include <stdexcept>

#include "datagen/datagen.h"
#include "platform/image_file.h"

namespace zendor::datagen {

void WriteComplemented(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::vector<std::uint8_t> stored(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i)
    stored[i] = static_cast<std::uint8_t>(255 - bytes[i]);
  if (!WriteWholeFile(path, stored))
    throw std::runtime_error(path.string() + ": cannot be written");
}

}  // namespace zendor::datagen
