// zendor-render-themes: every theme of a program folder played by the game's own music player
// (the same instruments, settings and block size as the game) into a WAV file each, for
// listening to them side by side.
//   zendor-render-themes OUT_DIR [PROGRAM_FOLDER]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/image_file.h"
#include "platform/midi_sequence.h"
#include "platform/sdl/fluid_music_player.h"
#include "platform/sdl/soundfont.h"
#include "platform/wav_file.h"

#ifndef ZENDOR_DEFAULT_GAME_DIR
#define ZENDOR_DEFAULT_GAME_DIR "."
#endif

using namespace zendor;

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: zendor-render-themes OUT_DIR [PROGRAM_FOLDER]\n");
    return 2;
  }
  constexpr int kRate = 44100, kBlock = 1024;
  const std::filesystem::path out = argv[1];
  const std::filesystem::path folder = argc > 2 ? argv[2] : ZENDOR_DEFAULT_GAME_DIR;
  const auto soundFont = FindSoundFont(UsualSoundFontPlaces());
  if (!soundFont) {
    std::fprintf(stderr, "zendor-render-themes: no General MIDI SoundFont installed\n");
    return 1;
  }
  std::filesystem::create_directories(out);
  FluidMusicPlayer player(*soundFont, kRate);
  std::vector<std::pair<std::string, MusicPlayer::Segment>> themes;
  std::vector<std::uint64_t> lengths;
  for (int n = 0; n < 16; ++n) {
    std::vector<std::uint8_t> bytes;
    const auto path = folder / "MUS" / ("Tema" + std::to_string(n) + ".MUS");
    if (!ReadWholeFile(path, bytes)) continue;
    for (auto& b : bytes) b = static_cast<std::uint8_t>(~b);  // stored complemented
    std::string error;
    auto sequence = ParseMidi(bytes, kRate, &error);
    if (!sequence) {
      std::fprintf(stderr, "zendor-render-themes: %s: %s\n", path.c_str(), error.c_str());
      return 1;
    }
    lengths.push_back(sequence->lengthFrames);
    themes.push_back({"theme" + std::to_string(n), player.Add(std::move(*sequence))});
  }
  if (themes.empty()) {
    std::fprintf(stderr, "zendor-render-themes: no themes in %s/MUS\n", folder.c_str());
    return 1;
  }
  if (!player.WaitUntilReady()) return 1;
  for (std::size_t i = 0; i < themes.size(); ++i) {
    player.Play(themes[i].second, 0);
    const std::uint64_t frames = lengths[i] + 2 * kRate;  // and two seconds of ringing out
    std::vector<std::int16_t> pcm;
    std::vector<float> block(2 * kBlock);
    for (std::uint64_t done = 0; done < frames; done += kBlock) {
      std::fill(block.begin(), block.end(), 0.0f);
      const int n = static_cast<int>(std::min<std::uint64_t>(kBlock, frames - done));
      player.MixInto(block.data(), n);
      for (int k = 0; k < 2 * n; ++k) {
        pcm.push_back(
            static_cast<std::int16_t>(std::clamp(std::lround(block[k]), -32768L, 32767L)));
      }
    }
    const auto bytes = EncodeWav16(pcm, 2, kRate);
    const auto file = out / (themes[i].first + ".wav");
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    std::printf("%s\n", file.c_str());
  }
  return 0;
}
