// What the audio callback costs: one block of 1,024 frames with 32 sound effects playing at once
// (looping, every one at its own volume, pan and playback rate) and the music synthesizer playing
// a theme. "realtime_share" is the share of the block's own duration (23.2 ms) spent mixing it.
// "output_peak" is the loudest sample of the last block. The output limiter's own cost, idle and
// at work, is measured apart.

#include <benchmark/benchmark.h>
#include <fluidsynth.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "platform/image_file.h"
#include "platform/midi_sequence.h"
#include "platform/sdl/audio_mixdown.h"
#include "platform/sdl/fluid_music_player.h"
#include "platform/sdl/mixer.h"
#include "platform/sdl/output_limiter.h"
#include "platform/sdl/soundfont.h"
#include "platform/wav_file.h"

namespace zendor {
namespace {

constexpr int kRate = 44100;
constexpr int kBlock = AudioMixdown::kBlockFrames;
constexpr double kBlockSeconds = static_cast<double>(kBlock) / kRate;

// Half a second of a buzzing tone with a decaying envelope, like the game's effects.
WavSound Effect(int pitch) {
  const int frames = kRate / 2;
  std::vector<std::int16_t> samples;
  for (int f = 0; f < frames; ++f) {
    const double t = static_cast<double>(f) / kRate;
    const double v = std::sin(2 * M_PI * pitch * t) * std::exp(-3 * t) * 12000;
    samples.push_back(static_cast<std::int16_t>(v));
    samples.push_back(static_cast<std::int16_t>(-v));
  }
  return *ParseWav(EncodeWav16(samples, 2, kRate), nullptr);
}

void FillWithEffects(Mixer& mixer, int voices) {
  for (int i = 0; i < voices; ++i) {
    const auto buffer = mixer.Add(Effect(200 + 37 * i));
    mixer.SetVolume(buffer, -100 * (i % 20));
    mixer.SetPan(buffer, (i % 2 ? 1 : -1) * 300 * (i % 7));
    // The game changes rates between 1,000 and 13,000 Hz on its 44,100 Hz sounds.
    mixer.SetFrequency(buffer, i % 4 == 0 ? 0 : 1000 + (i * 397) % 12000);
    mixer.Play(buffer, true);
  }
}

// --- A theme to play: one of the game's own if the build made them, else a generated one. ---

void PutVlq(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::vector<std::uint8_t> reversed{static_cast<std::uint8_t>(value & 0x7F)};
  while (value >>= 7) reversed.push_back(static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
  out.insert(out.end(), reversed.rbegin(), reversed.rend());
}

// Eight bars at 140 per minute: drums, bass, three-note chords and a running melody.
std::vector<std::uint8_t> BusyTheme() {
  struct Note {
    std::uint32_t start, length;
    std::uint8_t channel, key;
  };
  constexpr std::uint32_t kQuarter = 96;
  std::vector<Note> notes;
  const std::uint8_t chords[4][3] = {{57, 60, 64}, {53, 57, 60}, {55, 59, 62}, {52, 55, 59}};
  for (std::uint32_t bar = 0; bar < 8; ++bar) {
    const std::uint32_t at = bar * 4 * kQuarter;
    const auto& chord = chords[bar % 4];
    for (std::uint8_t key : chord) notes.push_back({at, 4 * kQuarter, 1, key});
    for (std::uint32_t beat = 0; beat < 4; ++beat) {
      notes.push_back(
          {at + beat * kQuarter, kQuarter, 2, static_cast<std::uint8_t>(chord[0] - 24)});
      notes.push_back(
          {at + beat * kQuarter, kQuarter / 2, 9, beat % 2 ? std::uint8_t{38} : std::uint8_t{36}});
      for (std::uint32_t half = 0; half < 2; ++half) {
        const std::uint32_t start = at + beat * kQuarter + half * kQuarter / 2;
        notes.push_back({start, kQuarter / 2, 9, 42});
        notes.push_back(
            {start, kQuarter / 2, 0, static_cast<std::uint8_t>(chord[(beat + half) % 3] + 12)});
      }
    }
  }
  struct Message {
    std::uint32_t tick;
    std::uint8_t status, key, velocity;
  };
  std::vector<Message> messages;
  for (const Note& n : notes) {
    messages.push_back({n.start, static_cast<std::uint8_t>(0x90 | n.channel), n.key, 100});
    messages.push_back({n.start + n.length, static_cast<std::uint8_t>(0x80 | n.channel), n.key, 0});
  }
  std::stable_sort(messages.begin(), messages.end(),
                   [](const Message& a, const Message& b) { return a.tick < b.tick; });
  std::vector<std::uint8_t> body{0x00, 0xFF, 0x51, 0x03, 0x06, 0x8A, 0x1B,  // 140 per minute
                                 0x00, 0xC0, 80,   0x00, 0xC1, 48,   0x00, 0xC2, 33};
  std::uint32_t now = 0;
  for (const Message& m : messages) {
    PutVlq(body, m.tick - now);
    now = m.tick;
    body.insert(body.end(), {m.status, m.key, m.velocity});
  }
  body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
  std::vector<std::uint8_t> file{'M', 'T', 'h', 'd', 0,        0,   0,   6,   0,
                                 0,   0,   1,   0,   kQuarter, 'M', 'T', 'r', 'k'};
  for (int shift = 24; shift >= 0; shift -= 8) file.push_back((body.size() >> shift) & 0xFF);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

// The largest of the game's themes next to this program (stored byte-complemented), if any.
std::optional<MidiSequence> GameTheme() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::nullopt;
  std::optional<MidiSequence> best;
  for (const auto& entry :
       std::filesystem::directory_iterator(self.parent_path() / "game" / "MUS", ec)) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(entry.path(), bytes)) continue;
    for (auto& b : bytes) b = static_cast<std::uint8_t>(~b);
    auto theme = ParseMidi(bytes, kRate, nullptr);
    if (theme && (!best || theme->events.size() > best->events.size())) best = std::move(theme);
  }
  return best;
}

std::unique_ptr<FluidMusicPlayer> PlayingMusic(benchmark::State& state) {
  const auto soundFont = FindSoundFont(UsualSoundFontPlaces());
  if (!soundFont) {
    state.SkipWithError("no General MIDI SoundFont installed");
    return nullptr;
  }
  auto player = std::make_unique<FluidMusicPlayer>(*soundFont, kRate);
  auto theme = GameTheme();
  state.SetLabel(theme ? "game theme" : "generated theme");
  if (!theme) theme = ParseMidi(BusyTheme(), kRate, nullptr);
  const auto segment = player->Add(std::move(*theme));
  if (!player->WaitUntilReady()) {
    state.SkipWithError("the SoundFont could not be loaded");
    return nullptr;
  }
  player->SetLoop(segment, true);
  player->Play(segment, 0);
  return player;
}

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void RunBlocks(benchmark::State& state, AudioMixdown& mixdown) {
  std::vector<std::int16_t> out(2 * kBlock);
  for (int i = 0; i < 20; ++i) mixdown.Render(out.data(), kBlock);  // let the music get going
  const double start = ThreadCpuSeconds();
  for (auto _ : state) {
    mixdown.Render(out.data(), kBlock);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  // The share of the block's own duration spent mixing it (processor time of this thread, so
  // other programs on the machine do not count).
  const double spent = ThreadCpuSeconds() - start;
  state.counters["realtime_share"] =
      spent / (static_cast<double>(state.iterations()) * kBlockSeconds);
  int peak = 0;
  for (const std::int16_t v : out) peak = std::max(peak, std::abs(static_cast<int>(v)));
  state.counters["output_peak"] = peak;
}

void BM_AudioBlock_EffectsAndMusic(benchmark::State& state) {
  Mixer mixer(kRate);
  FillWithEffects(mixer, static_cast<int>(state.range(0)));
  auto music = PlayingMusic(state);
  if (!music) return;
  AudioMixdown mixdown;
  mixdown.SetEffects(&mixer);
  mixdown.SetMusic(music.get());
  RunBlocks(state, mixdown);
}
// On a machine shared with other work the least disturbed repetition is the one to read.
double Least(const std::vector<double>& v) {
  return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

BENCHMARK(BM_AudioBlock_EffectsAndMusic)
    ->Arg(32)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Least);

void BM_AudioBlock_EffectsOnly(benchmark::State& state) {
  Mixer mixer(kRate);
  FillWithEffects(mixer, static_cast<int>(state.range(0)));
  AudioMixdown mixdown;
  mixdown.SetEffects(&mixer);
  RunBlocks(state, mixdown);
}
BENCHMARK(BM_AudioBlock_EffectsOnly)
    ->Arg(32)
    ->Arg(256)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Least);

void BM_AudioBlock_MusicOnly(benchmark::State& state) {
  auto music = PlayingMusic(state);
  if (!music) return;
  AudioMixdown mixdown;
  mixdown.SetMusic(music.get());
  RunBlocks(state, mixdown);
}
BENCHMARK(BM_AudioBlock_MusicOnly)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Least);

