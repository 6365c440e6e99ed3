#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/sdl/audio_mixdown.h"
#include "platform/sdl/output_limiter.h"

namespace zendor {
namespace {

constexpr int kRate = 44100;
constexpr int kDelay = OutputLimiter::kLookAhead - 1;

// A tone of `frames` frames whose peaks reach `amplitude`, right side inverted.
std::vector<float> Tone(int frames, double amplitude, double hz = 440.0) {
  std::vector<float> stereo;
  for (int f = 0; f < frames; ++f) {
    const auto v = static_cast<float>(amplitude * std::sin(2 * M_PI * hz * f / kRate));
    stereo.push_back(v);
    stereo.push_back(-v);
  }
  return stereo;
}

// Runs the signal through the limiter in blocks of the callback's size (the last one shorter).
std::vector<float> Limited(OutputLimiter& limiter, std::vector<float> stereo, int block = 1024) {
  const int frames = static_cast<int>(stereo.size() / 2);
  for (int done = 0; done < frames; done += block) {
    limiter.Process(stereo.data() + 2 * done, std::min(block, frames - done));
  }
  return stereo;
}

TEST(MixerLimiter, WhatFitsComesOutUnchangedOnlyLate) {
  OutputLimiter limiter(kRate);
  std::vector<float> in = Tone(5000, 31000.0, 997.0);
  in[2 * 1234] = 31999.0f;  // just under the ceiling
  const auto out = Limited(limiter, in, 300);
  for (int f = 0; f < kDelay; ++f) EXPECT_EQ(out[2 * f], 0.0f);
  for (int f = kDelay; f < 5000; ++f) {
    ASSERT_EQ(out[2 * f], in[2 * (f - kDelay)]) << f;
    ASSERT_EQ(out[2 * f + 1], in[2 * (f - kDelay) + 1]) << f;
  }
  EXPECT_EQ(limiter.gain(), 1.0f);
}

TEST(MixerLimiter, LoudPeaksLandOnTheCeilingWithTheGainEasedNotJumping) {
  OutputLimiter limiter(kRate);
  // Quiet, then three times full scale for a quarter of a second, then quiet again.
  std::vector<float> in = Tone(4410, 8000.0);
  const auto loud = Tone(11025, 3 * 32767.0, 150.0);
  in.insert(in.end(), loud.begin(), loud.end());
  const auto after = Tone(3 * kRate, 8000.0);
  in.insert(in.end(), after.begin(), after.end());
  const auto out = Limited(limiter, in);

  const int frames = static_cast<int>(in.size() / 2);
  float peak = 0;
  float previousGain = 1.0f;
  int previousFrame = kDelay;
  float steepest = 0;  // the largest change of gain per frame
  int wrongSign = 0;
  for (int f = kDelay; f < frames; ++f) {
    const float before = in[2 * (f - kDelay)];
    peak = std::max({peak, std::fabs(out[2 * f]), std::fabs(out[2 * f + 1])});
    if (std::fabs(before) < 2000.0f) continue;  // too small to read the gain from
    if ((out[2 * f] > 0) != (before > 0)) ++wrongSign;
    ASSERT_EQ(out[2 * f + 1], -out[2 * f]);  // both sides turned down alike
    const float gain = out[2 * f] / before;
    steepest = std::max(steepest, std::fabs(gain - previousGain) / (f - previousFrame));
    previousGain = gain;
    previousFrame = f;
  }
  EXPECT_LE(peak, OutputLimiter::kCeiling + 0.01f);  // to within the rounding of the gain
  EXPECT_GT(peak, OutputLimiter::kCeiling - 50.0f);  // no further down than it has to go
  EXPECT_EQ(wrongSign, 0);
  // A drop of two thirds spread over the look-ahead, never in one step.
  EXPECT_LT(steepest, 1.5f / OutputLimiter::kLookAhead);

  // Three seconds after the loud part the quiet tone comes through untouched again.
  EXPECT_EQ(limiter.gain(), 1.0f);
  for (int f = frames - 1000; f < frames; ++f) ASSERT_EQ(out[2 * f], in[2 * (f - kDelay)]) << f;
}

TEST(MixerLimiter, TheGainComesBackOverAQuarterOfASecond) {
  OutputLimiter limiter(kRate);
  std::vector<float> in = Tone(4410, 2 * 32767.0, 200.0);  // needs half the gain
  const auto quiet = Tone(3 * kRate, 1000.0, 200.0);
  in.insert(in.end(), quiet.begin(), quiet.end());
  std::vector<float> gains;
  for (int done = 0; done < static_cast<int>(in.size() / 2); done += 441) {
    limiter.Process(in.data() + 2 * done, 441);
    gains.push_back(limiter.gain());  // every 10 ms
  }
  EXPECT_NEAR(gains[9], 0.5f, 0.02f);  // still held down at the end of the loud part
  // Back most of the way after the release time, all the way within three seconds.
  EXPECT_GT(gains[10 + 25], 0.75f);
  EXPECT_LT(gains[10 + 25], 0.9f);
  EXPECT_EQ(gains.back(), 1.0f);
  for (std::size_t i = 11; i < gains.size(); ++i) EXPECT_GE(gains[i], gains[i - 1]);
}

// A source that adds a fixed level, for what the mixdown does with it.
struct Level : AudioSource {
  float value;
  explicit Level(float v) : value(v) {}
  void MixInto(float* stereo, int frames) override {
    for (int i = 0; i < 2 * frames; ++i) stereo[i] += value;
  }
};

TEST(MixerLimiter, TheMixdownAddsEffectsAndMusicAndNeverWraps) {
  Level effects(20000.0f);
  Level music(-4999.6f);
  AudioMixdown mixdown(kRate);
  mixdown.SetEffects(&effects);
  mixdown.SetMusic(&music);
  std::vector<std::int16_t> out(2 * 3000);
  mixdown.Render(out.data(), 3000);  // longer than one block
  EXPECT_EQ(out[0], 0);              // the look-ahead's worth of silence first
  EXPECT_EQ(out[2 * AudioMixdown::kDelayFrames], 15000);
  EXPECT_EQ(out.back(), 15000);

  // Far past full scale, sideways: turned down, not folded over to the other sign.
  effects.value = 60000.0f;
  music.value = 60000.0f;
  mixdown.Render(out.data(), 3000);
  EXPECT_TRUE(std::all_of(out.begin() + 200, out.end(), [](std::int16_t v) {
    return v > 0 && v <= static_cast<int>(OutputLimiter::kCeiling);
  }));
}

}  // namespace
}  // namespace zendor
