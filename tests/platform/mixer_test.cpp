// What a player hears from the SDL back end: the sound-effect mixer, block by block as the audio
// callback takes it, and the limiter that keeps the sum under full scale. The game's own effects
// are checked as files by the data tests and as operations by the sound system's tests; here the
// sounds tell by their samples which frame is playing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/sdl/audio_mixdown.h"
#include "platform/sdl/mixer.h"
#include "platform/sdl/output_limiter.h"
#include "platform/wav_file.h"

namespace zendor {
namespace {

constexpr int kRate = 44100;

// A stereo sound whose every frame tells where it is: left = frame index + 1, right = -(left).
WavSound Numbered(int frames, int rate = kRate) {
  std::vector<std::int16_t> samples;
  for (int f = 0; f < frames; ++f) {
    samples.push_back(static_cast<std::int16_t>(f + 1));
    samples.push_back(static_cast<std::int16_t>(-(f + 1)));
  }
  return *ParseWav(EncodeWav16(samples, 2, rate), nullptr);
}

// What the mixer adds to the output, in blocks of the audio callback's size, rounded to 16 bits
// (the limiter behind it is tested on its own).
struct Output {
  Mixer mixer{kRate};

  // The next `frames` frames, left and right.
  std::vector<std::pair<long, long>> Next(int frames) {
    std::vector<float> sum(2 * static_cast<std::size_t>(frames), 0.0f);
    for (int done = 0; done < frames; done += AudioMixdown::kBlockFrames) {
      mixer.MixInto(sum.data() + 2 * done, std::min(frames - done, AudioMixdown::kBlockFrames));
    }
    std::vector<std::pair<long, long>> out;
    for (int f = 0; f < frames; ++f)
      out.emplace_back(std::lrint(sum[2 * f]), std::lrint(sum[2 * f + 1]));
    return out;
  }
};

TEST(MixerLevels, VolumeAndPanFollowTheDecibelCurves) {
  struct Case {
    int volume, pan;
    int leftDb, rightDb;  // what each side should get
  };
  const Case cases[] = {
      {0, 0, 0, 0},           {-600, 0, -600, -600},    {-10000, 0, -10000, -10000},
      {0, 600, -600, 0},      {0, -600, 0, -600},       {0, 10000, -10000, 0},
      {0, -10000, 0, -10000}, {-600, 600, -1200, -600}, {-5000, -6000, -5000, -10000},
  };
  const std::vector<std::int16_t> steady(2 * 4096, 16000);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "volume " << c.volume << " pan " << c.pan);
    Output out;
    const auto buffer = out.mixer.Add(*ParseWav(EncodeWav16(steady, 2, kRate), nullptr));
    out.mixer.SetVolume(buffer, c.volume);
    out.mixer.SetPan(buffer, c.pan);
    out.mixer.Play(buffer, false);
    const auto heard = out.Next(256)[100];
    const std::pair<long, int> sides[] = {{heard.first, c.leftDb}, {heard.second, c.rightDb}};
    for (const auto& [side, db] : sides) {
      // -10000 is exactly silent, not just very quiet.
      const double level = db <= -10000 ? 0.0 : 16000 * std::pow(10.0, db / 2000.0);
      EXPECT_NEAR(side, level, db <= -10000 ? 0.0 : 1.0) << db;
    }
  }
}

TEST(MixerLevels, ChangesGlideOverOneBlockAndASilencedLoopRunsOnUnheard) {
  Output out;
  const auto buffer = out.mixer.Add(Numbered(1000));
  out.mixer.Play(buffer, true);
  EXPECT_EQ(out.Next(64)[10].first, 11);
  out.mixer.SetVolume(buffer, -10000);
  const auto down = out.Next(64);  // frames 64 to 127
  EXPECT_GT(down[0].first, 0);
  EXPECT_LT(down[0].first, 65);
  EXPECT_EQ(down[63].first, 0);
  const auto silence = out.Next(1500);
  EXPECT_TRUE(
      std::all_of(silence.begin(), silence.end(), [](auto v) { return v == std::pair(0L, 0L); }));
  EXPECT_TRUE(out.mixer.IsPlaying(buffer));
  out.mixer.SetVolume(buffer, 0);
  out.Next(64);
  // At full level again, round the end to where it would be had it been heard all along.
  EXPECT_EQ(out.Next(1)[0].first, (128 + 1500 + 64) % 1000 + 1);
}

