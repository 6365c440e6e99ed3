#include "datagen/audio/midi/score.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "datagen/audio/midi/general_midi.h"
#include "datagen/audio/midi/midi_file.h"

namespace zendor::datagen::music {

Phrase Repeat(const Phrase& phrase, int times) {
  return Sequence(std::vector<Phrase>(static_cast<std::size_t>(std::max(0, times)), phrase));
}

Phrase Sequence(const std::vector<Phrase>& phrases) {
  Phrase out;
  for (const Phrase& p : phrases) {
    for (Note n : p.notes) {
      n.tick += out.length;
      out.notes.push_back(n);
    }
    out.length += p.length;
  }
  return out;
}

Phrase Transposed(Phrase phrase, int semitones) {
  for (Note& n : phrase.notes) n.key += semitones;
  return phrase;
}

Phrase Dynamics(Phrase phrase, double factor) {
  for (Note& n : phrase.notes)
    n.velocity = std::clamp(static_cast<int>(std::lround(n.velocity * factor)), 1, 127);
  return phrase;
}

Phrase Together(const Phrase& a, const Phrase& b) {
  Phrase out = a;
  out.notes.insert(out.notes.end(), b.notes.begin(), b.notes.end());
  out.length = std::max(a.length, b.length);
  return out;
}

void Part::place(const Phrase& phrase, int tick) {
  for (Note n : phrase.notes) {
    n.tick += tick;
    notes.push_back(n);
  }
}

void Part::swell(int fromTick, int toTick, int from, int to) {
  const int steps = std::max(1, (toTick - fromTick) / kTicksPerStep);
  for (int i = 0; i <= steps; ++i) {
    const int value = from + (to - from) * i / steps;
    controllers.push_back({fromTick + (toTick - fromTick) * i / steps, gm::kExpression, value});
  }
}

void Score::place(Part& part, const Phrase& phrase, int firstBar, int barCount) const {
  if (phrase.length != barCount * barTicks()) {
    throw std::invalid_argument("theme \"" + title + "\", part \"" + part.name +
                                "\": the phrase at bar " + std::to_string(firstBar) + " lasts " +
                                std::to_string(phrase.length / kTicksPerStep) + " steps, not the " +
                                std::to_string(barCount * barTicks() / kTicksPerStep) + " of " +
                                std::to_string(barCount) + " bars");
  }
  part.place(phrase, bar(firstBar));
}

namespace {

MidiTrack PartTrack(const Part& part) {
  MidiTrack track(part.name);
  const int ch = part.channel;
  track.program(0, ch, part.program);
  track.control(0, ch, gm::kVolume, part.mix.volume);
  track.control(0, ch, gm::kPan, part.mix.pan);
  track.control(0, ch, gm::kReverb, part.mix.reverb);
  track.control(0, ch, gm::kChorus, part.mix.chorus);
  // Every pass of a looping theme starts from full expression, whatever the last bar did.
  track.control(0, ch, gm::kExpression, 127);
  for (const ControllerChange& c : part.controllers)
    track.control(c.tick, ch, c.controller, c.value);
  for (const Note& n : part.notes) track.note(n.tick, n.length, ch, n.key, n.velocity);
  return track;
}

}  // namespace

std::vector<std::uint8_t> ToMidiFile(const Score& score) {
  try {
    std::vector<MidiTrack> tracks;
    MidiTrack conductor(score.title);
    conductor.timeSignature(0, score.beatsPerBar, 4);
    conductor.tempo(0, score.beatsPerMinute);
    tracks.push_back(conductor);
    for (const Part& part : score.parts) tracks.push_back(PartTrack(part));
    return EncodeMidiFile(tracks, kTicksPerQuarter, score.endTick());
  } catch (const std::invalid_argument& e) {
    throw std::invalid_argument("theme \"" + score.title + "\", " + e.what());
  }
}

}  // namespace zendor::datagen::music
