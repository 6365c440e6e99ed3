#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Standard MIDI files (format 1): one conductor track with the tempo and metre, then one track
// per instrument. Events are collected at absolute tick times and sorted when written.
namespace zendor::datagen::music {

class MidiTrack {
 public:
  explicit MidiTrack(std::string name) : name_(std::move(name)) {}

  void tempo(int tick, double beatsPerMinute);
  // beatUnit is the written note value of a beat: 4 for quarters, 8 for eighths.
  void timeSignature(int tick, int beatsPerBar, int beatUnit);
  void program(int tick, int channel, int program);
  void control(int tick, int channel, int controller, int value);
  // A note from `tick` for `length` ticks. Throws std::invalid_argument for a key, velocity,
  // channel or length out of range.
  void note(int tick, int length, int channel, int key, int velocity);

  const std::string& name() const { return name_; }
  // The track chunk ("MTrk", length, events) ending with end-of-track at `endTick`. Throws
  // std::invalid_argument, naming the track, if anything sounds past `endTick` or if a key is
  // struck again on its channel while still sounding (its release would cut the new note).
  std::vector<std::uint8_t> encode(int endTick) const;

 private:
  enum class Order { Setup, NoteOff, NoteOn };  // at one tick: settings, releases, then strikes
  struct Event {
    int tick;
    Order order;
    std::vector<std::uint8_t> bytes;
  };
  struct Sounding {
    int tick, end, channel, key;
  };

  void add(int tick, Order order, std::vector<std::uint8_t> bytes);
  void checkOverlaps() const;

  std::string name_;
  std::vector<Event> events_;
  std::vector<Sounding> notes_;
};

// The whole file: header ("MThd", format 1, track count, ticks per quarter note) and tracks,
// every track ending at `endTick`.
std::vector<std::uint8_t> EncodeMidiFile(const std::vector<MidiTrack>& tracks, int ticksPerQuarter,
                                         int endTick);

// MIDI's variable-length quantity: 7 bits per byte, most significant first, high bit set on all
// but the last byte.
void AppendVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value);

}  // namespace zendor::datagen::music
