#include "platform/sdl/fluid_music_player.h"

#include <fluidsynth.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cstdio>

#include "platform/sdl/soundfont.h"
#include "platform/whole_file.h"

namespace zendor {
namespace {

constexpr int kChannels = 16;
constexpr int kPitchBendCentre = 8192;
constexpr double kSynthGain = 0.4;  // leaves room for the sound effects on top
// The busiest theme sounds 140 voices at once (notes ringing out included); a little above that
// nothing is ever cut short, and each voice not allocated saves about 11 kB.
constexpr int kPolyphony = 160;

// FluidSynth's own chatter (missing presets, voice stealing) is of no use to the player.
void QuietenFluidSynth() {
  static std::once_flag once;
  std::call_once(once, [] {
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
  });
}

}  // namespace

FluidMusicPlayer::FluidMusicPlayer(std::optional<std::filesystem::path> soundFont, int outputRate,
                                   Samples samples)
    : outputRate_(outputRate), samples_(samples), soundFont_(std::move(soundFont)) {}

FluidMusicPlayer::~FluidMusicPlayer() {
  if (loader_.joinable()) loader_.join();
  if (synth_) delete_fluid_synth(synth_);
  if (settings_) delete_fluid_settings(settings_);
}

void FluidMusicPlayer::ThemesLoaded() {
  if (!soundFont_ || loaderStarted_) return;
  loaderStarted_ = true;
  InstrumentNotes uses;
  for (const auto& theme : themes_) AddInstrumentsOf(theme->sequence, uses);
  loader_ = std::thread(&FluidMusicPlayer::LoadInstruments, this, *soundFont_, std::move(uses));
}

void FluidMusicPlayer::LoadInstruments(std::filesystem::path path, InstrumentNotes uses) {
  QuietenFluidSynth();
  settings_ = new_fluid_settings();
  if (settings_) {
    fluid_settings_setnum(settings_, "synth.sample-rate", outputRate_);
    fluid_settings_setnum(settings_, "synth.gain", kSynthGain);
    // Once the instruments are in, only the audio thread touches the synthesizer: no locking.
    fluid_settings_setint(settings_, "synth.threadsafe-api", 0);
    // Samples are read only for the instruments pinned below, all before any theme plays.
    fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(settings_, "synth.polyphony", kPolyphony);
    synth_ = new_fluid_synth(settings_);
  }
  if (!synth_) {
    ReportSilentMusic("the music synthesizer could not start");
    return;
  }
  // Linear interpolation costs a fifth less than FluidSynth's default fourth-order one; rendered
  // side by side, the themes differ by under 0.2 dB in every band (docs/performance.md).
  fluid_synth_set_interp_method(synth_, -1, FLUID_INTERP_LINEAR);
  fluid_synth_add_sfloader(synth_, NewReadingSoundFontLoader(settings_));
  // The themes' part of the SoundFont, its samples viewed in the file; an excerpt the mapping
  // does not take is read into memory by FluidSynth, and a file that cannot be cut (or whose
  // excerpt FluidSynth refuses) is read whole, as it stands.
  int font = FLUID_FAILED;
  std::string name = path.string();
  if (auto excerpt = CutSoundFont(path, uses, nullptr)) {
    if (samples_ == Samples::kMappedFromFile) {
      if (_fluid_sfont_t* mapped = NewMappedSoundFont(*excerpt, nullptr)) {
        font = fluid_synth_add_sfont(synth_, mapped);
        if (font != FLUID_FAILED) {
          mapped_ = mapped;
        } else {
          DeleteMappedSoundFont(mapped);
        }
      }
    }
    if (!mapped_) {
      excerpt_ = std::make_unique<RegisteredExcerpt>(std::move(*excerpt));
      name = excerpt_->name();
    }
  }
  if (!mapped_) font = fluid_synth_sfload(synth_, name.c_str(), 0);
  if (font == FLUID_FAILED && excerpt_) font = fluid_synth_sfload(synth_, path.c_str(), 0);
  if (font == FLUID_FAILED) {
    ReportSilentMusic("the SoundFont " + path.string() + " could not be loaded");
    return;
  }
  PinInstruments(font, uses);
#ifdef __GLIBC__
  // FluidSynth's own loader leaves the tables it read and dropped in this thread's heap; they go
  // back to the system. (The mapped SoundFont leaves next to nothing behind.)
  if (!mapped_) malloc_trim(0);
#endif
  ready_.store(true, std::memory_order_release);
}

void FluidMusicPlayer::PinInstruments(int fontId, const InstrumentNotes& uses) {
  fluid_sfont_t* font = fluid_synth_get_sfont_by_id(synth_, fontId);
  for (const auto& [wanted, notes] : uses) {
    for (const Instrument place : PlacesToLookFor(wanted)) {
      if (!font || !fluid_sfont_get_preset(font, place.bank, place.program)) continue;
      if (std::find(pinned_.begin(), pinned_.end(), place) == pinned_.end() &&
          fluid_synth_pin_preset(synth_, fontId, place.bank, place.program) == FLUID_OK) {
        pinned_.push_back(place);
      }
      break;
    }
  }
}

MappedSampleMemory FluidMusicPlayer::MappedSamples() const {
  return ready_.load(std::memory_order_acquire) ? SampleMemoryOf(mapped_) : MappedSampleMemory{};
}

bool FluidMusicPlayer::WaitUntilReady() {
  ThemesLoaded();
  if (loader_.joinable()) loader_.join();
  return ready_.load(std::memory_order_acquire);
}

MusicPlayer::Segment FluidMusicPlayer::Load(const std::string& midiPath, std::string* error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(midiPath, bytes, kLargestGameFile, error)) return -1;
  auto sequence = ParseMidi(bytes, outputRate_, error);
  if (!sequence) return -1;
  return Add(std::move(*sequence));
}

