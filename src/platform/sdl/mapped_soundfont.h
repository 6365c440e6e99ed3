#pragma once

#include <cstdint>
#include <string>

#include "platform/sdl/soundfont_excerpt.h"

struct _fluid_sfont_t;

namespace zendor {

// The sample data a mapped SoundFont holds, and how much of it is in memory right now.
struct MappedSampleMemory {
  std::uint64_t bytes = 0;     // every sample its presets can sound
  std::uint64_t resident = 0;  // of those bytes, in memory
  std::uint64_t locked = 0;    // of those bytes, locked in memory
};

// A SoundFont for FluidSynth made of an excerpt, whose samples are never copied into the
// program's own memory: the SoundFont file is mapped read-only, and every sample FluidSynth
// plays is a view of that mapping. All of them are read in (and locked, where the system's
// limit on locked memory allows) before this returns, so playing never waits for the disk.
//
// The presets start their voices exactly as FluidSynth's own loader does for the same excerpt:
// the same zones in the same order, generators set at instrument level and added at preset
// level, modulators overriding and adding, the same sample bounds, loops and noise floor, so
// every note sounds the same to the bit.
//
// Returns nullptr, with the reason in `error`, for an excerpt this reader does not take
// (samples it cannot map, pitches out of the MIDI range, linked modulators); such a file
// stays with FluidSynth's own loader. The synthesizer the font is added to owns it and deletes
// it with itself.
_fluid_sfont_t* NewMappedSoundFont(const SoundFontExcerpt& excerpt, std::string* error);

// Deletes a font made by NewMappedSoundFont that no synthesizer took.
void DeleteMappedSoundFont(_fluid_sfont_t* font);

// How much of the sample data of `font` (made by NewMappedSoundFont, or nullptr) is in memory.
MappedSampleMemory SampleMemoryOf(_fluid_sfont_t* font);

}  // namespace zendor
