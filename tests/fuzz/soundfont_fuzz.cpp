// SoundFonts as the music player takes them: cut down to the instruments a theme plays, mapped,
// and a few notes played from the presets the cut kept. (The corpus starts from a small
// SoundFont made for it by make_soundfont_seed.py.)
#include <fluidsynth.h>

#include <array>
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "platform/sdl/mapped_soundfont.h"
#include "platform/sdl/soundfont_excerpt.h"

namespace {

constexpr int kRate = 44100;
constexpr int kFrames = 256;

void Play(_fluid_sfont_t* font) {
  static fluid_settings_t* settings = [] {
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_settings_t* s = new_fluid_settings();
    fluid_settings_setnum(s, "synth.sample-rate", kRate);
    fluid_settings_setint(s, "synth.polyphony", 16);
    fluid_settings_setint(s, "synth.reverb.active", 0);
    fluid_settings_setint(s, "synth.chorus.active", 0);
    return s;
  }();
  fluid_synth_t* synth = new_fluid_synth(settings);
  const int id = fluid_synth_add_sfont(synth, font);  // from here on the synthesizer owns it
  if (id == FLUID_FAILED) zendor::DeleteMappedSoundFont(font);
  fluid_synth_program_select(synth, 0, id, 0, 0);
  fluid_synth_program_select(synth, 9, id, 128, 0);
  fluid_synth_noteon(synth, 0, 60, 100);
  fluid_synth_noteon(synth, 0, 30, 20);
  fluid_synth_noteon(synth, 9, 36, 127);
  std::array<float, 2 * kFrames> heard{};
  fluid_synth_write_float(synth, kFrames, heard.data(), 0, 2, heard.data(), 1, 2);
  fluid_synth_noteoff(synth, 0, 60);
  fluid_synth_write_float(synth, kFrames, heard.data(), 0, 2, heard.data(), 1, 2);
  delete_fluid_synth(synth);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto path = zendor::fuzz::WriteInput("font.sf2", data, size);
  zendor::InstrumentNotes uses;
  uses[{0, 0}] = {{60, 100}, {30, 20}};
  uses[{zendor::kPercussionBank, 0}] = {{36, 127}};
  const auto excerpt = zendor::CutSoundFont(path, uses, nullptr);
  if (!excerpt) return 0;
  _fluid_sfont_t* font = zendor::NewMappedSoundFont(*excerpt, nullptr);
  if (!font) return 0;
  const zendor::MappedSampleMemory memory = zendor::SampleMemoryOf(font);
  if (memory.locked > memory.bytes || memory.resident > memory.bytes) __builtin_trap();
  Play(font);
  return 0;
}
