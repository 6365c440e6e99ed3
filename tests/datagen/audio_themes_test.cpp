// The music themes read back by an independent MIDI reader: well-formed files, every note
// released, instruments chosen, drums on channel 10, lengths, and loops that close on a bar.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "datagen/datagen.h"

namespace zendor {
namespace {

struct MidiEvent {
  long tick;
  std::uint8_t status;  // 0xFF for meta events
  std::uint8_t data1;   // key, controller, program, or the meta type
  std::uint8_t data2;
  std::vector<std::uint8_t> meta;
};

struct MidiTrackRead {
  std::vector<MidiEvent> events;
  long endTick = -1;  // the end-of-track event's time
};

struct MidiFileRead {
  int format = -1;
  int division = 0;
  std::vector<MidiTrackRead> tracks;
};

// A deliberately separate reader: running status, meta and system-exclusive events, chunk
// lengths checked to the byte. Throws std::runtime_error on anything malformed.
class MidiReader {
 public:
  explicit MidiReader(const std::vector<std::uint8_t>& bytes) : b_(bytes) {}

  MidiFileRead read() {
    MidiFileRead file;
    expectTag("MThd");
    if (u32() != 6) fail("header length is not 6");
    file.format = u16();
    const int trackCount = u16();
    file.division = u16();
    for (int t = 0; t < trackCount; ++t) file.tracks.push_back(track());
    if (at_ != b_.size()) fail("bytes after the last track");
    return file;
  }

 private:
  [[noreturn]] void fail(const std::string& why) const {
    throw std::runtime_error(why + " at byte " + std::to_string(at_));
  }
  std::uint8_t byte() {
    if (at_ >= end_) fail("unexpected end of data");
    return b_[at_++];
  }
  std::uint32_t u32() {
    const std::uint32_t hi = u16();
    return (hi << 16) | u16();
  }
  std::uint32_t u16() {
    const std::uint32_t hi = byte();
    return (hi << 8) | byte();
  }
  std::uint32_t varLen() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const std::uint8_t c = byte();
      value = (value << 7) | (c & 0x7F);
      if (!(c & 0x80)) return value;
    }
    fail("variable-length number longer than four bytes");
  }
  void expectTag(const char* tag) {
    end_ = b_.size();
    for (int i = 0; i < 4; ++i)
      if (byte() != static_cast<std::uint8_t>(tag[i])) fail(std::string("expected ") + tag);
  }

  MidiTrackRead track() {
    expectTag("MTrk");
    const std::uint32_t length = u32();
    if (at_ + length > b_.size()) fail("track runs past the end of the file");
    end_ = at_ + length;
    MidiTrackRead track;
    long tick = 0;
    std::uint8_t running = 0;
    while (at_ < end_) {
      if (track.endTick >= 0) fail("events after end-of-track");
      tick += varLen();
      std::uint8_t status = byte();
      MidiEvent e{tick, status, 0, 0, {}};
      if (status == 0xFF) {
        e.data1 = byte();
        const std::uint32_t size = varLen();
        for (std::uint32_t i = 0; i < size; ++i) e.meta.push_back(byte());
        if (e.data1 == 0x2F) track.endTick = tick;
      } else if (status == 0xF0 || status == 0xF7) {
        const std::uint32_t size = varLen();
        if (at_ + size > end_) fail("system-exclusive event runs past its track");
        at_ += size;
      } else {
        if (status < 0x80) {  // running status: this byte is already data
          if (running == 0) fail("data byte without a status");
          --at_;
          status = running;
          e.status = status;
        }
        running = status;
        e.data1 = byte();
        const std::uint8_t kind = status & 0xF0;
        if (kind != 0xC0 && kind != 0xD0) e.data2 = byte();
      }
      track.events.push_back(e);
    }
    if (track.endTick < 0) fail("track without end-of-track");
    return track;
  }

  const std::vector<std::uint8_t>& b_;
  std::size_t at_ = 0;
  std::size_t end_ = 0;
};

struct Theme {
  MidiFileRead midi;
  double microsPerQuarter = 500000.0;
  int beatsPerBar = 4;
  int beatUnit = 4;
  double seconds() const { return midi.tracks[0].endTick * microsPerQuarter / 1e6 / midi.division; }
  long barTicks() const { return static_cast<long>(midi.division) * 4 * beatsPerBar / beatUnit; }
};

const std::map<int, Theme>& Themes() {
  static const std::map<int, Theme> themes = [] {
    std::map<int, Theme> out;
    for (const auto& file : datagen::MakeMusicThemes()) {
      Theme theme;
      try {
        theme.midi = MidiReader(file.bytes).read();
      } catch (const std::exception& e) {
        ADD_FAILURE() << "theme " << file.number << ": " << e.what();
        continue;
      }
      for (const MidiEvent& e : theme.midi.tracks.at(0).events) {
        if (e.status == 0xFF && e.data1 == 0x51 && e.meta.size() == 3)
          theme.microsPerQuarter = (e.meta[0] << 16) | (e.meta[1] << 8) | e.meta[2];
        if (e.status == 0xFF && e.data1 == 0x58 && e.meta.size() == 4) {
          theme.beatsPerBar = e.meta[0];
          theme.beatUnit = 1 << e.meta[1];
        }
      }
      out.emplace(file.number, std::move(theme));
    }
    return out;
  }();
  return themes;
}

