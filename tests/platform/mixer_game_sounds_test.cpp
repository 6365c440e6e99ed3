// The game's own sound effects, loaded by the game's start-up step onto the mixer the SDL back
// end plays them with, and driven by the operations the game issues.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "assets/sound_system.h"
#include "platform/headless/headless_platform.h"
#include "platform/image_file.h"
#include "platform/sdl/audio_mixdown.h"
#include "platform/sdl/mixer.h"
#include "platform/wav_file.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

constexpr int kRate = 44100;

// A stored effect file of the built program folder, its bytes restored as the game unpacks it.
std::vector<std::uint8_t> RestoredEffect(int n) {
  const std::string path =
      testing::GameFixture::ShippedGameFolder() + "SND/Efecto" + std::to_string(n) + ".SND";
  std::vector<std::uint8_t> bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
  for (auto& b : bytes) b = static_cast<std::uint8_t>(255 - b);
  return bytes;
}

// The effect's own frames, left and right in turn.
std::vector<std::int16_t> EffectFrames(int n) {
  const auto wav = ParseWav(RestoredEffect(n), nullptr);
  EXPECT_TRUE(wav && wav->channels == 2 && wav->bitsPerSample == 16 && wav->sampleRate == kRate);
  std::vector<std::int16_t> samples(wav ? wav->data.size() / 2 : 0);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(wav->data[2 * i] | (wav->data[2 * i + 1] << 8));
  }
  return samples;
}

// The headless back end, but with the mixer of the SDL back end as its sound device.
class MixingPlatform : public HeadlessPlatform {
 public:
  std::unique_ptr<SoundDevice> CreateSoundDevice() override {
    auto device = std::make_unique<Mixer>(kRate);
    mixer = device.get();
    return device;
  }
  Mixer* mixer = nullptr;
};

// The sound slots with the listed effects unpacked, and what they add to the output.
struct GameSounds {
  explicit GameSounds(std::initializer_list<int> effects) {
    for (int n : effects) {
      const auto bytes = RestoredEffect(n);
      temp.Write("snd" + std::to_string(n) + ".tmp", std::string(bytes.begin(), bytes.end()));
    }
    sound.LoadSoundsAndMusic(platform, true, false, temp.folder());
  }

  // The next frames of the effects alone, block by block as the audio callback takes them.
  std::vector<float> Mix(int frames) {
    std::vector<float> sum(2 * static_cast<std::size_t>(frames), 0.0f);
    for (int done = 0; done < frames; done += AudioMixdown::kBlockFrames) {
      const int block = std::min(frames - done, AudioMixdown::kBlockFrames);
      platform.mixer->MixInto(sum.data() + 2 * done, block);
    }
    return sum;
  }
  std::vector<std::int16_t> Next(int frames) {
    std::vector<std::int16_t> out;
    for (const float v : Mix(frames)) out.push_back(static_cast<std::int16_t>(std::lrint(v)));
    return out;
  }

  testing::ScratchFolder temp;
  MixingPlatform platform;
  testing::RecordingTracer tracer;
  SoundSystem sound{tracer};
};

// The first `count` frames of `out` against the effect's frames from `from` on (round its end),
// each side scaled by its level or not looked at (nullopt): the worst difference in 16-bit steps.
double WorstMismatch(const std::vector<std::int16_t>& out, int count,
                     const std::vector<std::int16_t>& effect, int from, std::optional<int> leftDb,
                     std::optional<int> rightDb) {
  const std::size_t length = effect.size() / 2;
  double worst = 0;
  for (int i = 0; i < count; ++i) {
    const std::size_t f = static_cast<std::size_t>(from + i) % length;
    for (int side = 0; side < 2; ++side) {
      const std::optional<int> db = side == 0 ? leftDb : rightDb;
      if (!db) continue;
      const double gain = *db <= -10000 ? 0.0 : std::pow(10.0, *db / 2000.0);
      const double want = effect[2 * f + static_cast<std::size_t>(side)] * gain;
      worst = std::max(worst, std::fabs(out[2 * static_cast<std::size_t>(i) + side] - want));
    }
  }
  return worst;
}

bool Silent(const std::vector<std::int16_t>& out) {
  return std::all_of(out.begin(), out.end(), [](std::int16_t v) { return v == 0; });
}

int LastSoundingFrame(const std::vector<std::int16_t>& out) {
  for (int f = static_cast<int>(out.size() / 2) - 1; f >= 0; --f) {
    if (out[2 * f] != 0 || out[2 * f + 1] != 0) return f;
  }
  return -1;
}

