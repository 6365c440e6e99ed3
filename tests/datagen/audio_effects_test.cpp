// The game's sound effects as the game will load them: format, loudness, length, clean edges,
// seamless loops, and the laser step that is only ever heard slowed down.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "datagen/datagen.h"
#include "platform/wav_file.h"

namespace zendor {
namespace {

struct Expected {
  double minSeconds;
  double maxSeconds;
  bool loops;
};

// Every effect the game plays, with the length it may have.
const std::map<int, Expected>& ExpectedEffects() {
  static const std::map<int, Expected> expected = {
      {0, {0.1, 1.0, false}},   {1, {0.03, 0.3, false}},   {2, {0.005, 0.08, false}},
      {11, {0.05, 0.3, false}}, {12, {0.025, 0.1, false}}, {13, {0.2, 1.0, false}},
      {17, {0.1, 0.4, false}},  {18, {0.2, 0.8, false}},   {19, {0.3, 1.2, false}},
      {20, {0.3, 1.2, false}},  {22, {0.45, 0.75, false}}, {23, {0.3, 0.8, false}},
      {24, {0.3, 0.8, false}},  {25, {0.3, 0.8, false}},   {26, {0.3, 0.8, false}},
      {27, {0.3, 0.8, false}},  {30, {4.0, 8.0, true}},    {31, {2.0, 4.0, true}},
  };
  return expected;
}

struct Decoded {
  WavSound wav;
  std::vector<double> left, right;  // -1..1
  double seconds() const { return static_cast<double>(left.size()) / wav.sampleRate; }
};

const std::map<int, Decoded>& Effects() {
  static const std::map<int, Decoded> effects = [] {
    std::map<int, Decoded> out;
    for (const auto& file : datagen::MakeSoundEffects()) {
      std::string error;
      auto wav = ParseWav(file.bytes, &error);
      if (!wav) throw std::runtime_error("effect " + std::to_string(file.number) + ": " + error);
      Decoded d{*wav, {}, {}};
      for (std::size_t i = 0; i + 3 < wav->data.size(); i += 4) {
        const auto sample = [&](std::size_t at) {
          return static_cast<std::int16_t>(wav->data[at] | (wav->data[at + 1] << 8)) / 32768.0;
        };
        d.left.push_back(sample(i));
        d.right.push_back(sample(i + 2));
      }
      out.emplace(file.number, std::move(d));
    }
    return out;
  }();
  return effects;
}

double Dbfs(double level) {
  return 20.0 * std::log10(std::max(level, 1e-9));
}

double Rms(const std::vector<double>& s, std::size_t from, std::size_t count) {
  double sum = 0.0;
  const std::size_t end = std::min(s.size(), from + count);
  for (std::size_t i = from; i < end; ++i) sum += s[i] * s[i];
  return end > from ? std::sqrt(sum / static_cast<double>(end - from)) : 0.0;
}

// What the mixer makes of a buffer played at `rate` samples per second: linear interpolation
// into the 44,100 Hz output, `seconds` of it.
std::vector<double> PlayedAt(const std::vector<double>& recording, int rate, double seconds) {
  std::vector<double> out;
  const double step = rate / 44100.0;
  for (int i = 0; i < static_cast<int>(seconds * 44100); ++i) {
    const double at = i * step;
    const std::size_t whole = static_cast<std::size_t>(at);
    if (whole + 1 >= recording.size()) break;
    const double frac = at - static_cast<double>(whole);
    out.push_back(recording[whole] * (1.0 - frac) + recording[whole + 1] * frac);
  }
  return out;
}

TEST(SoundEffects, EveryEffectTheGamePlaysIsMadeAndNoOther) {
  std::set<int> made, wanted;
  for (const auto& [number, effect] : Effects()) made.insert(number);
  for (const auto& [number, expected] : ExpectedEffects()) wanted.insert(number);
  EXPECT_EQ(made, wanted);
}

TEST(SoundEffects, EachIsSixteenBitStereoAtTheMixingRateWithinItsLength) {
  for (const auto& [number, effect] : Effects()) {
    SCOPED_TRACE("effect " + std::to_string(number));
    EXPECT_EQ(effect.wav.channels, 2);
    EXPECT_EQ(effect.wav.bitsPerSample, 16);
    EXPECT_EQ(effect.wav.sampleRate, 44100);
    const Expected& expected = ExpectedEffects().at(number);
    EXPECT_GE(effect.seconds(), expected.minSeconds);
    EXPECT_LE(effect.seconds(), expected.maxSeconds);
  }
}

TEST(SoundEffects, EachPeaksJustUnderFullScaleWithoutClipping) {
  for (const auto& [number, effect] : Effects()) {
    SCOPED_TRACE("effect " + std::to_string(number));
    double peak = 0.0;
    for (const auto* side : {&effect.left, &effect.right})
      for (double s : *side) peak = std::max(peak, std::fabs(s));
    EXPECT_NEAR(Dbfs(peak), -1.0, 0.3);
    EXPECT_GT(Dbfs(Rms(effect.left, 0, effect.left.size())), -40.0) << "practically silent";
  }
}

TEST(SoundEffects, OneShotsStartAndEndOnSilence) {
  for (const auto& [number, effect] : Effects()) {
    if (ExpectedEffects().at(number).loops) continue;
    SCOPED_TRACE("effect " + std::to_string(number));
    for (const auto* side : {&effect.left, &effect.right}) {
      EXPECT_LT(std::fabs(side->front()), 0.002);
      EXPECT_LT(std::fabs(side->back()), 0.002);
    }
  }
}

TEST(SoundEffects, LoopsJoinAsSmoothlyAsTheyFlow) {
  for (const int number : {30, 31}) {
    const Decoded& effect = Effects().at(number);
    for (const auto* side : {&effect.left, &effect.right}) {
      double sumSquares = 0.0;
      for (std::size_t i = 1; i < side->size(); ++i)
        sumSquares += std::pow((*side)[i] - (*side)[i - 1], 2);
      const double typicalStep = std::sqrt(sumSquares / static_cast<double>(side->size() - 1));
      const double joinStep = std::fabs(side->front() - side->back());
      EXPECT_LE(joinStep, 3.0 * typicalStep) << "effect " << number << " clicks where it loops";
    }
  }
}

TEST(SoundEffects, EnemyVoicesLeaveQuietBetweenCalls) {
  // Each enemy repeats its voice back to back; without a gap it would drone.
  for (const int number : {23, 24, 25, 26, 27}) {
    const Decoded& effect = Effects().at(number);
    const std::size_t window = 441;  // 10 ms
    std::vector<double> levels;
    for (std::size_t at = 0; at + window <= effect.left.size(); at += window)
      levels.push_back(Rms(effect.left, at, window));
    const double loudest = *std::max_element(levels.begin(), levels.end());
    const auto quiet =
        std::count_if(levels.begin(), levels.end(), [&](double l) { return l < loudest / 30.0; });
    EXPECT_GE(static_cast<double>(quiet) / static_cast<double>(levels.size()), 0.2)
        << "effect " << number;
  }
}

TEST(SoundEffects, LaserStepIsHeardAtEveryRateTheShotPlaysIt) {
  // Right-facing shots play it at 1,000..6,000 samples per second, left-facing ones at
  // 8,000..13,000, and restart it after about 75 ms.
  const Decoded& step = Effects().at(12);
  for (int rate = 1000; rate <= 13000; rate += 1000) {
    if (rate == 7000) continue;
    const std::vector<double> heard = PlayedAt(step.left, rate, 0.075);
    EXPECT_GT(Dbfs(Rms(heard, 0, heard.size())), -15.0) << "at " << rate << " Hz";
  }
}

TEST(SoundEffects, WholeSetIsSmallAndAlwaysTheSame) {
  const auto first = datagen::MakeSoundEffects();
  const auto second = datagen::MakeSoundEffects();
  ASSERT_EQ(first.size(), second.size());
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].number, second[i].number);
    EXPECT_TRUE(first[i].bytes == second[i].bytes)
        << "effect " << first[i].number << " changed between runs";
    bytes += first[i].bytes.size();
  }
  EXPECT_LT(bytes, 10u * 1024 * 1024);
}

}  // namespace
}  // namespace zendor
