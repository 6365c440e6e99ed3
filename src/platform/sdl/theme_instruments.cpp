#include "platform/sdl/theme_instruments.h"

#include <array>

namespace zendor {

std::vector<Instrument> PlacesToLookFor(Instrument wanted) {
  if (wanted.bank == kPercussionBank) return {wanted, {kPercussionBank, 0}};
  return {wanted, {0, wanted.program}, {0, 0}};
}

void AddInstrumentsOf(const MidiSequence& theme, InstrumentNotes& uses) {
  constexpr int kChannels = 16;
  std::array<int, kChannels> bankSelected{};
  std::array<Instrument, kChannels> playing{};
  playing[kPercussionChannel] = {kPercussionBank, 0};
  uses[Instrument{0, 0}];
  uses[Instrument{kPercussionBank, 0}];
  for (const MidiEvent& event : theme.events) {
    const int channel = event.status & 0x0F;
    const bool percussion = channel == kPercussionChannel;
    switch (event.status & 0xF0) {
      case 0x90:
        if (event.data2 > 0) uses[playing[channel]].insert({event.data1, event.data2});
        break;
      case 0xB0:
        if (event.data1 == 0 && !percussion) bankSelected[channel] = event.data2;
        break;
      case 0xC0:
        playing[channel] = {percussion ? kPercussionBank : bankSelected[channel], event.data1};
        uses[playing[channel]];
        break;
    }
  }
}

}  // namespace zendor
