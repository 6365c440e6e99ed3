#include "platform/sdl/soundfont.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <system_error>

namespace zendor {

SoundFontSearch UsualSoundFontPlaces() {
  return {{"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
           "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/soundfonts/default.sf2",
           "/usr/share/soundfonts/FluidR3_GM.sf2"},
          {"/usr/share/soundfonts", "/usr/share/sounds/sf2"}};
}

std::optional<std::filesystem::path> FindSoundFont(const SoundFontSearch& places) {
  std::error_code ec;
  for (const auto& file : places.files) {
    if (std::filesystem::is_regular_file(file, ec)) return file;
  }
  for (const auto& folder : places.folders) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      std::string extension = entry.path().extension().string();
      std::transform(extension.begin(), extension.end(), extension.begin(),
                     [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      if (extension == ".sf2" && entry.is_regular_file(ec)) found.push_back(entry.path());
    }
    if (!found.empty()) return *std::min_element(found.begin(), found.end());
  }
  return std::nullopt;
}

void ReportSilentMusic(const std::string& reason) {
  static std::atomic<bool> said{false};
  if (said.exchange(true)) return;
  std::fprintf(stderr, "zendor: %s; the game plays without music\n", reason.c_str());
}

}  // namespace zendor
