#include "platform/wav_file.h"

#include <cstring>

namespace zendor {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
unsigned Le16(const std::uint8_t* p) {
  return p[0] | (p[1] << 8);
}

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}
void PutTag(std::vector<std::uint8_t>& b, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(tag[i]));
}
void Put16(std::vector<std::uint8_t>& b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}

}  // namespace

std::optional<WavSound> ParseWav(const std::vector<std::uint8_t>& b, std::string* error) {
  auto fail = [&](const char* why) {
    if (error) *error = why;
    return std::nullopt;
  };
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 ||
      std::memcmp(b.data() + 8, "WAVE", 4) != 0)
    return fail("not a RIFF WAVE file");
  WavSound sound;
  bool haveFormat = false, haveData = false;
  std::size_t at = 12;
  while (at + 8 <= b.size()) {
    const std::uint32_t size = Le32(b.data() + at + 4);
    const std::size_t body = at + 8;
    if (body + size > b.size()) return fail("chunk runs past the end of the file");
    if (std::memcmp(b.data() + at, "fmt ", 4) == 0) {
      if (size < 16) return fail("format chunk too short");
      if (Le16(b.data() + body) != 1) return fail("not PCM");
      sound.channels = static_cast<int>(Le16(b.data() + body + 2));
      sound.sampleRate = static_cast<int>(Le32(b.data() + body + 4));
      sound.bitsPerSample = static_cast<int>(Le16(b.data() + body + 14));
      haveFormat = true;
    } else if (std::memcmp(b.data() + at, "data", 4) == 0) {
      sound.data.assign(b.begin() + body, b.begin() + body + size);
      haveData = true;
    }
    at = body + size + (size & 1);
  }
  if (!haveFormat || !haveData) return fail("format or data chunk missing");
  if (sound.channels < 1 || sound.channels > 2) return fail("only mono and stereo are played");
  if (sound.bitsPerSample != 8 && sound.bitsPerSample != 16)
    return fail("only 8 and 16-bit samples are played");
  if (sound.sampleRate < 100 || sound.sampleRate > 200000) return fail("sample rate out of range");
  sound.data.resize(sound.data.size() - sound.data.size() % sound.bytesPerFrame());
  return sound;
}

std::vector<std::uint8_t> EncodeWav16(const std::vector<std::int16_t>& samples, int channels,
                                      int sampleRate) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> b;
  b.reserve(44 + dataBytes);
  PutTag(b, "RIFF");
  Put32(b, 36 + dataBytes);
  PutTag(b, "WAVE");
  PutTag(b, "fmt ");
  Put32(b, 16);
  Put16(b, 1);
  Put16(b, static_cast<unsigned>(channels));
  Put32(b, static_cast<std::uint32_t>(sampleRate));
  Put32(b, static_cast<std::uint32_t>(sampleRate * channels * 2));
  Put16(b, static_cast<unsigned>(channels * 2));
  Put16(b, 16);
  PutTag(b, "data");
  Put32(b, dataBytes);
  for (std::int16_t s : samples) Put16(b, static_cast<std::uint16_t>(s));
  return b;
}

}  // namespace zendor
