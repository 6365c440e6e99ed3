#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A theme as musicians think of it: parts for instruments, each a list of notes in bars and
// sixteenth-note steps, assembled from phrases. Turned into a standard MIDI file at the end.
namespace zendor::datagen::music {

inline constexpr int kTicksPerQuarter = 480;
inline constexpr int kTicksPerStep = kTicksPerQuarter / 4;  // one sixteenth note

struct Note {
  int tick;    // from the start of the phrase (or of the theme, once placed)
  int length;  // in ticks
  int key;     // MIDI key, 60 = middle C (C4)
  int velocity;
};

// A stretch of music that can be placed anywhere, repeated or transposed.
struct Phrase {
  std::vector<Note> notes;
  int length = 0;  // in ticks; the next phrase in a sequence starts here
};

// `phrase` played `times` times in a row.
Phrase Repeat(const Phrase& phrase, int times);
// The phrases one after another.
Phrase Sequence(const std::vector<Phrase>& phrases);
// Moved by `semitones`.
Phrase Transposed(Phrase phrase, int semitones);
// Velocities scaled by `factor` (kept within 1..127).
Phrase Dynamics(Phrase phrase, double factor);
// Both at once, the length of the longer.
Phrase Together(const Phrase& a, const Phrase& b);

struct ControllerChange {
  int tick;
  int controller;
  int value;
};

// Where a part sits in the mix: channel volume, pan (0 left .. 127 right) and how much of it
// goes to the synthesizer's reverb and chorus.
struct Mix {
  int volume = 100;
  int pan = 64;
  int reverb = 40;
  int chorus = 0;
};

// One instrument on one channel.
struct Part {
  std::string name;
  int channel = 0;  // 0..15; 9 is the percussion channel
  int program = 0;  // General MIDI program, 0-based
  Mix mix;
  std::vector<Note> notes;
  std::vector<ControllerChange> controllers;

  // Adds `phrase` starting at `tick`.
  void place(const Phrase& phrase, int tick);
  // A smooth change of expression (controller 11) from `from` to `to` over the ticks given.
  void swell(int fromTick, int toTick, int from, int to);
};

struct Score {
  std::string title;
  double beatsPerMinute = 120.0;
  int beatsPerBar = 4;  // quarter-note beats
  int bars = 1;         // the theme ends exactly at the end of the last bar
  std::vector<Part> parts;

  int barTicks() const { return beatsPerBar * kTicksPerQuarter; }
  // The tick at which bar `number` starts, counting bars from 1 as musicians do.
  int bar(int number) const { return (number - 1) * barTicks(); }
  int endTick() const { return bars * barTicks(); }
  double seconds() const { return bars * beatsPerBar * 60.0 / beatsPerMinute; }

  // Adds `phrase` to `part` from the start of bar `firstBar`; the phrase must last exactly
  // `barCount` bars (std::invalid_argument otherwise), which catches miscounted lines.
  void place(Part& part, const Phrase& phrase, int firstBar, int barCount) const;
};

// The standard MIDI file: a conductor track (title, tempo, metre) then one track per part,
// each starting with its program and mixer settings and ending at the end of the last bar.
// Throws std::invalid_argument, naming the theme and part, for anything that does not fit.
std::vector<std::uint8_t> ToMidiFile(const Score& score);

}  // namespace zendor::datagen::music
