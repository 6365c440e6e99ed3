#include <gtest/gtest.h>

#include "support/game_fixture.h"

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/image_file.h"
#include "platform/sdl/fluid_music_player.h"
#include "platform/sdl/midi_sequence.h"
#include "platform/sdl/soundfont.h"

namespace zendor {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutVlq(Bytes& out, std::uint32_t value) {
  Bytes reversed{static_cast<std::uint8_t>(value & 0x7F)};
  while (value >>= 7) reversed.push_back(static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
  out.insert(out.end(), reversed.rbegin(), reversed.rend());
}

// One track: (delta ticks, message bytes) pairs, closed by the end-of-track event.
Bytes Track(const std::vector<std::pair<std::uint32_t, Bytes>>& events, std::uint32_t endDelta) {
  Bytes body;
  for (const auto& [delta, message] : events) {
    PutVlq(body, delta);
    body.insert(body.end(), message.begin(), message.end());
  }
  PutVlq(body, endDelta);
  body.insert(body.end(), {0xFF, 0x2F, 0x00});
  Bytes chunk{'M', 'T', 'r', 'k'};
  for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back((body.size() >> shift) & 0xFF);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

Bytes MidiFile(int format, int division, const std::vector<Bytes>& tracks) {
  Bytes file{'M',
             'T',
             'h',
             'd',
             0,
             0,
             0,
             6,
             0,
             static_cast<std::uint8_t>(format),
             0,
             static_cast<std::uint8_t>(tracks.size()),
             static_cast<std::uint8_t>(division >> 8),
             static_cast<std::uint8_t>(division & 0xFF)};
  for (const Bytes& track : tracks) file.insert(file.end(), track.begin(), track.end());
  return file;
}

constexpr int kRate = 44100;

TEST(MidiSequence, TempoChangesBecomeTimeAndTracksMergeInOrder) {
  const Bytes conductor = Track({{0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}},    // 500,000 us
                                 {96, {0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}}},  // 250,000 us
                                96);
  const Bytes notes = Track({{0, {0xC0, 5}},
                             {0, {0x90, 60, 100}},
                             {96, {62, 100}},  // running status
                             {96, {0x80, 60, 0}}},
                            0);
  std::string error;
  const auto sequence = ParseMidi(MidiFile(1, 96, {conductor, notes}), kRate, &error);
  ASSERT_TRUE(sequence) << error;
  ASSERT_EQ(sequence->events.size(), 4u);
  EXPECT_EQ(sequence->events[0].status, 0xC0);
  EXPECT_EQ(sequence->events[0].data1, 5);
  EXPECT_EQ(sequence->events[1].frame, 0u);
  // A quarter at 120 per minute is half a second; the next quarter at 240 is a quarter second.
  EXPECT_EQ(sequence->events[2].frame, 22050u);
  EXPECT_EQ(sequence->events[2].status, 0x90);
  EXPECT_EQ(sequence->events[2].data1, 62);
  EXPECT_EQ(sequence->events[3].frame, 33075u);
  EXPECT_EQ(sequence->lengthFrames, 33075u);
}

TEST(MidiSequence, BarsFollowTheTimeSignature) {
  // 3/4 at 120 per minute: a bar is a second and a half; four bars long.
  const Bytes track = Track({{0, {0xFF, 0x58, 0x04, 3, 2, 24, 8}}, {0, {0x90, 60, 90}}}, 4 * 288);
  const auto sequence = ParseMidi(MidiFile(0, 96, {track}), kRate, nullptr);
  ASSERT_TRUE(sequence);
  EXPECT_EQ(sequence->measureStarts, (std::vector<std::uint64_t>{0, 66150, 132300, 198450}));
  EXPECT_EQ(sequence->lengthFrames, 264600u);
}

TEST(MidiSequence, BrokenFilesAreRefusedWithTheReasonAndThePlace) {
  std::string error;
  EXPECT_FALSE(ParseMidi({'R', 'I', 'F', 'F', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, kRate, &error));
  EXPECT_NE(error.find("not a standard MIDI file"), std::string::npos) << error;

  Bytes cut = MidiFile(0, 96, {Track({{0, {0x90, 60, 90}}, {96, {0x80, 60, 0}}}, 0)});
  cut.resize(cut.size() - 5);
  EXPECT_FALSE(ParseMidi(cut, kRate, &error));
  EXPECT_NE(error.find("past the end"), std::string::npos) << error;
  EXPECT_NE(error.find("at byte 14"), std::string::npos) << error;

  EXPECT_FALSE(ParseMidi(MidiFile(2, 96, {Track({}, 0)}), kRate, &error));
  EXPECT_NE(error.find("format"), std::string::npos) << error;

  EXPECT_FALSE(ParseMidi(MidiFile(0, 96, {Track({{0, {60, 90}}}, 0)}), kRate, &error));
  EXPECT_NE(error.find("track 0: data byte without a status"), std::string::npos) << error;
}

// A bar of 4/4 at 120 per minute (two seconds): middle C on a piano for the first second.
Bytes OneNoteTheme() {
  return MidiFile(0, 96,
                  {Track({{0, {0xC0, 0}}, {0, {0x90, 60, 110}}, {192, {0x80, 60, 0}}}, 192)});
}

class ThemeFile {
 public:
  explicit ThemeFile(const Bytes& bytes)
      : path_(scratch_.path() /
              ("theme_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".mid")) {
    WriteWholeFile(path_, bytes);
  }
  std::string path() const { return path_.string(); }

 private:
  zendor::testing::ScratchFolder scratch_;
  std::filesystem::path path_;
};

// Loudness (root mean square, 16-bit scale) of the next `seconds` of music.
double Listen(FluidMusicPlayer& player, double seconds) {
  std::vector<float> block(2 * 1024);
  double sum = 0;
  long count = 0;
  for (long left = std::lround(seconds * kRate); left > 0; left -= 1024) {
    const int frames = static_cast<int>(std::min<long>(left, 1024));
    std::fill(block.begin(), block.end(), 0.0f);
    player.MixInto(block.data(), frames);
    for (int i = 0; i < 2 * frames; ++i) sum += block[i] * block[i];
    count += 2 * frames;
  }
  return std::sqrt(sum / static_cast<double>(count));
}

TEST(FluidMusicPlayer, WithoutASoundFontKeepsThemesQuietlyAndSaysSoOnce) {
  const ThemeFile theme(OneNoteTheme());
  ::testing::internal::CaptureStderr();
  FluidMusicPlayer first("/nonexistent/zendor-test.sf2");
  FluidMusicPlayer second("/nonexistent/zendor-test.sf2");
  EXPECT_FALSE(first.WaitUntilReady());
  EXPECT_FALSE(second.WaitUntilReady());
  const std::string said = ::testing::internal::GetCapturedStderr();
  // Once a run: an earlier test may already have had the word.
  EXPECT_EQ(said.find("music"), said.rfind("music")) << said;
  if (!said.empty()) {
    EXPECT_NE(said.find("/nonexistent/zendor-test.sf2"), std::string::npos) << said;
  }

  const auto segment = first.Load(theme.path());
  EXPECT_EQ(segment, 0);
  EXPECT_EQ(first.Load("/nonexistent/theme.mid"), -1);
  first.SetRepeats(segment, 0);
  const auto instance = first.Play(segment, 0);
  EXPECT_GE(instance, 0);
  EXPECT_EQ(first.Play(-1, 0), -1);
  EXPECT_EQ(Listen(first, 0.1), 0.0);
  first.Stop(segment, instance);

  for (int volume : {0, -500, -1234, -10000, 300}) {
    first.SetMasterVolume(volume);
    EXPECT_EQ(first.MasterVolume(), volume);
  }
}

// The rest need the SoundFont the game uses.
class FluidMusicPlayerWithSoundFont : public ::testing::Test {
 protected:
  void SetUp() override {
    soundFont_ = FindSoundFont(UsualSoundFontPlaces());
    if (!soundFont_) GTEST_SKIP() << "no General MIDI SoundFont installed";
    player_ = std::make_unique<FluidMusicPlayer>(*soundFont_);
    ASSERT_TRUE(player_->WaitUntilReady());
    segment_ = player_->Load(theme_.path());
    ASSERT_GE(segment_, 0);
  }

  static constexpr double kHeard = 50;  // clearly audible, on the 16-bit scale
  static constexpr double kQuiet = 2;

  std::optional<std::filesystem::path> soundFont_;
  std::unique_ptr<FluidMusicPlayer> player_;
  ThemeFile theme_{OneNoteTheme()};
  MusicPlayer::Segment segment_ = -1;
};

TEST_F(FluidMusicPlayerWithSoundFont, AThemeWithoutRepeatsPlaysOnceAndEnds) {
  player_->SetRepeats(segment_, 0);
  const auto instance = player_->Play(segment_, 0);
  EXPECT_GT(Listen(*player_, 0.5), kHeard);
  EXPECT_EQ(player_->CurrentInstance(), instance);
  Listen(*player_, 1.6);
  EXPECT_EQ(player_->CurrentInstance(), -1);
  Listen(*player_, 1.5);
  EXPECT_LT(Listen(*player_, 0.5), kQuiet);
  // Stopping an instance that has ended does nothing; playing again starts from the beginning.
  player_->Stop(segment_, instance);
  player_->Play(segment_, 0);
  EXPECT_GT(Listen(*player_, 0.5), kHeard);
}

TEST_F(FluidMusicPlayerWithSoundFont, ALoopingThemeGoesOnUntilThatInstanceIsStopped) {
  player_->SetRepeats(segment_, 0);
  player_->SetLoop(segment_, true);
  const auto instance = player_->Play(segment_, 0);
  Listen(*player_, 4.1);
  EXPECT_GT(Listen(*player_, 0.5), kHeard);  // the third time round
  player_->Stop(segment_, instance + 1);     // not the playing instance
  player_->Stop(segment_ + 1, instance);     // not the playing segment
  EXPECT_EQ(player_->CurrentInstance(), instance);
  player_->Stop(segment_, instance);
  EXPECT_EQ(player_->CurrentInstance(), -1);
  Listen(*player_, 3);
  EXPECT_LT(Listen(*player_, 0.5), kQuiet);
}

TEST_F(FluidMusicPlayerWithSoundFont, ANewThemeReplacesThePlayingOneAtOnceOrAtTheNextBar) {
  player_->SetLoop(segment_, true);
  const auto first = player_->Play(segment_, 0);
  Listen(*player_, 0.5);
  const auto second = player_->Play(segment_, FluidMusicPlayer::kStartAtMeasure);
  Listen(*player_, 1.4);
  EXPECT_EQ(player_->CurrentInstance(), first);  // the bar lasts two seconds
  Listen(*player_, 0.2);
  EXPECT_EQ(player_->CurrentInstance(), second);
  const auto third = player_->Play(segment_, 0);
  Listen(*player_, 0.05);
  EXPECT_EQ(player_->CurrentInstance(), third);
}

TEST_F(FluidMusicPlayerWithSoundFont, MasterVolumeFadesAndSilences) {
  player_->SetLoop(segment_, true);
  player_->Play(segment_, 0);
  const double full = Listen(*player_, 0.5);
  player_->SetMasterVolume(-600);
  Listen(*player_, 0.05);
  const double half = Listen(*player_, 0.2);
  EXPECT_LT(half, full * 0.7);
  EXPECT_GT(half, full * 0.3);
  player_->SetMasterVolume(-10000);
  Listen(*player_, 0.05);
  EXPECT_EQ(Listen(*player_, 0.2), 0.0);
  EXPECT_EQ(player_->MasterVolume(), -10000);
}

}  // namespace
}  // namespace zendor