TEST(MixerPlayback, StopKeepsThePlaceRewindGoesBackAndTheEndStopsAllButALoop) {
  Output out;
  const auto buffer = out.mixer.Add(Numbered(1000));
  out.mixer.Play(buffer, false);
  EXPECT_TRUE(out.mixer.IsPlaying(buffer));
  EXPECT_EQ(out.Next(300)[0].first, 1);
  out.mixer.Play(buffer, false);  // as the lava's loop is played every frame: no restart
  EXPECT_EQ(out.Next(10)[0].first, 301);
  out.mixer.Stop(buffer);
  EXPECT_FALSE(out.mixer.IsPlaying(buffer));
  EXPECT_EQ(out.Next(100)[0].first, 0);
  out.mixer.Play(buffer, false);
  EXPECT_EQ(out.Next(10)[0].first, 311);  // on from where it stopped
  // The game's restart: stop, rewind, play.
  out.mixer.Stop(buffer);
  out.mixer.SetPosition(buffer, 0);
  out.mixer.Play(buffer, false);
  EXPECT_EQ(out.Next(10)[0].first, 1);
  // Positions are bytes of the file's own format: 4 per frame here.
  out.mixer.SetPosition(buffer, 4 * 600);
  out.mixer.Play(buffer, true);  // a playing sound takes the new looping choice
  const auto looping = out.Next(401);
  EXPECT_EQ(looping[0].first, 601);
  EXPECT_EQ(looping[400].first, 1);  // round the end
  out.mixer.Play(buffer, false);
  const auto once = out.Next(1024);
  EXPECT_EQ(once[998].second, -1000);
  EXPECT_EQ(once[999].first, 0);  // and at the end it stops
  EXPECT_FALSE(out.mixer.IsPlaying(buffer));
  // A sound that played to its end starts from its beginning again; past the end is the end.
  out.mixer.Play(buffer, false);
  EXPECT_EQ(out.Next(4)[0].first, 1);
  out.mixer.SetPosition(buffer, 1u << 30);
  out.Next(10);
  EXPECT_FALSE(out.mixer.IsPlaying(buffer));
}

TEST(MixerPlayback, FrequencyResamplesAndDoublingHalvesTheDuration) {
  Output out;
  const auto fast = out.mixer.Add(Numbered(4410));
  out.mixer.SetFrequency(fast, 2 * kRate);
  out.mixer.Play(fast, false);
  const auto doubled = out.Next(4410);
  EXPECT_EQ(doubled[2204].first, 4409);
  EXPECT_EQ(doubled[2205].first, 0);
  EXPECT_FALSE(out.mixer.IsPlaying(fast));

  // Half the rate: twice as long, with the frames in between interpolated.
  const auto slow = out.mixer.Add(Numbered(100));
  out.mixer.SetFrequency(slow, kRate / 2);
  out.mixer.Play(slow, false);
  const auto stretched = out.Next(256);
  EXPECT_EQ(stretched[0].first, 1);
  EXPECT_NEAR(stretched[1].first, 1.5, 0.51);
  EXPECT_EQ(stretched[2].first, 2);
  EXPECT_EQ(stretched[198].first, 100);
  EXPECT_EQ(stretched[200].first, 0);

  // A sound recorded at 22,050 Hz plays at its own rate unless told otherwise; 0 goes back to it.
  const auto recorded = out.mixer.Add(Numbered(100, kRate / 2));
  out.mixer.SetFrequency(recorded, kRate);
  out.mixer.SetFrequency(recorded, 0);
  out.mixer.Play(recorded, false);
  EXPECT_EQ(out.Next(256)[198].first, 100);
}

// Between two frames the mixer interpolates; past the last frame a loop reads on into its
// first frame, and a sound that plays once holds its last one to the end. Checked frame by frame
// over several blocks, at three quarters of the rate (every quarter between frames) and at half
// (landing exactly on the last frame).
TEST(MixerPlayback, ALoopInterpolatesAcrossItsSeamAndASingleSoundHoldsItsLastFrame) {
  constexpr int kFrames = 5;
  for (const int quarters : {3, 2}) {
    for (const bool loop : {true, false}) {
      SCOPED_TRACE(std::to_string(quarters) + (loop ? " quarters, looping" : " quarters, once"));
      const double step = quarters / 4.0;
      Output out;
      const auto sound = out.mixer.Add(Numbered(kFrames));
      out.mixer.SetFrequency(sound, kRate * quarters / 4);
      out.mixer.Play(sound, loop);
      const int once = static_cast<int>(std::ceil(kFrames / step));
      const int heard = loop ? 3 * AudioMixdown::kBlockFrames + 17 : once;
      const auto got = out.Next(heard);
      for (int j = 0; j < heard; ++j) {
        const double position = step * j;
        const int index = static_cast<int>(position) % kFrames;
        const int next = index + 1 < kFrames ? index + 1 : (loop ? 0 : index);
        const double fraction = position - std::floor(position);
        const double want = (index + 1) + ((next + 1) - (index + 1)) * fraction;
        ASSERT_NEAR(got[static_cast<std::size_t>(j)].first, want, 0.51) << "frame " << j;
        ASSERT_NEAR(got[static_cast<std::size_t>(j)].second, -want, 0.51) << "frame " << j;
      }
      if (!loop) {
        EXPECT_EQ(out.Next(4)[0].first, 0);
        EXPECT_FALSE(out.mixer.IsPlaying(sound));
      }
    }
  }
}