TEST(MixerGameSounds, TheLavaLoopFollowsTheDecibelCurvesOfVolumeAndPan) {
  const auto lava = EffectFrames(31);
  struct Case {
    int volume, pan;
    int leftDb, rightDb;
  };
  const Case cases[] = {
      {0, 0, 0, 0},
      {-600, 0, -600, -600},
      {-10000, 0, -10000, -10000},
      {0, 10000, -10000, 0},
      {0, -10000, 0, -10000},
      {0, 600, -600, 0},
      {-600, -600, -600, -1200},
      {-9000, 10000, -10000, -9000},
  };
  for (const Case& c : cases) {
    GameSounds s{31};
    s.sound.SetVolume(31, c.volume);
    s.sound.SetPan(31, c.pan);
    s.sound.Play(31, true);
    const auto out = s.Next(4096);
    EXPECT_LE(WorstMismatch(out, 4096, lava, 0, c.leftDb, c.rightDb), 1.0)
        << "volume " << c.volume << " pan " << c.pan;
    if (c.leftDb <= -10000 && c.rightDb <= -10000) {
      EXPECT_TRUE(Silent(out));  // exactly, not just very quiet
    }
    EXPECT_TRUE(s.sound.IsPlaying(31));
  }
}

TEST(MixerGameSounds, ASilencedLoopRunsOnAndComesBackWhereItHasGotTo) {
  const auto lava = EffectFrames(31);
  const int length = static_cast<int>(lava.size() / 2);
  GameSounds s{31};
  s.sound.Play(31, true);
  s.Next(1024);
  s.sound.SetVolume(31, -10000);
  s.Next(1024);  // the level glides down over this block
  EXPECT_TRUE(Silent(s.Next(length)));
  EXPECT_TRUE(s.sound.IsPlaying(31));
  s.sound.SetVolume(31, 0);
  s.Next(1024);  // and back up over this one
  // Round the end of the sound and on from its beginning, at full level.
  const auto out = s.Next(2048);
  EXPECT_LE(WorstMismatch(out, 2048, lava, 2048 + length + 1024, 0, 0), 1.0);
}

TEST(MixerGameSounds, StopKeepsThePlaceRewindGoesBackAndAOncePlayEndsByItself) {
  const auto chime = EffectFrames(0);
  const int length = static_cast<int>(chime.size() / 2);
  GameSounds s{0};
  s.sound.Play(0, false);
  s.Next(5000);
  s.sound.Stop(0);
  EXPECT_TRUE(Silent(s.Next(3000)));
  s.sound.Play(0, false);
  EXPECT_LE(WorstMismatch(s.Next(2000), 2000, chime, 5000, 0, 0), 1.0);
  // Playing it again while it plays changes nothing.
  s.sound.Play(0, false);
  EXPECT_LE(WorstMismatch(s.Next(2000), 2000, chime, 7000, 0, 0), 1.0);
  // The game's restart: stop, rewind, play.
  s.sound.Stop(0);
  s.sound.Rewind(0);
  s.sound.Play(0, false);
  const auto whole = s.Next(length + 4096);
  EXPECT_LE(WorstMismatch(whole, length, chime, 0, 0, 0), 1.0);
  EXPECT_TRUE(Silent(std::vector<std::int16_t>(whole.begin() + 2 * length, whole.end())));
  EXPECT_FALSE(s.sound.IsPlaying(0));
}

TEST(MixerGameSounds, TheShotAtTwiceTheRateLastsHalfAsLong) {
  GameSounds s{12};
  // As the shot plays it: stop, rewind, its step's rate, once.
  const auto fire = [&s](int hz) {
    s.sound.Stop(12);
    s.sound.Rewind(12);
    s.sound.SetFrequency(12, hz);
    s.sound.Play(12, false);
    return LastSoundingFrame(s.Next(40000)) + 1;
  };
  const int ownRate = fire(0);
  const int doubled = fire(2 * kRate);
  const int fourThousand = fire(4000);
  const int eightThousand = fire(8000);
  EXPECT_EQ(ownRate, LastSoundingFrame(EffectFrames(12)) + 1);
  EXPECT_NEAR(doubled, ownRate / 2.0, 1.0);
  EXPECT_NEAR(eightThousand, fourThousand / 2.0, 1.0);
  // Each frame of the sound stretched over 11 of the output (its quietest last ones round to 0).
  EXPECT_NEAR(fourThousand, ownRate * kRate / 4000.0, kRate / 4000.0);
}

