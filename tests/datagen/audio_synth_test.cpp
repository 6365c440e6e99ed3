// The synthesis toolkit the sound effects are built with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "datagen/audio/synth/envelope.h"
#include "datagen/audio/synth/filter.h"
#include "datagen/audio/synth/noise.h"
#include "datagen/audio/synth/oscillator.h"
#include "datagen/audio/synth/signal.h"

namespace zendor::datagen::audio {
namespace {

double Rms(const Signal& s, std::size_t skip = 0) {
  double sum = 0.0;
  for (std::size_t i = skip; i < s.size(); ++i) sum += static_cast<double>(s[i]) * s[i];
  return std::sqrt(sum / static_cast<double>(s.size() - skip));
}

double Peak(const Signal& s) {
  double peak = 0.0;
  for (float x : s) peak = std::max(peak, static_cast<double>(std::fabs(x)));
  return peak;
}

int ZeroCrossings(const Signal& s) {
  int count = 0;
  for (std::size_t i = 1; i < s.size(); ++i) count += (s[i - 1] < 0.0f) != (s[i] < 0.0f);
  return count;
}

Signal Tone(Wave wave, double hz, double seconds) {
  Oscillator osc(wave);
  return Render(seconds, [&](double) { return osc.next(hz); });
}

TEST(Synth, TheSameSeedGivesTheSameNoiseEverywhere) {
  Random a(7), b(7), c(8);
  bool differs = false;
  for (int i = 0; i < 1000; ++i) {
    const double x = a.uniform();
    EXPECT_EQ(x, b.uniform());
    EXPECT_GE(x, 0.0);
    EXPECT_LT(x, 1.0);
    differs = differs || x != c.uniform();
  }
  EXPECT_TRUE(differs);
  // Pinned so a change of generator, which would change every effect, is noticed.
  EXPECT_EQ(Random(0).next(), 0xE220A8397B1DCDAFull);
}

TEST(Synth, OscillatorsRunAtTheirPitchAndStayInRange) {
  for (Wave wave : {Wave::Sine, Wave::Triangle, Wave::Saw, Wave::Square}) {
    const Signal s = Tone(wave, 1000.0, 1.0);
    EXPECT_NEAR(ZeroCrossings(s), 2000, 20) << static_cast<int>(wave);
    EXPECT_LE(Peak(s), 1.1) << static_cast<int>(wave);
  }
}

TEST(Synth, FiltersPassTheirBandAndStopTheRest) {
  // Level of a sine at `hz` through a fresh copy of `filter`, once it has settled.
  const auto through = [](double hz, auto filter) {
    Oscillator osc(Wave::Sine);
    return Rms(Render(0.2, [&](double) { return filter(osc.next(hz)); }), 2000);
  };
  const auto lowPass = [f = StateVariableFilter()](float x) mutable {
    return f.next(x, 500.0, 0.7).low;
  };
  const auto band = [f = StateVariableFilter()](float x) mutable {
    return f.next(x, 2000.0, 4.0).band;
  };
  EXPECT_GT(through(100.0, lowPass), 0.6);
  EXPECT_LT(through(8000.0, lowPass), 0.01);
  EXPECT_GT(through(2000.0, band), 10.0 * through(500.0, band));
  OnePoleHighPass high;
  OnePoleLowPass low;
  EXPECT_LT(through(50.0, [&](float x) { return high.next(x, 2000.0); }), 0.05);
  EXPECT_GT(through(50.0, [&](float x) { return low.next(x, 2000.0); }), 0.6);
}

TEST(Synth, AFilteredLoopJoinsWhereAPlainPassWouldJump) {
  Random random(3);
  const Signal noise = Render(0.5, [&](double) { return random.white(); });
  const auto darken = [](OnePoleLowPass& f) {
    return [&f](float x, double) { return f.next(x, 30.0); };
  };
  OnePoleLowPass once, settled;
  Signal plain(noise.size());
  for (std::size_t i = 0; i < noise.size(); ++i) plain[i] = darken(once)(noise[i], 0.0);
  const Signal loop = FilterLoop(noise, darken(settled));
  double step = 0.0;
  for (std::size_t i = 1; i < loop.size(); ++i)
    step = std::max(step, static_cast<double>(std::fabs(loop[i] - loop[i - 1])));
  EXPECT_LE(std::fabs(loop.front() - loop.back()), step);
  EXPECT_GT(std::fabs(plain.front() - plain.back()), 4.0 * step);
}

TEST(Synth, WrappedMixingCarriesTheTailToTheStart) {
  Stereo loop = Silence(1.0);
  MixWrapped(loop, Centred(Signal(100, 1.0f)), 1.0 - 50.0 / kSampleRate);
  EXPECT_EQ(loop.left[0], 1.0f);
  EXPECT_EQ(loop.left[49], 1.0f);
  EXPECT_EQ(loop.left[50], 0.0f);
  EXPECT_EQ(loop.right[kSampleRate - 1], 1.0f);
  EXPECT_EQ(loop.frames(), static_cast<std::size_t>(kSampleRate));
}

TEST(Synth, FinishingFadesNormalisesAndConvertsWithoutWrapping) {
  Stereo s = Centred(Tone(Wave::Square, 440.0, 0.1));
  FadeEdges(s, 0.005, 0.01);
  EXPECT_EQ(s.left.front(), 0.0f);
  EXPECT_EQ(s.right.back(), 0.0f);
  NormalisePeak(s, -1.0);
  EXPECT_NEAR(20.0 * std::log10(Peak(s.left)), -1.0, 1e-4);

  const std::vector<std::int16_t> pcm = ToPcm16({{1.5f, -1.5f, 0.5f}, {0.0f, 0.0f, -0.5f}});
  EXPECT_EQ(pcm, (std::vector<std::int16_t>{32767, 0, -32767, 0, 16384, -16384}));
}

TEST(Synth, EnvelopesAndSweepsReachTheirMarks) {
  const Adsr e{.attack = 0.1, .decay = 0.1, .sustain = 0.5, .release = 0.2};
  EXPECT_NEAR(e.at(0.05, 1.0), 0.5, 1e-9);
  EXPECT_NEAR(e.at(0.5, 1.0), 0.5, 1e-9);
  EXPECT_NEAR(e.at(1.1, 1.0), 0.25, 1e-9);
  EXPECT_EQ(e.at(1.3, 1.0), 0.0);
  const Sweep octave{100.0, 400.0, 2.0};
  EXPECT_NEAR(octave.at(1.0), 200.0, 1e-9);  // halfway in time is halfway in pitch
  EXPECT_EQ(octave.at(5.0), 400.0);
  EXPECT_NEAR(Decay(1.0, 1.0), 0.001, 1e-6);
}

}  // namespace
}  // namespace zendor::datagen::audio