MusicPlayer::Segment FluidMusicPlayer::Add(MidiSequence sequence) {
  auto theme = std::make_unique<Theme>();
  theme->sequence = std::move(sequence);
  themes_.push_back(std::move(theme));
  return static_cast<Segment>(themes_.size() - 1);
}

void FluidMusicPlayer::SetRepeats(Segment segment, int repeats) {
  if (segment >= 0 && static_cast<std::size_t>(segment) < themes_.size()) {
    themes_[static_cast<std::size_t>(segment)]->repeats = std::max(0, repeats);
  }
}

void FluidMusicPlayer::SetLoop(Segment segment, bool loop) {
  if (segment >= 0 && static_cast<std::size_t>(segment) < themes_.size()) {
    themes_[static_cast<std::size_t>(segment)]->loop = loop;
  }
}

MusicPlayer::Instance FluidMusicPlayer::Play(Segment segment, int flags) {
  if (segment < 0 || static_cast<std::size_t>(segment) >= themes_.size()) return -1;
  const Theme& theme = *themes_[static_cast<std::size_t>(segment)];
  const Instance instance = nextInstance_++;
  std::lock_guard<std::mutex> hold(lock_);
  next_ = {&theme.sequence, segment, instance, theme.loop ? -1 : theme.repeats + 1};
  nextAtMeasure_ = (flags & kAtNextBar) != 0;
  return instance;
}

void FluidMusicPlayer::Stop(Segment segment, Instance instance) {
  if (instance < 0) return;
  std::lock_guard<std::mutex> hold(lock_);
  if (next_.instance == instance && next_.segment == segment) next_ = {};
  if (current_.instance == instance && current_.segment == segment) {
    current_ = {};
    silenceWanted_ = true;
  }
}

void FluidMusicPlayer::SetMasterVolume(int hundredthsDb) {
  masterVolume_.store(hundredthsDb, std::memory_order_relaxed);
}

MusicPlayer::Instance FluidMusicPlayer::CurrentInstance() {
  std::lock_guard<std::mutex> hold(lock_);
  return current_.instance;
}