// The reference for the music: the same theme on a FluidSynth with its own default settings
// (fourth-order interpolation, 256 voices) holding the whole SoundFont, as the game had it
// before, fed the same events at the same frames, block by block.
class DefaultSynthTheme : public AudioSource {
 public:
  DefaultSynthTheme(const std::filesystem::path& soundFont, MidiSequence theme)
      : theme_(std::move(theme)) {
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.sample-rate", kRate);
    fluid_settings_setnum(settings_, "synth.gain", 0.4);
    synth_ = new_fluid_synth(settings_);
    loaded_ = fluid_synth_sfload(synth_, soundFont.c_str(), 1) != FLUID_FAILED;
  }
  ~DefaultSynthTheme() override {
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
  }
  bool loaded() const { return loaded_; }

  void MixInto(float* stereo, int frames) override {
    int done = 0;
    while (done < frames) {
      while (next_ < theme_.events.size() && theme_.events[next_].frame <= position_) {
        SendToSynthesizer(synth_, theme_.events[next_++]);
      }
      if (position_ >= theme_.lengthFrames) {
        position_ = 0;
        next_ = 0;
        continue;
      }
      std::uint64_t chunk = std::min<std::uint64_t>(frames - done, theme_.lengthFrames - position_);
      if (next_ < theme_.events.size()) {
        chunk = std::min(chunk, theme_.events[next_].frame - position_);
      }
      const int n = static_cast<int>(chunk);
      fluid_synth_write_float(synth_, n, left_.data(), 0, 1, right_.data(), 0, 1);
      for (int i = 0; i < n; ++i) {
        stereo[2 * (done + i)] += left_[static_cast<std::size_t>(i)] * 32767.0f;
        stereo[2 * (done + i) + 1] += right_[static_cast<std::size_t>(i)] * 32767.0f;
      }
      position_ += chunk;
      done += n;
    }
  }