bool IsNoteOn(const MidiEvent& e) {
  return (e.status & 0xF0) == 0x90 && e.data2 > 0;
}
bool IsNoteOff(const MidiEvent& e) {
  return (e.status & 0xF0) == 0x80 || ((e.status & 0xF0) == 0x90 && e.data2 == 0);
}

TEST(MusicThemes, TheGamesThemesAreAllThere) {
  std::set<int> numbers;
  for (const auto& [number, theme] : Themes()) numbers.insert(number);
  EXPECT_EQ(numbers, (std::set<int>{0, 5, 7, 8, 9, 10}));
}

TEST(MusicThemes, EachIsAFormatOneFileWithTempoMetreAndTracksEndingTogether) {
  for (const auto& [number, theme] : Themes()) {
    SCOPED_TRACE("theme " + std::to_string(number));
    EXPECT_EQ(theme.midi.format, 1);
    EXPECT_GT(theme.midi.division, 0);
    ASSERT_GE(theme.midi.tracks.size(), 5u) << "a conductor track and at least four instruments";
    bool tempo = false, metre = false;
    for (const MidiEvent& e : theme.midi.tracks[0].events) {
      tempo = tempo || (e.status == 0xFF && e.data1 == 0x51);
      metre = metre || (e.status == 0xFF && e.data1 == 0x58);
    }
    EXPECT_TRUE(tempo);
    EXPECT_TRUE(metre);
    for (const MidiTrackRead& track : theme.midi.tracks)
      EXPECT_EQ(track.endTick, theme.midi.tracks[0].endTick);
  }
}

TEST(MusicThemes, EveryNoteIsReleasedBeforeTheEndAndNeverStruckTwice) {
  for (const auto& [number, theme] : Themes()) {
    for (std::size_t t = 0; t < theme.midi.tracks.size(); ++t) {
      SCOPED_TRACE("theme " + std::to_string(number) + " track " + std::to_string(t));
      std::set<std::pair<int, int>> sounding;  // channel, key
      int notes = 0;
      for (const MidiEvent& e : theme.midi.tracks[t].events) {
        const std::pair<int, int> id{e.status & 0x0F, e.data1};
        if (IsNoteOn(e)) {
          EXPECT_TRUE(sounding.insert(id).second)
              << "key " << id.second << " struck again at " << e.tick;
          ++notes;
        } else if (IsNoteOff(e)) {
          EXPECT_EQ(sounding.erase(id), 1u)
              << "key " << id.second << " released unstruck at " << e.tick;
        }
      }
      EXPECT_TRUE(sounding.empty()) << sounding.size() << " notes hang past the end";
      if (t > 0) {
        EXPECT_GT(notes, 0) << "an instrument track that never plays";
      }
    }
  }
}

TEST(MusicThemes, InstrumentsAreChosenAndDrumsPlayOnChannelTen) {
  for (const auto& [number, theme] : Themes()) {
    SCOPED_TRACE("theme " + std::to_string(number));
    std::set<int> programmed;
    bool drums = false;
    for (const MidiTrackRead& track : theme.midi.tracks) {
      for (const MidiEvent& e : track.events) {
        const int channel = e.status & 0x0F;
        if ((e.status & 0xF0) == 0xC0) programmed.insert(channel);
        if (!IsNoteOn(e)) continue;
        if (channel == 9) {
          drums = true;
          EXPECT_GE(e.data1, 35) << "not a General MIDI drum";
          EXPECT_LE(e.data1, 81) << "not a General MIDI drum";
        } else {
          EXPECT_TRUE(programmed.count(channel))
              << "channel " << channel + 1 << " plays before its instrument is set";
        }
      }
    }
    EXPECT_TRUE(drums);
  }
}

TEST(MusicThemes, LengthsSuitWhereTheyPlay) {
  const std::map<int, std::pair<double, double>> seconds = {
      {0, {3, 6}}, {5, {30, 60}}, {7, {40, 90}}, {8, {40, 90}}, {9, {40, 90}}, {10, {40, 90}}};
  for (const auto& [number, theme] : Themes()) {
    EXPECT_GE(theme.seconds(), seconds.at(number).first) << "theme " << number;
    EXPECT_LE(theme.seconds(), seconds.at(number).second) << "theme " << number;
  }
}

TEST(MusicThemes, LoopingThemesStartOnTheFirstBeatAndEndOnABarLine) {
  for (const auto& [number, theme] : Themes()) {
    if (number == 0) continue;  // the jingle plays once
    SCOPED_TRACE("theme " + std::to_string(number));
    EXPECT_EQ(theme.midi.tracks[0].endTick % theme.barTicks(), 0);
    long firstNote = -1;
    for (const MidiTrackRead& track : theme.midi.tracks)
      for (const MidiEvent& e : track.events)
        if (IsNoteOn(e) && (firstNote < 0 || e.tick < firstNote)) firstNote = e.tick;
    EXPECT_EQ(firstNote, 0) << "silence at the loop point";
  }
}

TEST(MusicThemes, AreAlwaysTheSame) {
  const auto first = datagen::MakeMusicThemes();
  const auto second = datagen::MakeMusicThemes();
  ASSERT_EQ(first.size(), second.size());
  for (std::size_t i = 0; i < first.size(); ++i)
    EXPECT_TRUE(first[i].bytes == second[i].bytes)
        << "theme " << first[i].number << " changed between runs";
}

}  // namespace
}  // namespace zendor
