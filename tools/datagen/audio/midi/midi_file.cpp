#include "datagen/audio/midi/midi_file.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <tuple>

namespace zendor::datagen::music {
namespace {

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i)
    out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

void Require(bool ok, const std::string& track, const std::string& what) {
  if (!ok) throw std::invalid_argument("track \"" + track + "\": " + what);
}

std::uint8_t DataByte(int value) {
  return static_cast<std::uint8_t>(value & 0x7F);
}

}  // namespace

void AppendVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t groups[5];
  int count = 0;
  do {
    groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (count-- > 0)
    out.push_back(static_cast<std::uint8_t>(groups[count] | (count > 0 ? 0x80 : 0)));
}

void MidiTrack::add(int tick, Order order, std::vector<std::uint8_t> bytes) {
  Require(tick >= 0, name_, "event before the start at tick " + std::to_string(tick));
  events_.push_back({tick, order, std::move(bytes)});
}

void MidiTrack::tempo(int tick, double beatsPerMinute) {
  const auto micros = static_cast<std::uint32_t>(std::lround(60'000'000.0 / beatsPerMinute));
  std::vector<std::uint8_t> bytes{0xFF, 0x51, 0x03};
  AppendBigEndian(bytes, micros, 3);
  add(tick, Order::Setup, std::move(bytes));
}

void MidiTrack::timeSignature(int tick, int beatsPerBar, int beatUnit) {
  std::uint8_t power = 0;
  while ((1 << power) < beatUnit) ++power;
  Require((1 << power) == beatUnit, name_,
          "beat unit " + std::to_string(beatUnit) + " is not a power of two");
  // 24 clocks per metronome click, 8 thirty-seconds per quarter note.
  add(tick, Order::Setup, {0xFF, 0x58, 0x04, static_cast<std::uint8_t>(beatsPerBar), power, 24, 8});
}

void MidiTrack::program(int tick, int channel, int program) {
  Require(channel >= 0 && channel < 16 && program >= 0 && program < 128, name_,
          "bad program change");
  add(tick, Order::Setup, {static_cast<std::uint8_t>(0xC0 | channel), DataByte(program)});
}

void MidiTrack::control(int tick, int channel, int controller, int value) {
  Require(channel >= 0 && channel < 16 && controller >= 0 && controller < 128 && value >= 0 &&
              value < 128,
          name_, "bad controller " + std::to_string(controller) + " = " + std::to_string(value));
  add(tick, Order::Setup,
      {static_cast<std::uint8_t>(0xB0 | channel), DataByte(controller), DataByte(value)});
}

void MidiTrack::note(int tick, int length, int channel, int key, int velocity) {
  const std::string where = " at tick " + std::to_string(tick);
  Require(channel >= 0 && channel < 16, name_, "channel out of range" + where);
  Require(key >= 0 && key < 128, name_, "key " + std::to_string(key) + " out of range" + where);
  Require(velocity >= 1 && velocity < 128, name_,
          "velocity " + std::to_string(velocity) + " out of range" + where);
  Require(length > 0, name_, "note of no length" + where);
  add(tick, Order::NoteOn,
      {static_cast<std::uint8_t>(0x90 | channel), DataByte(key), DataByte(velocity)});
  add(tick + length, Order::NoteOff,
      {static_cast<std::uint8_t>(0x80 | channel), DataByte(key), 64});
  notes_.push_back({tick, tick + length, channel, key});
}

void MidiTrack::checkOverlaps() const {
  std::vector<Sounding> notes = notes_;
  std::sort(notes.begin(), notes.end(), [](const Sounding& a, const Sounding& b) {
    return std::tie(a.channel, a.key, a.tick) < std::tie(b.channel, b.key, b.tick);
  });
  for (std::size_t i = 1; i < notes.size(); ++i) {
    const Sounding& a = notes[i - 1];
    const Sounding& b = notes[i];
    Require(a.channel != b.channel || a.key != b.key || b.tick >= a.end, name_,
            "key " + std::to_string(b.key) + " struck at tick " + std::to_string(b.tick) +
                " while still sounding from tick " + std::to_string(a.tick));
  }
}

std::vector<std::uint8_t> MidiTrack::encode(int endTick) const {
  checkOverlaps();
  std::vector<Event> events = events_;
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return std::tie(a.tick, a.order) < std::tie(b.tick, b.order);
  });
  if (!events.empty())
    Require(events.back().tick <= endTick, name_,
            "sounds until tick " + std::to_string(events.back().tick) + ", past the end at tick " +
                std::to_string(endTick));

  std::vector<std::uint8_t> body;
  std::vector<std::uint8_t> title{0xFF, 0x03};
  AppendVariableLength(title, static_cast<std::uint32_t>(name_.size()));
  title.insert(title.end(), name_.begin(), name_.end());
  events.insert(events.begin(), Event{0, Order::Setup, std::move(title)});
  int now = 0;
  for (const Event& e : events) {
    AppendVariableLength(body, static_cast<std::uint32_t>(e.tick - now));
    body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    now = e.tick;
  }
  AppendVariableLength(body, static_cast<std::uint32_t>(endTick - now));
  body.insert(body.end(), {0xFF, 0x2F, 0x00});

  std::vector<std::uint8_t> chunk{'M', 'T', 'r', 'k'};
  AppendBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

std::vector<std::uint8_t> EncodeMidiFile(const std::vector<MidiTrack>& tracks, int ticksPerQuarter,
                                         int endTick) {
  std::vector<std::uint8_t> file{'M', 'T', 'h', 'd'};
  AppendBigEndian(file, 6, 4);
  AppendBigEndian(file, 1, 2);
  AppendBigEndian(file, static_cast<std::uint32_t>(tracks.size()), 2);
  AppendBigEndian(file, static_cast<std::uint32_t>(ticksPerQuarter), 2);
  for (const MidiTrack& track : tracks) {
    const std::vector<std::uint8_t> chunk = track.encode(endTick);
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

}  // namespace zendor::datagen::music
