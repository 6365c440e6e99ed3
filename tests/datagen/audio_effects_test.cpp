// The game's sound effects as the game will load them: every effect it plays and no other, format,
// loudness, length, clean edges, seamless loops, enemy calls with gaps, the laser step that is
// only ever heard slowed down, and the same bytes on every run. Then the synthesis toolkit they
// are built with, where the effects alone cannot show it: oscillators at their pitch, filters that
// pass their band, sweeps and decays that reach their marks, and samples that clip instead of
// wrapping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "common/sound_catalogue.h"
#include "datagen/audio/synth/envelope.h"
#include "datagen/audio/synth/filter.h"
#include "datagen/audio/synth/oscillator.h"
#include "datagen/audio/synth/signal.h"
#include "datagen/datagen.h"
#include "platform/wav_file.h"

namespace zendor {
namespace {

namespace audio = datagen::audio;

struct Decoded {
  WavSound wav;
  std::vector<double> left, right;  // -1..1
};

// Every effect, decoded by the game's own reader.
const std::map<int, Decoded>& Effects() {
  static const std::map<int, Decoded> effects = [] {
    std::map<int, Decoded> out;
    for (const auto& file : datagen::MakeSoundEffects()) {
      std::string error;
      auto wav = ParseWav(file.bytes, &error);
      if (!wav) throw std::runtime_error("effect " + std::to_string(file.number) + ": " + error);
      Decoded d{*wav, {}, {}};
      for (std::size_t i = 0; i + 1 < wav->data.size(); i += 2)
        (i % 4 ? d.right : d.left)
            .push_back(static_cast<std::int16_t>(wav->data[i] | (wav->data[i + 1] << 8)) / 32768.0);
      out.emplace(file.number, std::move(d));
    }
    return out;
  }();
  return effects;
}

double Dbfs(double level) {
  return 20.0 * std::log10(std::max(level, 1e-9));
}

// The level of samples from..from+count-1 (up to the end).
template <typename Samples>
double Rms(const Samples& s, std::size_t from = 0, std::size_t count = SIZE_MAX) {
  double sum = 0.0;
  const std::size_t end = count < s.size() - from ? from + count : s.size();
  for (std::size_t i = from; i < end; ++i) sum += static_cast<double>(s[i]) * s[i];
  return end > from ? std::sqrt(sum / static_cast<double>(end - from)) : 0.0;
}

TEST(SoundEffects, EachEffectTheGamePlaysIsMadeCleanlyAtItsFormatAndLength) {
  // Number: shortest and longest length in seconds, and whether it loops.
  const std::map<int, std::tuple<double, double, bool>> expected = {
      {kEffect00MenuChime, {0.1, 1.0, false}},   {kEffect01Blip, {0.03, 0.3, false}},
      {kEffect02KeyClick, {0.005, 0.08, false}}, {kEffect11LaserCharge, {0.05, 0.3, false}},
      {kEffect12LaserBolt, {0.025, 0.1, false}}, {kEffect13Explosion, {0.2, 1.0, false}},
      {kEffect17CloseAttack, {0.1, 0.4, false}}, {kEffect18EnemyDebris, {0.2, 0.8, false}},
      {kEffect19HeroBlast, {0.3, 1.2, false}},   {kEffect20HeroWail, {0.3, 1.2, false}},
      {kEffect22Sinking, {0.45, 0.75, false}},   {kEffect23StingerVoice, {0.3, 0.8, false}},
      {kEffect24BruteVoice, {0.3, 0.8, false}},  {kEffect25HopperVoice, {0.3, 0.8, false}},
      {kEffect26StiltsVoice, {0.3, 0.8, false}}, {kEffect27ArmouredVoice, {0.3, 0.8, false}},
      {kEffect30NightWind, {4.0, 8.0, true}},    {kEffect31Lava, {2.0, 4.0, true}},
  };
  EXPECT_EQ(Effects().size(), expected.size());
  for (const auto& [number, effect] : Effects()) {
    SCOPED_TRACE("effect " + std::to_string(number));
    ASSERT_TRUE(expected.count(number)) << "an effect the game never plays";
    const auto [minSeconds, maxSeconds, loops] = expected.at(number);
    EXPECT_EQ(effect.wav.channels, 2);
    EXPECT_EQ(effect.wav.bitsPerSample, 16);
    EXPECT_EQ(effect.wav.sampleRate, 44100);
    const double seconds = static_cast<double>(effect.left.size()) / effect.wav.sampleRate;
    EXPECT_GE(seconds, minSeconds);
    EXPECT_LE(seconds, maxSeconds);
    // Peaks just under full scale without clipping, and is more than a whisper.
    double peak = 0.0;
    for (const auto* side : {&effect.left, &effect.right})
      for (double s : *side) peak = std::max(peak, std::fabs(s));
    EXPECT_NEAR(Dbfs(peak), -1.0, 0.3);
    EXPECT_GT(Dbfs(Rms(effect.left)), -40.0) << "practically silent";
    for (const auto* side : {&effect.left, &effect.right}) {
      if (!loops) {  // one-shots start and end on silence
        EXPECT_LT(std::fabs(side->front()), 0.002);
        EXPECT_LT(std::fabs(side->back()), 0.002);
        continue;
      }
      // Loops join as smoothly as they flow.
      double sumSquares = 0.0;
      for (std::size_t i = 1; i < side->size(); ++i)
        sumSquares += std::pow((*side)[i] - (*side)[i - 1], 2);
      const double typicalStep = std::sqrt(sumSquares / static_cast<double>(side->size() - 1));
      EXPECT_LE(std::fabs(side->front() - side->back()), 3.0 * typicalStep) << "clicks at the loop";
    }
  }
}

TEST(SoundEffects, EnemyVoicesLeaveQuietBetweenCalls) {
  // Each enemy repeats its voice back to back; without a gap it would drone.
  for (const int number : kEnemyVoiceByKind) {
    const std::vector<double>& voice = Effects().at(number).left;
    std::vector<double> levels;
    for (std::size_t at = 0; at + 441 <= voice.size(); at += 441)  // 10 ms windows
      levels.push_back(Rms(voice, at, 441));
    const double loudest = *std::ranges::max_element(levels);
    const auto quiet = std::ranges::count_if(levels, [&](double l) { return l < loudest / 30.0; });
    EXPECT_GE(static_cast<double>(quiet) / static_cast<double>(levels.size()), 0.2)
        << "effect " << number;
  }
}

TEST(SoundEffects, LaserStepIsHeardAtEveryRateTheShotPlaysIt) {
  // Right-facing shots play it at 1,000..6,000 samples per second, left-facing ones at
  // 8,000..13,000, and restart it after about 75 ms. The mixer interpolates linearly into its
  // 44,100 Hz output.
  const std::vector<double>& step = Effects().at(kEffect12LaserBolt).left;
  for (int rate = 1000; rate <= 13000; rate += 1000) {
    if (rate == 7000) continue;
    std::vector<double> heard;
    for (int i = 0; i < static_cast<int>(0.075 * 44100); ++i) {
      const double at = i * rate / 44100.0, frac = at - std::floor(at);
      const std::size_t whole = static_cast<std::size_t>(at);
      if (whole + 1 >= step.size()) break;
      heard.push_back(step[whole] * (1.0 - frac) + step[whole + 1] * frac);
    }
    EXPECT_GT(Dbfs(Rms(heard)), -15.0) << "at " << rate << " Hz";
  }
}

TEST(SoundEffects, WholeSetIsSmallAndAlwaysTheSame) {
  const auto first = datagen::MakeSoundEffects(), second = datagen::MakeSoundEffects();
  ASSERT_EQ(first.size(), second.size());
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_TRUE(first[i].number == second[i].number && first[i].bytes == second[i].bytes)
        << "effect " << first[i].number << " changed between runs";
    bytes += first[i].bytes.size();
  }
  EXPECT_LT(bytes, 10u * 1024 * 1024);
}

TEST(Synth, OscillatorsRunAtTheirPitchAndStayInRange) {
  using audio::Wave;
  for (Wave wave : {Wave::Sine, Wave::Triangle, Wave::Saw, Wave::Square}) {
    SCOPED_TRACE(static_cast<int>(wave));
    audio::Oscillator osc(wave);
    const audio::Signal s = audio::Render(1.0, [&](double) { return osc.next(1000.0); });
    int crossings = 0;
    float peak = std::fabs(s.front());
    for (std::size_t i = 1; i < s.size(); ++i) {
      crossings += (s[i - 1] < 0.0f) != (s[i] < 0.0f);
      peak = std::max(peak, std::fabs(s[i]));
    }
    EXPECT_NEAR(crossings, 2000, 20);
    EXPECT_LE(peak, 1.1);
  }
}

TEST(Synth, FiltersPassTheirBandAndStopTheRest) {
  // Level of a sine at `hz` through a fresh copy of `filter`, once it has settled.
  const auto through = [](double hz, auto filter) {
    audio::Oscillator osc(audio::Wave::Sine);
    return Rms(audio::Render(0.2, [&](double) { return filter(osc.next(hz)); }), 2000);
  };
  const auto lowPass = [f = audio::StateVariableFilter()](float x) mutable {
    return f.next(x, 500.0, 0.7).low;
  };
  const auto band = [f = audio::StateVariableFilter()](float x) mutable {
    return f.next(x, 2000.0, 4.0).band;
  };
  EXPECT_GT(through(100.0, lowPass), 0.6);
  EXPECT_LT(through(8000.0, lowPass), 0.01);
  EXPECT_GT(through(2000.0, band), 10.0 * through(500.0, band));
  audio::OnePoleHighPass high;
  audio::OnePoleLowPass low;
  EXPECT_LT(through(50.0, [&](float x) { return high.next(x, 2000.0); }), 0.05);
  EXPECT_GT(through(50.0, [&](float x) { return low.next(x, 2000.0); }), 0.6);
}

TEST(Synth, SweepsAndDecaysReachTheirMarksAndSamplesClip) {
  const audio::Sweep octave{100.0, 400.0, 2.0};
  EXPECT_NEAR(octave.at(1.0), 200.0, 1e-9);  // halfway in time is halfway in pitch
  EXPECT_EQ(octave.at(5.0), 400.0);
  EXPECT_NEAR(audio::Decay(1.0, 1.0), 0.001, 1e-6);
  const std::vector<std::int16_t> pcm = audio::ToPcm16({{1.5f, -1.5f, 0.5f}, {0.0f, 0.0f, -0.5f}});
  EXPECT_EQ(pcm, (std::vector<std::int16_t>{32767, 0, -32767, 0, 16384, -16384}));
}

}  // namespace
}  // namespace zendor
