#include <gtest/gtest.h>

#include "support/game_fixture.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/image_file.h"
#include "platform/sdl/audio_mixdown.h"
#include "platform/sdl/mixer.h"
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

// A steady stereo level, for measuring gains.
WavSound Steady(int frames, std::int16_t level) {
  return *ParseWav(EncodeWav16(std::vector<std::int16_t>(2 * frames, level), 2, kRate), nullptr);
}

// What the mixer adds to the output, block by block as the audio callback asks for it, rounded
// to 16 bits (the limiter behind it is tested on its own).
struct Output {
  Mixer mixer{kRate};

  // The next `frames` frames, as left/right pairs.
  std::vector<std::int16_t> Next(int frames) {
    std::vector<float> sum(2 * static_cast<std::size_t>(frames), 0.0f);
    for (int done = 0; done < frames; done += AudioMixdown::kBlockFrames) {
      mixer.MixInto(sum.data() + 2 * done, std::min(frames - done, AudioMixdown::kBlockFrames));
    }
    std::vector<std::int16_t> out;
    for (const float v : sum) out.push_back(static_cast<std::int16_t>(std::lrint(v)));
    return out;
  }
};

std::int16_t Left(const std::vector<std::int16_t>& out, int frame) {
  return out[2 * frame];
}
std::int16_t Right(const std::vector<std::int16_t>& out, int frame) {
  return out[2 * frame + 1];
}

double Expected(int level, int hundredthsDb) {
  return level * std::pow(10.0, hundredthsDb / 2000.0);
}

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
  for (const Case& c : cases) {
    Output out;
    const auto buffer = out.mixer.Add(Steady(4096, 16000));
    out.mixer.SetVolume(buffer, c.volume);
    out.mixer.SetPan(buffer, c.pan);
    out.mixer.Play(buffer, false);
    const auto block = out.Next(256);
    const auto describe = ::testing::Message() << "volume " << c.volume << " pan " << c.pan;
    for (int side = 0; side < 2; ++side) {
      const int db = side == 0 ? c.leftDb : c.rightDb;
      const std::int16_t heard = side == 0 ? Left(block, 100) : Right(block, 100);
      if (db <= -10000) {
        EXPECT_EQ(heard, 0) << describe << " side " << side;  // exactly silent
      } else {
        EXPECT_NEAR(heard, Expected(16000, db), 1.0) << describe << " side " << side;
      }
    }
  }
}

TEST(MixerLevels, ChangesWhilePlayingGlideInOneBlockAndSilenceDoesNotStop) {
  Output out;
  const auto buffer = out.mixer.Add(Steady(44100, 16000));
  out.mixer.Play(buffer, true);
  EXPECT_EQ(Left(out.Next(64), 10), 16000);
  out.mixer.SetVolume(buffer, -10000);
  const auto glide = out.Next(64);
  EXPECT_LT(Left(glide, 0), 16000);
  EXPECT_GT(Left(glide, 0), 0);
  EXPECT_EQ(Left(glide, 63), 0);
  EXPECT_EQ(Left(out.Next(64), 0), 0);
  EXPECT_TRUE(out.mixer.IsPlaying(buffer));
  EXPECT_EQ(out.mixer.Volume(buffer), -10000);
  out.mixer.SetVolume(buffer, 0);
  out.Next(64);
  EXPECT_EQ(Left(out.Next(64), 0), 16000);
  // Out-of-range levels are held to the device's range.
  out.mixer.SetVolume(buffer, 300);
  EXPECT_EQ(out.mixer.Volume(buffer), 0);
  out.mixer.SetVolume(buffer, -20000);
  EXPECT_EQ(out.mixer.Volume(buffer), -10000);
}

TEST(MixerPlayback, OnceStopsAtTheEndAndLoopingGoesRound) {
  Output out;
  const auto once = out.mixer.Add(Numbered(1000));
  out.mixer.Play(once, false);
  EXPECT_TRUE(out.mixer.IsPlaying(once));
  const auto block = out.Next(1024);
  EXPECT_EQ(Left(block, 0), 1);
  EXPECT_EQ(Right(block, 999), -1000);
  EXPECT_EQ(Left(block, 1000), 0);
  EXPECT_FALSE(out.mixer.IsPlaying(once));
  // A sound that played to its end starts from its beginning again.
  out.mixer.Play(once, false);
  EXPECT_EQ(Left(out.Next(4), 0), 1);

  Output looped;
  const auto loop = looped.mixer.Add(Numbered(1000));
  looped.mixer.Play(loop, true);
  const auto round = looped.Next(2500);
  EXPECT_EQ(Left(round, 999), 1000);
  EXPECT_EQ(Left(round, 1000), 1);
  EXPECT_EQ(Left(round, 2499), 500);
  EXPECT_TRUE(looped.mixer.IsPlaying(loop));
}

TEST(MixerPlayback, StopKeepsThePlaceAndRewindGoesBack) {
  Output out;
  const auto buffer = out.mixer.Add(Numbered(5000));
  out.mixer.Play(buffer, false);
  out.Next(300);
  out.mixer.Stop(buffer);
  EXPECT_FALSE(out.mixer.IsPlaying(buffer));
  EXPECT_EQ(Left(out.Next(100), 0), 0);
  out.mixer.Play(buffer, false);
  EXPECT_EQ(Left(out.Next(10), 0), 301);  // on from where it stopped
  // The game's restart: stop, rewind, play.
  out.mixer.Stop(buffer);
  out.mixer.SetPosition(buffer, 0);
  out.mixer.Play(buffer, false);
  EXPECT_EQ(Left(out.Next(10), 0), 1);
  // Positions are bytes of the file's own format: 4 per frame here.
  out.mixer.SetPosition(buffer, 4 * 2000);
  EXPECT_EQ(Left(out.Next(10), 0), 2001);
  // Past the end is the end.
  out.mixer.SetPosition(buffer, 1u << 30);
  out.Next(10);
  EXPECT_FALSE(out.mixer.IsPlaying(buffer));
}

