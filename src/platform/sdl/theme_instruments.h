#pragma once

#include <map>
#include <set>
#include <utility>
#include <vector>

#include "platform/midi_sequence.h"

namespace zendor {

// A General MIDI sound as a synthesizer addresses it: bank 128 holds the percussion kits.
struct Instrument {
  int bank = 0;
  int program = 0;
  auto operator<=>(const Instrument&) const = default;
};

constexpr int kPercussionBank = 128;
constexpr int kPercussionChannel = 9;  // channel 10 as musicians count

// Where the synthesizer looks for an instrument, in order, when the SoundFont lacks it: another
// bank's program in bank 0, then program 0 of bank 0; a missing kit falls back to kit 0.
std::vector<Instrument> PlacesToLookFor(Instrument wanted);

// Every instrument the themes select, with the notes (key, velocity) each one sounds. An
// instrument selected but never sounded is listed with no notes.
using InstrumentNotes = std::map<Instrument, std::set<std::pair<int, int>>>;

// Adds what `theme` selects and sounds to `uses`. A theme starts with every channel on bank 0,
// program 0 and the percussion channel on kit 0, as the player sets them up; a bank select
// (controller 0) takes effect at the channel's next program change, and is ignored on the
// percussion channel, whose kits are always in bank 128.
void AddInstrumentsOf(const MidiSequence& theme, InstrumentNotes& uses);

}  // namespace zendor
