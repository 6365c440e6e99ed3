#include "datagen/audio/midi/accompaniment.h"

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>

namespace zendor::datagen::music {
namespace {

// The first key at or above `lowKey` with the pitch class given.
int KeyAtOrAbove(int pitchClass, int lowKey) {
  return lowKey + ((pitchClass - lowKey) % 12 + 12) % 12;
}

// Every tone of the chord placed in the octave around `centreKey`.
std::vector<int> CloseVoicing(const Chord& chord, int centreKey) {
  std::vector<int> keys;
  for (int interval : chord.intervals)
    keys.push_back(KeyAtOrAbove((chord.root + interval) % 12, centreKey - 6));
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

// The keys a pattern character asks for, or none if it is not a strike.
using Pick = std::function<std::vector<int>(const Chord& chord, char c)>;

// Walks every chord with the pattern restarting at its start, turning strikes into notes that
// last until the next strike, rest or chord.
Phrase Realise(const std::vector<Chord>& chords, std::string_view pattern, int velocity,
               const Pick& pick, bool accentBeats) {
  if (pattern.empty()) throw std::invalid_argument("empty accompaniment pattern");
  Phrase phrase;
  for (const Chord& chord : chords) {
    std::vector<Note> sounding;
    const auto release = [&]() {
      phrase.notes.insert(phrase.notes.end(), sounding.begin(), sounding.end());
      sounding.clear();
    };
    for (int step = 0; step < chord.steps; ++step) {
      const char c = pattern[static_cast<std::size_t>(step) % pattern.size()];
      const int tick = phrase.length + step * kTicksPerStep;
      if (c == '-') {
        for (Note& n : sounding) n.length += kTicksPerStep;
        continue;
      }
      release();
      if (c == '.') continue;
      const std::vector<int> keys = pick(chord, c);
      if (keys.empty())
        throw std::invalid_argument("bad character '" + std::string(1, c) + "' in pattern \"" +
                                    std::string(pattern) + "\"");
      int v = c == 'X' ? velocity + 16 : velocity;
      if (accentBeats && step % 4 != 0) v = v * 85 / 100;
      for (int key : keys) sounding.push_back({tick, kTicksPerStep, key, std::clamp(v, 1, 127)});
    }
    release();
    phrase.length += chord.steps * kTicksPerStep;
  }
  return phrase;
}

// The chord tone nearest above the root in one of the interval ranges, or the octave.
int ToneAbove(const Chord& chord, int lowest, int highest) {
  for (int interval : chord.intervals)
    if (interval >= lowest && interval <= highest) return interval;
  return 12;
}

}  // namespace

Phrase Pad(const std::vector<Chord>& chords, int centreKey, int velocity) {
  Phrase phrase;
  for (const Chord& chord : chords) {
    for (int key : CloseVoicing(chord, centreKey))
      phrase.notes.push_back({phrase.length, chord.steps * kTicksPerStep, key, velocity});
    phrase.length += chord.steps * kTicksPerStep;
  }
  return phrase;
}

Phrase Comp(const std::vector<Chord>& chords, std::string_view rhythm, int centreKey,
            int velocity) {
  return Realise(
      chords, rhythm, velocity,
      [centreKey](const Chord& chord, char c) {
        return c == 'x' || c == 'X' ? CloseVoicing(chord, centreKey) : std::vector<int>{};
      },
      false);
}

Phrase Arpeggio(const std::vector<Chord>& chords, std::string_view pattern, int lowKey,
                int velocity) {
  return Realise(
      chords, pattern, velocity,
      [lowKey](const Chord& chord, char c) -> std::vector<int> {
        if (c < '1' || c > '9') return {};
        const int root = KeyAtOrAbove(chord.root, lowKey);
        std::vector<int> tones;
        for (int interval : chord.intervals) tones.push_back(root + interval % 12);
        std::sort(tones.begin(), tones.end());
        tones.erase(std::unique(tones.begin(), tones.end()), tones.end());
        const int index = c - '1';
        const int count = static_cast<int>(tones.size());
        return {tones[static_cast<std::size_t>(index % count)] + 12 * (index / count)};
      },
      true);
}

Phrase Bass(const std::vector<Chord>& chords, std::string_view pattern, int lowKey, int velocity) {
  return Realise(
      chords, pattern, velocity,
      [lowKey](const Chord& chord, char c) -> std::vector<int> {
        const int root = KeyAtOrAbove(chord.root, lowKey);
        switch (c) {
          case 'R':
            return {KeyAtOrAbove(chord.bass, lowKey)};
          case '3':
            return {root + ToneAbove(chord, 2, 5)};
          case '5':
            return {root + ToneAbove(chord, 6, 8)};
          case '7':
            return {root + ToneAbove(chord, 9, 11)};
          case '8':
            return {root + 12};
          default:
            return {};
        }
      },
      true);
}

}  // namespace zendor::datagen::music