 private:
  MidiSequence theme_;
  fluid_settings_t* settings_;
  fluid_synth_t* synth_;
  bool loaded_ = false;
  std::size_t next_ = 0;
  std::uint64_t position_ = 0;
  std::array<float, kBlock> left_{}, right_{};
};

void BM_AudioBlock_MusicOnly_FluidSynthDefaults(benchmark::State& state) {
  const auto soundFont = FindSoundFont(UsualSoundFontPlaces());
  if (!soundFont) {
    state.SkipWithError("no General MIDI SoundFont installed");
    return;
  }
  auto theme = GameTheme();
  state.SetLabel(theme ? "game theme" : "generated theme");
  if (!theme) theme = ParseMidi(BusyTheme(), kRate, nullptr);
  DefaultSynthTheme music(*soundFont, std::move(*theme));
  if (!music.loaded()) {
    state.SkipWithError("the SoundFont could not be loaded");
    return;
  }
  AudioMixdown mixdown;
  mixdown.SetMusic(&music);
  RunBlocks(state, mixdown);
}
BENCHMARK(BM_AudioBlock_MusicOnly_FluidSynthDefaults)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Least);

// The limiter alone on one block: a tone that fits (0) or one three times too loud (1), the
// case of the hero's explosion.
void BM_OutputLimiter(benchmark::State& state) {
  const double amplitude = state.range(0) ? 3 * 32767.0 : 20000.0;
  std::vector<float> tone(2 * kBlock);
  for (int f = 0; f < kBlock; ++f) {
    tone[2 * f] = tone[2 * f + 1] = static_cast<float>(amplitude * std::sin(f * 0.0627));
  }
  OutputLimiter limiter(kRate);
  std::vector<float> block(tone.size());
  const double start = ThreadCpuSeconds();
  for (auto _ : state) {
    block = tone;
    limiter.Process(block.data(), kBlock);
    benchmark::DoNotOptimize(block.data());
  }
  const double spent = ThreadCpuSeconds() - start;
  state.counters["realtime_share"] =
      spent / (static_cast<double>(state.iterations()) * kBlockSeconds);
  state.counters["gain"] = limiter.gain();
}
BENCHMARK(BM_OutputLimiter)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zendor
