#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zendor {

// A channel message of a theme, timed in output frames from the theme's beginning.
struct MidiEvent {
  std::uint64_t frame = 0;
  std::uint8_t status = 0;  // 0x80..0xEF: message kind and channel
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
};

// A standard MIDI file flattened into one list of channel messages, with tempo changes already
// turned into time, ready to be played block by block.
struct MidiSequence {
  std::vector<MidiEvent> events;             // in playing order
  std::uint64_t lengthFrames = 0;            // end of the longest track
  std::vector<std::uint64_t> measureStarts;  // first frame of every bar, from 0
};

// Reads a format 0 or 1 standard MIDI file for playing at `sampleRate` frames per second;
// nullopt with the reason (and where in the file) in `error` otherwise.
std::optional<MidiSequence> ParseMidi(const std::vector<std::uint8_t>& bytes, int sampleRate,
                                      std::string* error);

}  // namespace zendor
