// The music themes as the game's own player reads them: well-formed format 1 files with tempo and
// metre, every note released before it is struck again, instruments chosen, drums on channel 10,
// lengths that suit where they play, loops that close on a bar, and the same bytes on every run.
// Then the notation they are written in, where the files alone cannot show it: note names,
// melodies, chords, accompaniment patterns and bars that must be filled.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "common/sound_catalogue.h"
#include "datagen/audio/midi/accompaniment.h"
#include "datagen/audio/midi/notation.h"
#include "datagen/audio/midi/score.h"
#include "datagen/datagen.h"
#include "platform/midi_sequence.h"

namespace zendor::datagen::music {
namespace {

constexpr int kRate = 44100;
constexpr int kStep = kTicksPerStep;

std::uint32_t BigEndian(const std::vector<std::uint8_t>& b, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | b.at(at + i);
  return value;
}

bool Has(const std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& part) {
  return !std::ranges::search(bytes, part).empty();
}

bool IsNoteOn(const MidiEvent& e) {
  return (e.status & 0xF0) == 0x90 && e.data2 > 0;
}

TEST(MusicThemes, EachIsAWellFormedFileThePlayerReadsAtALengthThatSuitsWhereItPlays) {
  // Theme: shortest and longest length in seconds.
  const std::map<int, std::pair<double, double>> seconds = {
      {kTheme00ArrivalJingle, {3, 6}}, {kTheme05Menu, {30, 60}},   {kTheme07Exploration, {40, 90}},
      {kTheme08Pursuit, {40, 90}},     {kTheme09Ambush, {40, 90}}, {kTheme10FinalPush, {40, 90}}};
  const auto themes = MakeMusicThemes(), again = MakeMusicThemes();
  ASSERT_EQ(themes.size(), seconds.size());
  ASSERT_EQ(again.size(), themes.size());
  for (std::size_t i = 0; i < themes.size(); ++i) {
    const auto& [number, bytes] = themes[i];
    SCOPED_TRACE("theme " + std::to_string(number));
    ASSERT_TRUE(seconds.count(number)) << "a theme the game never plays";
    EXPECT_TRUE(bytes == again[i].bytes) << "changed between runs";
    // The header, then exactly the tracks it announces, each closed by its end-of-track event
    // and with nothing after the last.
    ASSERT_EQ(BigEndian(bytes, 0, 4), 0x4D546864u) << "no MThd";
    EXPECT_EQ(BigEndian(bytes, 4, 4), 6u) << "header length";
    EXPECT_EQ(BigEndian(bytes, 8, 2), 1u) << "format";
    const std::uint32_t tracks = BigEndian(bytes, 10, 2);
    EXPECT_GE(tracks, 5u) << "a conductor track and at least four instruments";
    std::size_t at = 14;
    for (std::uint32_t t = 0; t < tracks; ++t) {
      ASSERT_EQ(BigEndian(bytes, at, 4), 0x4D54726Bu) << "track " << t << " is no MTrk";
      at += 8 + BigEndian(bytes, at + 4, 4);
      ASSERT_LE(at, bytes.size());
      EXPECT_EQ(BigEndian(bytes, at - 3, 3), 0xFF2F00u) << "track " << t << " ends unclosed";
    }
    EXPECT_EQ(at, bytes.size()) << "bytes after the last track";
    EXPECT_TRUE(Has(bytes, {0xFF, 0x51, 0x03})) << "no tempo";
    EXPECT_TRUE(Has(bytes, {0xFF, 0x58, 0x04})) << "no metre";

    std::string error;
    const auto song = ParseMidi(bytes, kRate, &error);
    ASSERT_TRUE(song) << error;
    std::set<std::pair<int, int>> sounding;  // channel, key
    std::set<int> programmed, playing;
    for (const MidiEvent& e : song->events) {
      const int channel = e.status & 0x0F, kind = e.status & 0xF0;
      if (kind == 0xC0) programmed.insert(channel);
      if (IsNoteOn(e)) {
        EXPECT_TRUE(sounding.insert({channel, e.data1}).second)
            << "key " << int{e.data1} << " struck again at frame " << e.frame;
        playing.insert(channel);
        if (channel == 9) {
          EXPECT_TRUE(e.data1 >= 35 && e.data1 <= 81) << "not a General MIDI drum";
        } else {
          EXPECT_TRUE(programmed.count(channel))
              << "channel " << channel + 1 << " plays before its instrument is set";
        }
      } else if (kind == 0x80 || kind == 0x90) {
        EXPECT_EQ(sounding.erase({channel, e.data1}), 1u)
            << "key " << int{e.data1} << " released unstruck at frame " << e.frame;
      }
    }
    EXPECT_TRUE(sounding.empty()) << sounding.size() << " notes hang past the end";
    EXPECT_TRUE(playing.count(9)) << "no drums";
    EXPECT_EQ(playing.size(), tracks - 1) << "an instrument track that never plays";

    const double length = static_cast<double>(song->lengthFrames) / kRate;
    EXPECT_GE(length, seconds.at(number).first);
    EXPECT_LE(length, seconds.at(number).second);
    if (number == 0) continue;  // the jingle plays once; the others loop
    // The last bar is as long as the first, and a note sounds at once when the loop restarts.
    const auto& bars = song->measureStarts;
    ASSERT_GE(bars.size(), 2u);
    EXPECT_NEAR(static_cast<double>(song->lengthFrames - bars.back()),
                static_cast<double>(bars[1] - bars[0]), 1.0);
    const auto first = std::ranges::find_if(song->events, IsNoteOn);
    ASSERT_NE(first, song->events.end());
    EXPECT_EQ(first->frame, 0u) << "silence at the loop point";
  }
}

// The message of the std::invalid_argument that `write` throws, or "" if it does not throw.
std::string ErrorOf(const std::function<void()>& write) {
  try {
    write();
  } catch (const std::invalid_argument& e) {
    return e.what();
  }
  return "";
}

std::vector<int> Keys(const Phrase& p) {
  std::vector<int> keys;
  for (const Note& n : p.notes) keys.push_back(n.key);
  return keys;
}

TEST(MusicNotation, NoteNamesFollowTheMiddleCAsC4Convention) {
  const std::pair<const char*, int> names[] = {{"C4", 60}, {"A4", 69},  {"F#3", 54}, {"Bb5", 82},
                                               {"C-1", 0}, {"Cb4", 59}, {"B#3", 60}, {"G9", 127}};
  for (const auto& [name, key] : names) EXPECT_EQ(KeyOf(name), key) << name;
  for (const char* bad : {"H4", "C", "c4", "C10", "Cb-1", "G#9", "E#"})
    EXPECT_THROW(KeyOf(bad), std::invalid_argument) << bad;
}

TEST(MusicNotation, MelodiesAndChordsReadTheirTimingKeysAndAccents) {
  const Phrase p = Notes("E5:4 r:2 C5+G5:2! D5:8?", 80, 0.5);
  EXPECT_EQ(p.length, 16 * kStep);
  ASSERT_EQ(p.notes.size(), 4u);
  EXPECT_EQ(p.notes[0].tick, 0);
  EXPECT_EQ(p.notes[0].length, 2 * kStep);  // half of four steps
  EXPECT_EQ(p.notes[1].tick, 6 * kStep);
  EXPECT_EQ(p.notes[2].tick, 6 * kStep);
  EXPECT_EQ(Keys(p), (std::vector<int>{76, 72, 79, 74}));
  EXPECT_GT(p.notes[1].velocity, 80);
  EXPECT_LT(p.notes[3].velocity, 80);

  const std::vector<Chord> chords = Progression("Am:16 C/E:8 G7:8 Bbmaj7:4");
  ASSERT_EQ(chords.size(), 4u);
  EXPECT_EQ(chords[0].root, 9);
  EXPECT_EQ(chords[0].intervals, (std::vector<int>{0, 3, 7}));
  EXPECT_EQ(chords[1].root, 0);
  EXPECT_EQ(chords[1].bass, 4);
  EXPECT_EQ(chords[2].intervals, (std::vector<int>{0, 4, 7, 10}));
  EXPECT_EQ(chords[3].root, 10);
  EXPECT_EQ(chords[3].steps, 4);
}

TEST(MusicNotation, MistakesNameTheTokenAtFault) {
  const std::pair<std::function<void()>, const char*> mistakes[] = {
      {[] { Notes("C4:4 E4-4 G4:4"); }, "\"E4-4\" (token 2)"},
      {[] { Notes("C4:0"); }, "C4:0"},
      {[] { Notes("C4+X4:2"); }, "C4+X4:2"},
      {[] { Progression("Am:16 Cmaj9:16"); }, "Cmaj9:16"},
      {[] { Progression("C/H:16"); }, "C/H:16"},
      {[] {
         Drums({{36, "x..y"}});
       },
       "'y'"}};
  for (const auto& [write, token] : mistakes)
    EXPECT_NE(ErrorOf(write).find(token), std::string::npos) << token;
}

TEST(Accompaniment, PatternsFollowTheChordsAndNeverRingIntoTheNext) {
  // Six steps of C then four of G: "R-5" is the root held two steps, then the fifth.
  const Phrase bass = Bass(Progression("C:6 G:4"), "R-5", 36, 100);
  EXPECT_EQ(Keys(bass), (std::vector<int>{36, 43, 36, 43, 43, 50, 43}));
  EXPECT_EQ(bass.notes[0].length, 2 * kStep);
  EXPECT_EQ(bass.notes[3].length, 1 * kStep);  // cut where G begins
  EXPECT_EQ(bass.notes[4].tick, 6 * kStep);
  EXPECT_EQ(bass.length, 10 * kStep);
  for (const Note& n : bass.notes)
    EXPECT_LE(n.tick + n.length, n.tick < 6 * kStep ? 6 * kStep : 10 * kStep);
  // Slash chords put their bass underneath; arpeggios climb into higher octaves.
  EXPECT_EQ(Keys(Bass(Progression("C/E:1"), "R", 36, 90)), (std::vector<int>{40}));
  EXPECT_EQ(Keys(Arpeggio(Progression("Am:5"), "12345", 57, 80)),
            (std::vector<int>{57, 60, 64, 69, 72}));
  // Pads keep every voice near the centre.
  const Phrase pad = Pad(Progression("C:16 F:16 G:16 Am:16"), 64, 70);
  EXPECT_EQ(pad.notes.size(), 12u);
  for (const Note& n : pad.notes) {
    EXPECT_TRUE(n.key >= 58 && n.key <= 69) << n.key;
    EXPECT_EQ(n.length, 16 * kStep);
  }
}

TEST(Score, PhrasesMustFillTheBarsTheyAreGiven) {
  Score score{.title = "test", .beatsPerMinute = 120, .beatsPerBar = 4, .bars = 4};
  Part part{"lead"};
  const std::string error = ErrorOf([&] { score.place(part, Notes("C4:15"), 3, 1); });
  EXPECT_NE(error.find("\"lead\""), std::string::npos) << error;
  EXPECT_NE(error.find("bar 3"), std::string::npos) << error;
  score.place(part, Notes("C4:16"), 3, 1);
  EXPECT_EQ(part.notes.at(0).tick, 2 * 4 * kTicksPerQuarter);
}

}  // namespace
}  // namespace zendor::datagen::music
