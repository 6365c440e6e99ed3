// Music themes as the game's player reads them, both as stored (every byte complemented,
// restored first) and as restored.
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "platform/midi_sequence.h"

namespace {

void Read(const std::vector<std::uint8_t>& bytes) {
  std::string error;
  const auto sequence = zendor::ParseMidi(bytes, 44100, &error);
  if (!sequence) return;
  // Played in order: frames never go back, and nothing starts after the theme's end.
  std::uint64_t last = 0;
  for (const zendor::MidiEvent& event : sequence->events) {
    if (event.frame < last || event.frame > sequence->lengthFrames) __builtin_trap();
    last = event.frame;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Read(std::vector<std::uint8_t>(data, data + size));
  Read(zendor::fuzz::Complemented(data, size));
  return 0;
}
