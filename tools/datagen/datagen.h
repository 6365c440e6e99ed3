#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace zendor::datagen {

// Every shipped picture of the sprite catalogue, as bitmap files in `artDir`.
void WriteArtwork(const std::filesystem::path& artDir);

// Sound effects as 16-bit stereo 44,100 Hz WAV images, keyed by effect number.
struct StoredFile {
  int number;
  std::vector<std::uint8_t> bytes;
};
std::vector<StoredFile> MakeSoundEffects();
// Music themes as standard MIDI files, keyed by theme number.
std::vector<StoredFile> MakeMusicThemes();

// Writes each byte as its complement, the way the game stores its sounds and themes.
void WriteComplemented(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// The contact sheet of every shipped picture, enlarged, with names and sizes.
void WriteContactSheet(const std::filesystem::path& artDir, const std::filesystem::path& pngPath);

}  // namespace zendor::datagen
