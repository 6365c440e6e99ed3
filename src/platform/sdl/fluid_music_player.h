#pragma once

#include <array>
#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/audio.h"
#include "platform/midi_sequence.h"
#include "platform/sdl/mapped_soundfont.h"
#include "platform/sdl/mixer.h"
#include "platform/sdl/soundfont_reader.h"
#include "platform/sdl/theme_instruments.h"

struct _fluid_hashtable_t;
struct _fluid_sfont_t;
struct _fluid_synth_t;

namespace zendor {

// The music player: themes from standard MIDI files, played through a General MIDI SoundFont by
// FluidSynth into whatever audio stream calls MixInto. No audio library of its own.
//
// Once the themes are loaded, a thread of its own reads what they play from the SoundFont, so
// start-up does not wait for it; until that is in, the music is silent. Only the instruments the
// themes select are kept in memory, and within them only the samples their notes sound; all of
// them are in before any theme plays, so playing never reads the disk. The game thread only
// changes what should play, under a mutex; the audio thread does all the synthesizer work and,
// should the game thread hold the mutex at that very moment, lets the synthesizer ring on for
// that one block instead of waiting.
// Hands one MIDI event of a theme to a FluidSynth synthesizer (velocity 0 is a release).
void SendToSynthesizer(_fluid_synth_t* synth, const MidiEvent& event);

class FluidMusicPlayer : public MusicPlayer, public AudioSource {
 public:
  // Where the samples the themes play are kept: viewed in the SoundFont file mapped into memory
  // (the program's own memory holds none of them), or copied into memory by FluidSynth's own
  // loader, which is also what a SoundFont the mapping cannot take falls back to.
  enum class Samples { kMappedFromFile, kCopied };

  // Without a SoundFont (nullopt, or a file FluidSynth cannot load) the player keeps its themes
  // and instances but sounds nothing.
  explicit FluidMusicPlayer(std::optional<std::filesystem::path> soundFont, int outputRate = 44100,
                            Samples samples = Samples::kMappedFromFile);
  ~FluidMusicPlayer() override;

  // --- Game thread ---
  Segment Load(const std::string& midiPath, std::string* error = nullptr) override;
  // Adds an already read theme.
  Segment Add(MidiSequence sequence);
  // Starts reading the instruments of every theme loaded so far. A theme loaded later plays
  // with the instruments already in memory.
  void ThemesLoaded() override;
  void SetRepeats(Segment segment, int repeats) override;
  void SetLoop(Segment segment, bool loop) override;
  Instance Play(Segment segment, int flags) override;
  void Stop(Segment segment, Instance instance) override;
  int MasterVolume() const override { return masterVolume_.load(std::memory_order_relaxed); }
  void SetMasterVolume(int hundredthsDb) override;

  // Waits for the instruments (reading them for the themes loaded so far if ThemesLoaded was
  // not called yet); true when the music can sound.
  bool WaitUntilReady();
  // The SoundFont's instruments held in memory for the themes, once ready.
  const std::vector<Instrument>& PinnedInstruments() const { return pinned_; }
  // The sample data viewed in the mapped SoundFont, once ready; zeros when the samples were
  // copied.
  MappedSampleMemory MappedSamples() const;
  // The instance heard right now, -1 when none (a theme waiting for its bar is not heard yet).
  Instance CurrentInstance();

  // --- Audio thread ---
  void MixInto(float* stereo, int frames) override;

 private:
  struct Theme {
    MidiSequence sequence;
    int repeats = 0;
    bool loop = false;
  };
  // A theme as the audio thread plays it.
  struct Performance {
    const MidiSequence* sequence = nullptr;
    Segment segment = -1;
    Instance instance = -1;
    int playsLeft = 0;  // -1: until stopped
  };

  void LoadInstruments(std::filesystem::path path, InstrumentNotes uses);
  void PinInstruments(int fontId, const InstrumentNotes& uses);
  void StartNext();
  void SilenceAllChannels();
  void Render(float* stereo, int frames, float& gain, float gainStep);

  const int outputRate_;
  const Samples samples_;
  std::vector<std::unique_ptr<Theme>> themes_;  // game thread; freed only with the player
  Instance nextInstance_ = 1;
  std::atomic<int> masterVolume_{0};

  const std::optional<std::filesystem::path> soundFont_;
  std::thread loader_;
  bool loaderStarted_ = false;
  std::atomic<bool> ready_{false};
  std::unique_ptr<RegisteredExcerpt> excerpt_;
  _fluid_sfont_t* mapped_ = nullptr;  // owned by the synthesizer
  std::vector<Instrument> pinned_;
  _fluid_hashtable_t* settings_ = nullptr;
  _fluid_synth_t* synth_ = nullptr;

  std::mutex lock_;  // guards everything below
  Performance current_;
  Performance next_;
  bool nextAtMeasure_ = false;
  bool silenceWanted_ = false;
  std::uint64_t position_ = 0;  // frames into the current theme
  std::size_t nextEvent_ = 0;

  // Audio thread only.
  float gain_ = 1.0f;
  std::array<float, 1024> left_{};
  std::array<float, 1024> right_{};
};

}  // namespace zendor
