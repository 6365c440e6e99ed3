#pragma once

#include <cstdint>
#include <string>

#include "platform/sdl/soundfont_excerpt.h"

struct _fluid_hashtable_t;
struct _fluid_sfloader_t;

namespace zendor {

// How often FluidSynth has opened a SoundFont through our loader, and how many bytes it has
// read, in this process so far. A synthesizer whose instruments are all in memory reads nothing.
struct SoundFontReads {
  std::uint64_t opens = 0;
  std::uint64_t bytes = 0;
};
SoundFontReads SoundFontReadsSoFar();

// An excerpt FluidSynth can open by name() while this lives. Every excerpt gets a name of its
// own, so FluidSynth's sample cache (shared by the whole process) never mixes two up.
class RegisteredExcerpt {
 public:
  explicit RegisteredExcerpt(SoundFontExcerpt excerpt);
  ~RegisteredExcerpt();
  RegisteredExcerpt(const RegisteredExcerpt&) = delete;
  RegisteredExcerpt& operator=(const RegisteredExcerpt&) = delete;

  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

// FluidSynth's own SoundFont loader reading through us: registered excerpts by their names,
// anything else as a plain file; every open and read counted.
_fluid_sfloader_t* NewReadingSoundFontLoader(_fluid_hashtable_t* settings);

}  // namespace zendor
