#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zendor {

// The places a General MIDI SoundFont is usually installed: first the well-known files, in
// order of preference, then any .sf2 in the usual folders.
struct SoundFontSearch {
  std::vector<std::filesystem::path> files;
  std::vector<std::filesystem::path> folders;
};
SoundFontSearch UsualSoundFontPlaces();

// The first SoundFont found, or nullopt.
std::optional<std::filesystem::path> FindSoundFont(const SoundFontSearch& places);

// Tells the player on standard error that the music stays silent, and why; only the first call
// of a run says anything.
void ReportSilentMusic(const std::string& reason);

}  // namespace zendor
