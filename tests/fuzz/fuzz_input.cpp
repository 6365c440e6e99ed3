#include "fuzz/fuzz_input.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace zendor::fuzz {

const std::filesystem::path& WorkFolder() {
  static const std::filesystem::path folder = [] {
    const auto path =
        std::filesystem::temp_directory_path() / ("zendor-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(WorkFolder(), ignored);
    });
    return path;
  }();
  return folder;
}

std::filesystem::path WriteInput(const std::string& name, const std::uint8_t* data,
                                 std::size_t size) {
  const auto path = WorkFolder() / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

std::vector<std::uint8_t> Complemented(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(255 - b);
  return bytes;
}

}  // namespace zendor::fuzz
