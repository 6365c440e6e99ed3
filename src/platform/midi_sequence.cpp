#include "platform/midi_sequence.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zendor {
namespace {

constexpr std::uint32_t kDefaultTempo = 500000;  // microseconds per quarter note (120 bpm)

// An error with the byte offset where reading stopped.
struct ParseError {
  std::string what;
  std::size_t offset;
};

class ByteReader {
 public:
  ByteReader(const std::vector<std::uint8_t>& bytes, std::size_t begin, std::size_t end)
      : bytes_(bytes), at_(begin), end_(end) {}

  bool done() const { return at_ >= end_; }
  std::size_t offset() const { return at_; }

  std::uint8_t Byte() {
    if (at_ >= end_) throw ParseError{"unexpected end of data", at_};
    return bytes_[at_++];
  }
  std::uint32_t Big(int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | Byte();
    return value;
  }
  // A variable-length quantity: seven bits per byte, at most four bytes.
  std::uint32_t Vlq() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const std::uint8_t b = Byte();
      value = (value << 7) | (b & 0x7F);
      if ((b & 0x80) == 0) return value;
    }
    throw ParseError{"variable-length number longer than four bytes", at_};
  }
  void Skip(std::uint32_t count) {
    if (count > end_ - at_) throw ParseError{"data runs past the end of its chunk", at_};
    at_ += count;
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_;
  std::size_t end_;
};

struct TickedEvent {
  std::uint64_t tick;
  MidiEvent event;
};
struct TempoChange {
  std::uint64_t tick;
  std::uint32_t microsPerQuarter;
};
struct MeterChange {
  std::uint64_t tick;
  int numerator;
  int denominatorPower;
};

struct RawSong {
  std::vector<TickedEvent> events;
  std::vector<TempoChange> tempos;
  std::vector<MeterChange> meters;
  std::uint64_t endTick = 0;
};