TEST(MixerDuplicates, PlayOnTheirOwnFromTheSameSound) {
  Output out;
  const auto original = out.mixer.Add(Numbered(3000));
  out.mixer.SetVolume(original, -600);
  const auto copy = out.mixer.Duplicate(original);
  ASSERT_GE(copy, 0);
  ASSERT_NE(copy, original);
  // The copy starts with the original's settings, then goes its own way.
  EXPECT_EQ(out.mixer.Volume(copy), -600);
  out.mixer.SetVolume(copy, 0);
  out.mixer.SetPan(copy, 10000);
  EXPECT_EQ(out.mixer.Volume(original), -600);

  out.mixer.SetVolume(original, 0);
  out.mixer.Play(original, false);
  out.Next(1000);
  out.mixer.Play(copy, false);
  const auto both = out.Next(10);
  EXPECT_EQ(both[0].first, 1001);         // only the original on the left
  EXPECT_EQ(both[0].second, -1001 + -1);  // both on the right
  out.mixer.Stop(original);
  EXPECT_TRUE(out.mixer.IsPlaying(copy));
  EXPECT_EQ(out.Next(10)[0].second, -11);
}

TEST(MixerHandles, NoBufferAndUnknownBuffersAreIgnored) {
  Output out;
  const auto buffer = out.mixer.Add(Numbered(1000));
  for (const SoundDevice::Buffer bad : {-1, 7, 100000}) {
    out.mixer.Play(bad, true);
    out.mixer.Stop(bad);
    out.mixer.SetPosition(bad, 8);
    out.mixer.SetVolume(bad, -100);
    out.mixer.SetPan(bad, 100);
    out.mixer.SetFrequency(bad, 8000);
    EXPECT_FALSE(out.mixer.IsPlaying(bad));
    EXPECT_EQ(out.mixer.Volume(bad), -10000);
    EXPECT_EQ(out.mixer.Duplicate(bad), -1);
  }
  EXPECT_FALSE(out.mixer.IsPlaying(buffer));
  EXPECT_EQ(out.Next(16)[0].first, 0);
}

// --- Behind the mixer: the output limiter and the mixdown the audio callback runs ---

constexpr int kDelay = OutputLimiter::kLookAhead - 1;

// A tone of `frames` frames whose peaks reach `amplitude`, right side inverted, after `before`.
std::vector<float> Tone(int frames, double amplitude, double hz, std::vector<float> before = {}) {
  for (int f = 0; f < frames; ++f) {
    const auto v = static_cast<float>(amplitude * std::sin(2 * M_PI * hz * f / kRate));
    before.push_back(v);
    before.push_back(-v);
  }
  return before;
}

// Runs the signal through the limiter in blocks of `block` frames (the last one shorter), and
// notes the gain after each block.
std::vector<float> Limited(OutputLimiter& limiter, std::vector<float> stereo, int block,
                           std::vector<float>* gains = nullptr) {
  const int frames = static_cast<int>(stereo.size() / 2);
  for (int done = 0; done < frames; done += block) {
    limiter.Process(stereo.data() + 2 * done, std::min(block, frames - done));
    if (gains) gains->push_back(limiter.gain());
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

TEST(MixerLimiter, LoudPeaksLandOnTheCeilingWithTheGainEasedDownAndBackNotJumping) {
  OutputLimiter limiter(kRate);
  // Quiet, then three times full scale for a quarter of a second, then quiet again.
  const auto in =
      Tone(3 * kRate, 8000.0, 440.0, Tone(11025, 3 * 32767.0, 150.0, Tone(4410, 8000.0, 440.0)));
  std::vector<float> gains;  // after every block of 1024 frames
  const auto out = Limited(limiter, in, 1024, &gains);

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

  // Once the loud part has come out (in the 16th block) the gain only rises, and three seconds
  // later the quiet tone comes through untouched again.
  for (std::size_t i = 16; i < gains.size(); ++i) EXPECT_GE(gains[i], gains[i - 1]) << i;
  EXPECT_EQ(limiter.gain(), 1.0f);
  for (int f = frames - 1000; f < frames; ++f) ASSERT_EQ(out[2 * f], in[2 * (f - kDelay)]) << f;
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