TEST(MixerPlayback, PlayingAPlayingBufferDoesNotRestartIt) {
  Output out;
  const auto buffer = out.mixer.Add(Numbered(5000));
  out.mixer.Play(buffer, false);
  out.Next(100);
  out.mixer.Play(buffer, false);
  EXPECT_EQ(Left(out.Next(10), 0), 101);
  // ...but it does take the new looping choice.
  out.mixer.Play(buffer, true);
  const auto rest = out.Next(5000);
  EXPECT_EQ(Left(rest, 4889), 5000);
  EXPECT_EQ(Left(rest, 4890), 1);
}

TEST(MixerPlayback, FrequencyResamplesAndDoublingHalvesTheDuration) {
  Output out;
  const auto buffer = out.mixer.Add(Steady(4410, 8000));
  out.mixer.SetFrequency(buffer, 88200);
  out.mixer.Play(buffer, false);
  const auto block = out.Next(4410);
  EXPECT_EQ(Left(block, 2204), 8000);
  EXPECT_EQ(Left(block, 2205), 0);
  EXPECT_FALSE(out.mixer.IsPlaying(buffer));

  // Half the rate: twice as long, with the frames in between interpolated.
  const auto slow = out.mixer.Add(Numbered(100));
  out.mixer.SetFrequency(slow, 22050);
  out.mixer.Play(slow, false);
  const auto stretched = out.Next(256);
  EXPECT_EQ(Left(stretched, 0), 1);
  EXPECT_NEAR(Left(stretched, 1), 1.5, 0.51);
  EXPECT_EQ(Left(stretched, 2), 2);
  EXPECT_EQ(Left(stretched, 198), 100);
  EXPECT_EQ(Left(stretched, 200), 0);

  // A sound recorded at 22,050 Hz plays at its own rate unless told otherwise; 0 goes back to it.
  const auto recorded = out.mixer.Add(Numbered(100, 22050));
  out.mixer.SetFrequency(recorded, 44100);
  out.mixer.SetFrequency(recorded, 0);
  out.mixer.Play(recorded, false);
  EXPECT_EQ(Left(out.Next(256), 198), 100);
}

TEST(MixerPlayback, EightBitMonoSoundsPlayOnBothSides) {
  // 8-bit PCM is unsigned around 128.
  std::vector<std::uint8_t> wav = EncodeWav16({0}, 1, 11025);
  wav[34] = 8;  // bits per sample
  wav[32] = 1;  // block align
  wav.resize(44);
  const std::uint8_t samples[] = {128, 192, 64, 255};
  wav.insert(wav.end(), std::begin(samples), std::end(samples));
  wav[40] = 4;  // data chunk size
  wav[4] = static_cast<std::uint8_t>(36 + 4);
  const auto sound = ParseWav(wav, nullptr);
  ASSERT_TRUE(sound);
  Output out;
  const auto buffer = out.mixer.Add(*sound);
  out.mixer.SetFrequency(buffer, 44100);
  out.mixer.SetPosition(buffer, 1);  // one byte is one frame here
  out.mixer.Play(buffer, false);
  const auto block = out.Next(8);
  EXPECT_EQ(Left(block, 0), 64 * 256);
  EXPECT_EQ(Right(block, 0), 64 * 256);
  EXPECT_EQ(Left(block, 1), -64 * 256);
  EXPECT_EQ(Left(block, 2), 127 * 256);
  EXPECT_EQ(Left(block, 3), 0);
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
  EXPECT_EQ(Left(both, 0), 1001);         // only the original on the left
  EXPECT_EQ(Right(both, 0), -1001 + -1);  // both on the right
  out.mixer.Stop(original);
  EXPECT_TRUE(out.mixer.IsPlaying(copy));
  EXPECT_EQ(Right(out.Next(10), 0), -11);
  // A copy of a copy still shares the sound.
  const auto third = out.mixer.Duplicate(copy);
  out.mixer.SetPan(third, 0);
  out.mixer.Play(third, false);
  EXPECT_EQ(Left(out.Next(1), 0), 1);
}

TEST(MixerHandles, NoBufferAndUnknownBuffersAreIgnored) {
  Output out;
  const auto buffer = out.mixer.Add(Steady(1000, 1000));
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
  EXPECT_EQ(Left(out.Next(16), 0), 0);
}

TEST(MixerHandles, LoadsWavFilesAndRefusesWhatItCannotPlay) {
  const zendor::testing::ScratchFolder scratch;
  const auto folder = scratch.path();
  const auto good = folder / "good.wav";
  const auto bad = folder / "bad.wav";
  ASSERT_TRUE(WriteWholeFile(good, EncodeWav16({100, -100, 200, -200}, 2, kRate)));
  ASSERT_TRUE(WriteWholeFile(bad, {'R', 'I', 'F', 'F', 0, 0}));
  Mixer mixer;
  EXPECT_EQ(mixer.Load(good.string()), 0);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(mixer.Load(bad.string()), -1);
  EXPECT_EQ(mixer.Load((folder / "missing.wav").string()), -1);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("bad.wav"), std::string::npos) << said;      // a broken file is named
  EXPECT_EQ(said.find("missing.wav"), std::string::npos) << said;  // a missing one is normal
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zendor
