#include "datagen/audio/midi/notation.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>

namespace zendor::datagen::music {
namespace {

std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    std::size_t end = at;
    while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
    if (end > at) tokens.push_back(text.substr(at, end - at));
    at = end;
  }
  return tokens;
}

[[noreturn]] void Fail(std::string_view what, std::string_view token, std::size_t index) {
  throw std::invalid_argument(std::string(what) + " \"" + std::string(token) + "\" (token " +
                              std::to_string(index + 1) + ")");
}

// Semitones of a note letter with its accidental above the C of its octave (-1 for Cb, 12
// for B#), and how many characters that took.
bool LetterSemitones(std::string_view text, int& semitones, std::size_t& used) {
  static constexpr int kLetters[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (text.empty() || text[0] < 'A' || text[0] > 'G') return false;
  semitones = kLetters[text[0] - 'A'];
  used = 1;
  if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
    semitones += text[1] == '#' ? 1 : -1;
    used = 2;
  }
  return true;
}

bool PitchClass(std::string_view text, int& pitchClass, std::size_t& used) {
  if (!LetterSemitones(text, pitchClass, used)) return false;
  pitchClass = (pitchClass + 12) % 12;
  return true;
}

struct Timed {
  std::string_view what;
  int steps;
  char mark;  // '!', '?' or 0
};

// "what:steps" with an optional mark after the steps.
Timed SplitTimed(std::string_view token, std::size_t index) {
  const std::size_t colon = token.rfind(':');
  if (colon == std::string_view::npos || colon == 0)
    Fail("expected pitch:steps, got", token, index);
  std::string_view count = token.substr(colon + 1);
  char mark = 0;
  if (!count.empty() && (count.back() == '!' || count.back() == '?')) {
    mark = count.back();
    count.remove_suffix(1);
  }
  int steps = 0;
  for (char c : count) {
    if (!std::isdigit(static_cast<unsigned char>(c))) Fail("bad length in", token, index);
    steps = steps * 10 + (c - '0');
  }
  if (count.empty() || steps <= 0 || steps > 256) Fail("bad length in", token, index);
  return {token.substr(0, colon), steps, mark};
}

}  // namespace

int KeyOf(std::string_view name) {
  int semitones = 0;
  std::size_t used = 0;
  if (!LetterSemitones(name, semitones, used))
    throw std::invalid_argument("bad note name \"" + std::string(name) + "\"");
  std::string_view octave = name.substr(used);
  const bool negative = !octave.empty() && octave[0] == '-';
  if (negative) octave.remove_prefix(1);
  if (octave.size() != 1 || !std::isdigit(static_cast<unsigned char>(octave[0])))
    throw std::invalid_argument("bad note name \"" + std::string(name) + "\"");
  const int key = (negative ? -(octave[0] - '0') : octave[0] - '0') * 12 + 12 + semitones;
  if (key < 0 || key > 127)
    throw std::invalid_argument("note out of range \"" + std::string(name) + "\"");
  return key;
}

Phrase Notes(std::string_view notation, int velocity, double gate) {
  Phrase phrase;
  const std::vector<std::string_view> tokens = Tokens(notation);
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Timed timed = SplitTimed(tokens[i], i);
    const int ticks = timed.steps * kTicksPerStep;
    if (timed.what != "r") {
      const int sounding = std::max(1, static_cast<int>(std::lround(ticks * gate)));
      const int v = std::clamp(velocity + (timed.mark == '!'   ? 18
                                           : timed.mark == '?' ? -22
                                                               : 0),
                               1, 127);
      std::string_view rest = timed.what;
      while (!rest.empty()) {
        const std::size_t plus = rest.find('+');
        const std::string_view name = rest.substr(0, plus);
        try {
          phrase.notes.push_back({phrase.length, sounding, KeyOf(name), v});
        } catch (const std::invalid_argument&) {
          Fail("bad note in", tokens[i], i);
        }
        rest = plus == std::string_view::npos ? std::string_view() : rest.substr(plus + 1);
      }
    }
    phrase.length += ticks;
  }
  return phrase;
}

Phrase Drums(std::initializer_list<DrumLine> lines) {
  Phrase phrase;
  for (const DrumLine& line : lines) {
    for (std::size_t step = 0; step < line.hits.size(); ++step) {
      const char c = line.hits[step];
      const int velocity = c == 'X' ? 120 : c == 'x' ? 96 : c == 'o' ? 58 : 0;
      if (c != '.' && velocity == 0)
        throw std::invalid_argument("bad drum hit '" + std::string(1, c) + "' in \"" +
                                    std::string(line.hits) + "\"");
      if (velocity > 0)
        phrase.notes.push_back(
            {static_cast<int>(step) * kTicksPerStep, kTicksPerStep, line.key, velocity});
    }
    phrase.length = std::max(phrase.length, static_cast<int>(line.hits.size()) * kTicksPerStep);
  }
  return phrase;
}

std::vector<Chord> Progression(std::string_view notation) {
  static const std::map<std::string_view, std::vector<int>> kQualities = {{"", {0, 4, 7}},
                                                                          {"m", {0, 3, 7}},
                                                                          {"7", {0, 4, 7, 10}},
                                                                          {"m7", {0, 3, 7, 10}},
                                                                          {"maj7", {0, 4, 7, 11}},
                                                                          {"sus2", {0, 2, 7}},
                                                                          {"sus4", {0, 5, 7}},
                                                                          {"dim", {0, 3, 6}},
                                                                          {"aug", {0, 4, 8}},
                                                                          {"add9", {0, 4, 7, 14}},
                                                                          {"madd9", {0, 3, 7, 14}},
                                                                          {"m9", {0, 3, 7, 10, 14}},
                                                                          {"5", {0, 7}}};
  std::vector<Chord> chords;
  const std::vector<std::string_view> tokens = Tokens(notation);
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Timed timed = SplitTimed(tokens[i], i);
    std::string_view symbol = timed.what;
    Chord chord{};
    std::size_t used = 0;
    if (!PitchClass(symbol, chord.root, used)) Fail("bad chord", tokens[i], i);
    symbol.remove_prefix(used);
    chord.bass = chord.root;
    if (const std::size_t slash = symbol.find('/'); slash != std::string_view::npos) {
      const std::string_view bass = symbol.substr(slash + 1);
      if (!PitchClass(bass, chord.bass, used) || used != bass.size())
        Fail("bad bass note in chord", tokens[i], i);
      symbol = symbol.substr(0, slash);
    }
    const auto quality = kQualities.find(symbol);
    if (quality == kQualities.end()) Fail("unknown chord quality in", tokens[i], i);
    chord.intervals = quality->second;
    chord.steps = timed.steps;
    chords.push_back(chord);
  }
  return chords;
}

}  // namespace zendor::datagen::music
