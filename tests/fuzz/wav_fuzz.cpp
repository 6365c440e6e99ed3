// Sound files as the game loads them into its mixer, both as stored (every byte complemented,
// restored first) and as restored.
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "platform/sdl/mixer.h"
#include "platform/wav_file.h"

namespace {

void Load(const std::vector<std::uint8_t>& bytes) {
  std::string error;
  const auto sound = zendor::ParseWav(bytes, &error);
  if (!sound) return;
  if (sound->data.size() % static_cast<std::size_t>(sound->bytesPerFrame()) != 0) __builtin_trap();
  zendor::Mixer mixer;
  mixer.Add(*sound);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Load(std::vector<std::uint8_t>(data, data + size));
  Load(zendor::fuzz::Complemented(data, size));
  return 0;
}
