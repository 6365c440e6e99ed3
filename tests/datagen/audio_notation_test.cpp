// Writing music in code: note names, the melody and chord notation, accompaniment patterns,
// and the MIDI writer's own guarantees.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "datagen/audio/midi/accompaniment.h"
#include "datagen/audio/midi/midi_file.h"
#include "datagen/audio/midi/notation.h"
#include "datagen/audio/midi/score.h"

namespace zendor::datagen::music {
namespace {

constexpr int kStep = kTicksPerStep;

// The message of the std::invalid_argument that `write` throws, or "" if it does not throw.
template <typename F>
std::string ErrorOf(F write) {
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
  EXPECT_EQ(KeyOf("C4"), 60);
  EXPECT_EQ(KeyOf("A4"), 69);
  EXPECT_EQ(KeyOf("F#3"), 54);
  EXPECT_EQ(KeyOf("Bb5"), 82);
  EXPECT_EQ(KeyOf("C-1"), 0);
  EXPECT_EQ(KeyOf("Cb4"), 59);
  EXPECT_EQ(KeyOf("B#3"), 60);
  EXPECT_EQ(KeyOf("G9"), 127);
  for (const char* bad : {"H4", "C", "c4", "C10", "Cb-1", "G#9", "E#"})
    EXPECT_THROW(KeyOf(bad), std::invalid_argument) << bad;
}

TEST(MusicNotation, MelodiesTimeRestsChordsAndAccents) {
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
}

TEST(MusicNotation, MistakesNameTheTokenAtFault) {
  EXPECT_NE(ErrorOf([] { Notes("C4:4 E4-4 G4:4"); }).find("\"E4-4\" (token 2)"), std::string::npos);
  EXPECT_NE(ErrorOf([] { Notes("C4:0"); }).find("C4:0"), std::string::npos);
  EXPECT_NE(ErrorOf([] { Notes("C4+X4:2"); }).find("C4+X4:2"), std::string::npos);
  EXPECT_NE(ErrorOf([] { Progression("Am:16 Cmaj9:16"); }).find("Cmaj9:16"), std::string::npos);
  EXPECT_NE(ErrorOf([] { Progression("C/H:16"); }).find("C/H:16"), std::string::npos);
  EXPECT_NE(ErrorOf([] { Drums({{36, "x..y"}}); }).find("'y'"), std::string::npos);
}

TEST(MusicNotation, ChordSymbolsGiveRootQualityBassAndLength) {
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

TEST(Accompaniment, PatternsRestartAtEachChordAndNeverRingIntoTheNext) {
  // Six steps of C then four of G: "R-5" is the root held two steps, then the fifth.
  const Phrase bass = Bass(Progression("C:6 G:4"), "R-5", 36, 100);
  EXPECT_EQ(Keys(bass), (std::vector<int>{36, 43, 36, 43, 43, 50, 43}));
  EXPECT_EQ(bass.notes[0].length, 2 * kStep);
  EXPECT_EQ(bass.notes[3].length, 1 * kStep);  // cut where G begins
  EXPECT_EQ(bass.notes[4].tick, 6 * kStep);
  EXPECT_EQ(bass.length, 10 * kStep);
  for (const Note& n : bass.notes) {
    const bool inC = n.tick < 6 * kStep;
    EXPECT_LE(n.tick + n.length, inC ? 6 * kStep : 10 * kStep);
  }
}

TEST(Accompaniment, SlashChordsPutTheirBassUnderneath) {
  EXPECT_EQ(Keys(Bass(Progression("C/E:1"), "R", 36, 90)), (std::vector<int>{40}));
}

TEST(Accompaniment, ArpeggiosClimbThroughTheChordIntoHigherOctaves) {
  EXPECT_EQ(Keys(Arpeggio(Progression("Am:5"), "12345", 57, 80)),
            (std::vector<int>{57, 60, 64, 69, 72}));
}

TEST(Accompaniment, PadsKeepEveryVoiceNearTheCentre) {
  const Phrase pad = Pad(Progression("C:16 F:16 G:16 Am:16"), 64, 70);
  for (const Note& n : pad.notes) {
    EXPECT_GE(n.key, 58);
    EXPECT_LE(n.key, 69);
    EXPECT_EQ(n.length, 16 * kStep);
  }
  EXPECT_EQ(pad.notes.size(), 12u);
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

TEST(MidiWriter, VariableLengthNumbersMatchTheStandardsExamples) {
  const std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> cases = {
      {0x00, {0x00}},
      {0x7F, {0x7F}},
      {0x80, {0x81, 0x00}},
      {0x2000, {0xC0, 0x00}},
      {0x3FFF, {0xFF, 0x7F}},
      {0x4000, {0x81, 0x80, 0x00}},
      {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}}};
  for (const auto& [value, bytes] : cases) {
    std::vector<std::uint8_t> out;
    AppendVariableLength(out, value);
    EXPECT_EQ(out, bytes) << value;
  }
}

TEST(MidiWriter, ARestruckKeyIsReleasedBeforeItIsStruckAgain) {
  MidiTrack track("t");
  track.note(0, 100, 0, 60, 90);
  track.note(100, 100, 0, 60, 90);
  const std::vector<std::uint8_t> chunk = track.encode(200);
  // After the name: on at 0; then at delta 100 the release (0x80) must come before the strike.
  const std::vector<std::uint8_t> expected = {0x00, 0x90, 60,   90,   0x64, 0x80,
                                              60,   64,   0x00, 0x90, 60,   90};
  EXPECT_TRUE(std::search(chunk.begin(), chunk.end(), expected.begin(), expected.end()) !=
              chunk.end());
}

TEST(MidiWriter, RefusesNotesThatWouldCutEachOtherOrHangPastTheEnd) {
  MidiTrack overlapping("pad");
  overlapping.note(0, 200, 1, 64, 90);
  overlapping.note(100, 200, 1, 64, 90);
  EXPECT_NE(ErrorOf([&] { overlapping.encode(480); }).find("\"pad\": key 64 struck at tick 100"),
            std::string::npos);

  MidiTrack hanging("bass");
  hanging.note(400, 200, 2, 40, 90);
  EXPECT_NE(ErrorOf([&] { hanging.encode(480); }).find("past the end"), std::string::npos);

  MidiTrack wrong("lead");
  EXPECT_THROW(wrong.note(0, 10, 0, 128, 90), std::invalid_argument);
  EXPECT_THROW(wrong.note(0, 10, 0, 60, 0), std::invalid_argument);
  EXPECT_THROW(wrong.note(0, 0, 0, 60, 90), std::invalid_argument);
}

}  // namespace
}  // namespace zendor::datagen::music
