#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zendor {

// A PCM sound read from a RIFF WAVE file.
struct WavSound {
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  std::vector<std::uint8_t> data;  // the 'data' chunk as stored
  int bytesPerFrame() const { return channels * bitsPerSample / 8; }
};

// Reads 8 or 16-bit PCM, mono or stereo; nullopt (and the reason in `error`) otherwise.
std::optional<WavSound> ParseWav(const std::vector<std::uint8_t>& bytes, std::string* error);

// Builds a 16-bit PCM WAV file image from interleaved samples.
std::vector<std::uint8_t> EncodeWav16(const std::vector<std::int16_t>& interleaved, int channels,
                                      int sampleRate);

}  // namespace zendor