void FluidMusicPlayer::MixInto(float* stereo, int frames) {
  if (!ready_.load(std::memory_order_acquire) || frames <= 0) return;
  // Master volume: up to +20 dB, as the game's music device allowed; glides over the block.
  const float target = GainFromHundredthsDb(std::min(MasterVolume(), 2000));
  const float gainStep = (target - gain_) / static_cast<float>(frames);
  std::unique_lock<std::mutex> hold(lock_, std::try_to_lock);
  if (!hold.owns_lock()) {
    // The game is changing themes at this very moment: rather than wait, the synthesizer plays
    // on for this one block with no new notes, and the theme goes on a block later.
    float gain = gain_;
    for (int done = 0; done < frames;) {
      const int chunk = std::min(frames - done, static_cast<int>(left_.size()));
      Render(stereo + 2 * done, chunk, gain, gainStep);
      done += chunk;
    }
    gain_ = target;
    return;
  }
  if (silenceWanted_) {
    SilenceAllChannels();
    silenceWanted_ = false;
  }
  float gain = gain_;
  int done = 0;
  while (done < frames) {
    if (next_.sequence) {
      const bool now = !current_.sequence || !nextAtMeasure_ || [&] {
        const auto& bars = current_.sequence->measureStarts;
        return std::binary_search(bars.begin(), bars.end(), position_);
      }();
      if (now) StartNext();
    }
    std::uint64_t chunk = std::min<std::uint64_t>(frames - done, left_.size());
    if (const MidiSequence* sequence = current_.sequence) {
      while (nextEvent_ < sequence->events.size() &&
             sequence->events[nextEvent_].frame <= position_) {
        SendToSynthesizer(synth_, sequence->events[nextEvent_++]);
      }
      if (position_ >= sequence->lengthFrames) {
        if (current_.playsLeft == 1 || sequence->lengthFrames == 0) {
          current_ = {};  // played to its end: the notes ring out on their own
        } else {
          if (current_.playsLeft > 1) --current_.playsLeft;
          position_ = 0;
          nextEvent_ = 0;
        }
        continue;
      }
      chunk = std::min(chunk, sequence->lengthFrames - position_);
      if (nextEvent_ < sequence->events.size()) {
        chunk = std::min(chunk, sequence->events[nextEvent_].frame - position_);
      }
      if (next_.sequence) {  // waiting for the next bar
        const auto& bars = sequence->measureStarts;
        const auto bar = std::upper_bound(bars.begin(), bars.end(), position_);
        chunk = std::min(chunk, (bar == bars.end() ? sequence->lengthFrames : *bar) - position_);
      }
      position_ += chunk;
    }
    Render(stereo + 2 * done, static_cast<int>(chunk), gain, gainStep);
    done += static_cast<int>(chunk);
  }
  gain_ = target;
}

void FluidMusicPlayer::StartNext() {
  SilenceAllChannels();
  // Every theme starts from a clean synthesizer: its own instruments, nothing left over.
  for (int channel = 0; channel < kChannels; ++channel) {
    fluid_synth_cc(synth_, channel, 121, 0);  // reset controllers
    fluid_synth_cc(synth_, channel, 7, 100);  // channel volume
    fluid_synth_cc(synth_, channel, 10, 64);  // pan centre
    fluid_synth_pitch_bend(synth_, channel, kPitchBendCentre);
    if (channel != kPercussionChannel) fluid_synth_bank_select(synth_, channel, 0);
    fluid_synth_program_change(synth_, channel, 0);
  }
  current_ = next_;
  next_ = {};
  position_ = 0;
  nextEvent_ = 0;
}

void FluidMusicPlayer::SilenceAllChannels() {
  for (int channel = 0; channel < kChannels; ++channel) {
    fluid_synth_cc(synth_, channel, 64, 0);  // sustain pedal up
    fluid_synth_all_notes_off(synth_, channel);
  }
}

void SendToSynthesizer(_fluid_synth_t* synth, const MidiEvent& event) {
  const int channel = event.status & 0x0F;
  switch (event.status & 0xF0) {
    case 0x80:
      fluid_synth_noteoff(synth, channel, event.data1);
      break;
    case 0x90:
      fluid_synth_noteon(synth, channel, event.data1, event.data2);
      break;
    case 0xA0:
      fluid_synth_key_pressure(synth, channel, event.data1, event.data2);
      break;
    case 0xB0:
      fluid_synth_cc(synth, channel, event.data1, event.data2);
      break;
    case 0xC0:
      fluid_synth_program_change(synth, channel, event.data1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(synth, channel, event.data1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(synth, channel, event.data1 | (event.data2 << 7));
      break;
  }
}

void FluidMusicPlayer::Render(float* stereo, int frames, float& gain, float gainStep) {
  if (frames <= 0) return;
  fluid_synth_write_float(synth_, frames, left_.data(), 0, 1, right_.data(), 0, 1);
  for (int i = 0; i < frames; ++i) {
    gain += gainStep;
    stereo[2 * i] += left_[static_cast<std::size_t>(i)] * 32767.0f * gain;
    stereo[2 * i + 1] += right_[static_cast<std::size_t>(i)] * 32767.0f * gain;
  }
}

}  // namespace zendor