int DataBytesOf(std::uint8_t status) {
  const std::uint8_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

void ReadTrack(ByteReader reader, int track, RawSong& song) {
  std::uint64_t tick = 0;
  std::uint8_t running = 0;
  while (!reader.done()) {
    tick += reader.Vlq();
    const std::size_t eventOffset = reader.offset();
    std::uint8_t status = reader.Byte();
    if (status == 0xFF) {
      const std::uint8_t type = reader.Byte();
      const std::uint32_t length = reader.Vlq();
      if (type == 0x2F) break;  // end of track
      if (type == 0x51 && length == 3) {
        song.tempos.push_back({tick, reader.Big(3)});
      } else if (type == 0x58 && length >= 2) {
        const int numerator = reader.Byte();
        const int power = reader.Byte();
        reader.Skip(length - 2);
        if (numerator > 0 && power < 8) song.meters.push_back({tick, numerator, power});
      } else {
        reader.Skip(length);
      }
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {  // system exclusive: not needed to play a theme
      reader.Skip(reader.Vlq());
      continue;
    }
    if (status >= 0xF0) {
      throw ParseError{"track " + std::to_string(track) + ": unknown system message", eventOffset};
    }
    MidiEvent event;
    if (status < 0x80) {  // running status: this byte is already the first data byte
      if (running == 0) {
        throw ParseError{"track " + std::to_string(track) + ": data byte without a status",
                         eventOffset};
      }
      event.data1 = status;
      status = running;
    } else {
      running = status;
      event.data1 = reader.Byte();
    }
    event.status = status;
    if (DataBytesOf(status) == 2) event.data2 = reader.Byte();
    if ((event.data1 | event.data2) & 0x80) {
      throw ParseError{"track " + std::to_string(track) + ": data byte above 127", eventOffset};
    }
    song.events.push_back({tick, event});
  }
  song.endTick = std::max(song.endTick, tick);
}

// Ticks to frames through the tempo map (or the fixed rate of a time-code file).
class TickClock {
 public:
  TickClock(std::vector<TempoChange> tempos, int division, int sampleRate)
      : tempos_(std::move(tempos)), sampleRate_(sampleRate) {
    if (division & 0x8000) {  // frames per second and ticks per frame: no tempo at all
      const int fps = -static_cast<std::int8_t>(division >> 8);
      const double framesPerSecond = fps == 29 ? 29.97 : fps;
      fixedSecondsPerTick_ = 1.0 / (framesPerSecond * (division & 0xFF));
    } else {
      ticksPerQuarter_ = division;
    }
    std::stable_sort(tempos_.begin(), tempos_.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    // The time at each change, summed once in playing order.
    secondsAtChange_.reserve(tempos_.size());
    double seconds = 0;
    std::uint64_t from = 0;
    std::uint32_t tempo = kDefaultTempo;
    for (const TempoChange& change : tempos_) {
      if (ticksPerQuarter_ > 0) seconds += SecondsOf(change.tick - from, tempo);
      secondsAtChange_.push_back(seconds);
      from = change.tick;
      tempo = change.microsPerQuarter;
    }
  }

  int ticksPerQuarter() const {
    return ticksPerQuarter_ > 0 ? ticksPerQuarter_
                                : static_cast<int>(std::lround(0.5 / fixedSecondsPerTick_));
  }

  std::uint64_t FrameAt(std::uint64_t tick) const {
    double seconds = 0;
    if (fixedSecondsPerTick_ > 0) {
      seconds = static_cast<double>(tick) * fixedSecondsPerTick_;
    } else {
      // The changes before the tick: the last of them sets the tempo from its own time on.
      const auto after = std::lower_bound(
          tempos_.begin(), tempos_.end(), tick,
          [](const TempoChange& change, std::uint64_t t) { return change.tick < t; });
      if (after == tempos_.begin()) {
        seconds = SecondsOf(tick, kDefaultTempo);
      } else {
        const auto last = static_cast<std::size_t>(after - tempos_.begin()) - 1;
        seconds = secondsAtChange_[last] +
                  SecondsOf(tick - tempos_[last].tick, tempos_[last].microsPerQuarter);
      }
    }
    return static_cast<std::uint64_t>(std::llround(seconds * sampleRate_));
  }

 private:
  double SecondsOf(std::uint64_t ticks, std::uint32_t tempo) const {
    return static_cast<double>(ticks) * tempo / 1e6 / ticksPerQuarter_;
  }

  std::vector<TempoChange> tempos_;
  std::vector<double> secondsAtChange_;  // the time at which each tempo change falls
  int sampleRate_;
  int ticksPerQuarter_ = 0;
  double fixedSecondsPerTick_ = 0;
};

std::vector<std::uint64_t> MeasureStartTicks(std::vector<MeterChange> meters, int ticksPerQuarter,
                                             std::uint64_t endTick) {
  std::stable_sort(meters.begin(), meters.end(),
                   [](const MeterChange& a, const MeterChange& b) { return a.tick < b.tick; });
  std::vector<std::uint64_t> starts;
  std::uint64_t tick = 0;
  int numerator = 4, power = 2;
  std::size_t nextMeter = 0;
  constexpr std::size_t kMostBars = 100000;  // a broken file must not fill the memory
  while (tick < endTick && starts.size() < kMostBars) {
    while (nextMeter < meters.size() && meters[nextMeter].tick <= tick) {
      numerator = meters[nextMeter].numerator;
      power = meters[nextMeter].denominatorPower;
      ++nextMeter;
    }
    starts.push_back(tick);
    // numerator beats of a 1/2^power note each; a quarter note is ticksPerQuarter ticks
    const std::uint64_t length = std::max<std::uint64_t>(
        1, static_cast<std::uint64_t>(ticksPerQuarter) * 4 * numerator >> power);
    std::uint64_t next = tick + length;
    // A change of metre starts a new bar where it stands.
    if (nextMeter < meters.size() && meters[nextMeter].tick < next) next = meters[nextMeter].tick;
    tick = next;
  }
  return starts;
}

}  // namespace

std::optional<MidiSequence> ParseMidi(const std::vector<std::uint8_t>& bytes, int sampleRate,
                                      std::string* error) {
  auto fail = [&](const std::string& why, std::size_t offset) {
    if (error) *error = why + " (at byte " + std::to_string(offset) + ")";
    return std::nullopt;
  };
  if (bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0) {
    return fail("not a standard MIDI file", 0);
  }
  RawSong song;
  int division = 0;
  try {
    ByteReader header(bytes, 4, bytes.size());
    const std::uint32_t headerLength = header.Big(4);
    const std::uint32_t format = header.Big(2);
    header.Big(2);  // the track count: the chunks themselves are what counts
    division = static_cast<int>(header.Big(2));
    if (headerLength < 6) return fail("header chunk too short", 4);
    if (format > 1) return fail("only format 0 and 1 files are played", 8);
    if (division == 0) return fail("zero ticks per quarter note", 12);
    if ((division & 0x8000) &&
        (-static_cast<std::int8_t>(division >> 8) <= 0 || (division & 0xFF) == 0)) {
      return fail("bad time-code division", 12);
    }

    std::size_t at = 8 + static_cast<std::size_t>(headerLength);
    int track = 0;
    while (at + 8 <= bytes.size()) {
      ByteReader chunk(bytes, at + 4, at + 8);
      const std::uint32_t length = chunk.Big(4);
      const std::size_t body = at + 8;
      if (length > bytes.size() - body) {
        return fail("chunk runs past the end of the file", at);
      }
      if (std::memcmp(bytes.data() + at, "MTrk", 4) == 0) {
        ReadTrack(ByteReader(bytes, body, body + length), track++, song);
      }
      at = body + length;
    }
    if (track == 0) return fail("no track in the file", at);
  } catch (const ParseError& e) {
    return fail(e.what, e.offset);
  }

  std::stable_sort(song.events.begin(), song.events.end(),
                   [](const TickedEvent& a, const TickedEvent& b) { return a.tick < b.tick; });
  const TickClock clock(song.tempos, division, sampleRate);
  MidiSequence sequence;
  sequence.events.reserve(song.events.size());
  for (const TickedEvent& ticked : song.events) {
    MidiEvent event = ticked.event;
    event.frame = clock.FrameAt(ticked.tick);
    sequence.events.push_back(event);
  }
  sequence.lengthFrames = clock.FrameAt(song.endTick);
  for (std::uint64_t tick : MeasureStartTicks(song.meters, clock.ticksPerQuarter(), song.endTick)) {
    sequence.measureStarts.push_back(clock.FrameAt(tick));
  }
  return sequence;
}

}  // namespace zendor