TEST(MixerGameSounds, EnemyVoicesCopiedFromOneEffectPlayIndependently) {
  const auto buzz = EffectFrames(23);
  GameSounds s{23};
  s.sound.Duplicate(100, 23);
  s.sound.Duplicate(105, 23);
  s.sound.SetPan(100, -10000);  // one enemy far left, the other far right
  s.sound.SetPan(105, 10000);
  s.sound.Play(100, false);
  s.Next(1000);
  s.sound.Play(105, false);
  const auto both = s.Next(3000);
  // Left: only the first voice, 1000 frames in. Right: only the second, from its beginning.
  EXPECT_LE(WorstMismatch(both, 3000, buzz, 1000, 0, std::nullopt), 1.0);
  EXPECT_LE(WorstMismatch(both, 3000, buzz, 0, std::nullopt, 0), 1.0);
  EXPECT_FALSE(s.sound.IsPlaying(23));  // the original was never started
  s.sound.Stop(100);
  EXPECT_TRUE(s.sound.IsPlaying(105));
  EXPECT_LE(WorstMismatch(s.Next(1000), 1000, buzz, 3000, -10000, 0), 1.0);
}

TEST(MixerGameSounds, EnemyVoicesStillSoundAfterAThousandGames) {
  GameSounds s{23, 24, 25, 26, 27};
  const int voices[] = {23, 27, 25, 24, 26};
  for (int game = 0; game < 1000; ++game) {
    for (int n = 100; n < 160; ++n) s.sound.Duplicate(n, voices[(n - 100) % 5]);  // 12 slots
    s.sound.Play(100 + game % 60, false);
  }
  // The last game's voice, and nothing left over from the games before.
  const auto out = s.Next(2048);
  EXPECT_TRUE(s.sound.IsPlaying(100 + 999 % 60));
  EXPECT_LE(WorstMismatch(out, 2048, EffectFrames(voices[(999 % 60) % 5]), 0, 0, 0), 1.0);
}

TEST(MixerGameSounds, WithOnlyEffectsOneAndThirtyOneEveryOtherEntryIsSilent) {
  GameSounds s{1, 31};
  for (int n : {0, 2, 12, 13, 30, 255}) s.sound.Play(n, n == 30);
  s.sound.Duplicate(100, 23);
  s.sound.Play(100, false);
  s.sound.SetVolume(13, -100);
  s.sound.Rewind(12);
  EXPECT_TRUE(Silent(s.Next(4096)));
  EXPECT_FALSE(s.sound.IsPlaying(30));
  s.sound.Play(1, false);
  s.sound.Play(31, true);
  EXPECT_FALSE(Silent(s.Next(4096)));
  EXPECT_TRUE(s.sound.IsPlaying(1));
  EXPECT_TRUE(s.sound.IsPlaying(31));
}

TEST(MixerGameSounds, TheHerosExplosionStaysUnderFullScaleWithItsShapeKept) {
  // The mixdown the audio callback runs, next to the plain sum of the same voices.
  GameSounds heard{13, 19, 20};
  GameSounds summed{13, 19, 20};
  AudioMixdown mixdown(kRate);
  mixdown.SetEffects(heard.platform.mixer);
  for (GameSounds* s : {&heard, &summed}) {
    for (int n : {13, 19, 20}) s->sound.Play(n, false);
  }
  const int frames = 2 * kRate;
  std::vector<std::int16_t> out(2 * frames);
  mixdown.Render(out.data(), frames);
  const std::vector<float> sum = summed.Mix(frames);

  const float loudest = std::fabs(*std::max_element(
      sum.begin(), sum.end(), [](float a, float b) { return std::fabs(a) < std::fabs(b); }));
  ASSERT_GT(loudest, 32767.0f) << "the three effects no longer overload the mix together";
  int wrongSign = 0;
  int fullScale = 0;
  int peak = 0;
  for (int f = AudioMixdown::kDelayFrames; f < frames; ++f) {
    for (int side = 0; side < 2; ++side) {
      const int v = out[2 * f + side];
      const float before = sum[2 * (f - AudioMixdown::kDelayFrames) + side];
      peak = std::max(peak, std::abs(v));
      if (v >= 32767 || v <= -32768) ++fullScale;
      if (std::fabs(before) > 1000.0f && (v > 0) != (before > 0)) ++wrongSign;
    }
  }
  EXPECT_EQ(fullScale, 0);
  EXPECT_EQ(wrongSign, 0);  // nothing wrapped round
  EXPECT_LE(peak, static_cast<int>(OutputLimiter::kCeiling));
  EXPECT_GT(peak, 30000);  // turned down only as far as it has to be
}

}  // namespace
}  // namespace zendor
