#pragma once

#include <initializer_list>
#include <string_view>
#include <vector>

#include "datagen/audio/midi/score.h"

// A compact way to write music in code. Lengths are counted in sixteenth-note steps.
namespace zendor::datagen::music {

// The MIDI key of a note name: "C4" is 60 (middle C), "A4" 69, "F#3" 54, "Bb5" 82.
// Throws std::invalid_argument for anything else.
int KeyOf(std::string_view name);

// A melody or chord line as "pitch:steps" tokens separated by spaces:
//   "E5:4 D5:2 r:2 C5+E5+G5:8"
// 'r' is a rest and '+' joins the notes of a chord; a '!' after the steps accents the note and
// a '?' softens it. `gate` is the part of each note's time that it sounds (1 legato, 0.5
// detached). Throws std::invalid_argument naming the bad token.
Phrase Notes(std::string_view notation, int velocity = 90, double gate = 0.9);

// One drum of a percussion pattern, one character per sixteenth: 'x' hit, 'X' accent,
// 'o' ghost note, '.' nothing.
struct DrumLine {
  int key;
  std::string_view hits;
};
// All lines played together; the phrase is as long as the longest line.
Phrase Drums(std::initializer_list<DrumLine> lines);

struct Chord {
  int root;                    // pitch class, 0 = C
  std::vector<int> intervals;  // semitones above the root, starting with 0
  int bass;                    // pitch class of the lowest note (the root unless "C/E")
  int steps;                   // how long the chord lasts
};

// A chord progression as "symbol:steps" tokens: "Am:16 Fmaj7:16 C/E:8 G7:8". Qualities: major
// (nothing), m, 7, m7, maj7, sus2, sus4, dim, aug, add9, madd9, m9, 5.
std::vector<Chord> Progression(std::string_view notation);

}  // namespace zendor::datagen::music
