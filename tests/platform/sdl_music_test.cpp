#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "platform/midi_sequence.h"
#include "platform/sdl/fluid_music_player.h"
#include "platform/sdl/soundfont.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kRate = 44100;

void PutBigEndian(Bytes& out, std::uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back((value >> shift) & 0xFF);
}

// One track: (delta ticks, message bytes) pairs, closed by the end-of-track event.
Bytes Track(const std::vector<std::pair<std::uint32_t, Bytes>>& events, std::uint32_t endDelta) {
  Bytes body;
  const auto put = [&body](std::uint32_t delta, const Bytes& message) {
    Bytes vlq{static_cast<std::uint8_t>(delta & 0x7F)};
    while (delta >>= 7) vlq.insert(vlq.begin(), static_cast<std::uint8_t>(0x80 | (delta & 0x7F)));
    body.insert(body.end(), vlq.begin(), vlq.end());
    body.insert(body.end(), message.begin(), message.end());
  };
  for (const auto& [delta, message] : events) put(delta, message);
  put(endDelta, {0xFF, 0x2F, 0x00});
  Bytes chunk{'M', 'T', 'r', 'k'};
  PutBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

Bytes MidiFile(int format, int division, const std::vector<Bytes>& tracks) {
  Bytes file{'M', 'T', 'h', 'd', 0, 0, 0, 6};
  for (const int v : {format, static_cast<int>(tracks.size()), division}) PutBigEndian(file, v, 2);
  for (const Bytes& track : tracks) file.insert(file.end(), track.begin(), track.end());
  return file;
}

TEST(MidiSequence, TempoChangesBecomeTimeTracksMergeInOrderAndBarsFollowTheMetre) {
  const Bytes conductor = Track({{0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}},  // 500,000 us
                                 {0, {0xFF, 0x58, 0x04, 3, 2, 24, 8}},       // 3/4
                                 {96, {0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}}},
                                4 * 288 - 96);  // 250,000 us to the end of the fourth bar
  const Bytes notes = Track({{0, {0xC0, 5}},
                             {0, {0x90, 60, 100}},
                             {96, {62, 100}},  // running status
                             {96, {0x80, 60, 0}}},
                            0);
  std::string error;
  const auto sequence = ParseMidi(MidiFile(1, 96, {conductor, notes}), kRate, &error);
  ASSERT_TRUE(sequence) << error;
  // A quarter at 120 per minute is half a second; the next quarter at 240 is a quarter second.
  std::vector<std::array<std::uint64_t, 3>> events;  // frame, status, first data byte
  for (const MidiEvent& e : sequence->events) events.push_back({e.frame, e.status, e.data1});
  EXPECT_EQ(events, (std::vector<std::array<std::uint64_t, 3>>{
                        {0, 0xC0, 5}, {0, 0x90, 60}, {22050, 0x90, 62}, {33075, 0x80, 60}}));
  // Bars of three quarters: the first lasts a second (one quarter at 120, two at 240), the rest
  // three quarters of a second.
  EXPECT_EQ(sequence->measureStarts, (std::vector<std::uint64_t>{0, 44100, 77175, 110250}));
  EXPECT_EQ(sequence->lengthFrames, 143325u);
}

TEST(MidiSequence, BrokenFilesAreRefusedWithTheReasonAndThePlace) {
  Bytes cut = MidiFile(0, 96, {Track({{0, {0x90, 60, 90}}, {96, {0x80, 60, 0}}}, 0)});
  cut.resize(cut.size() - 5);
  const std::pair<Bytes, std::vector<const char*>> cases[] = {
      {{'R', 'I', 'F', 'F', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {"not a standard MIDI file"}},
      {cut, {"past the end", "at byte 14"}},
      {MidiFile(2, 96, {Track({}, 0)}), {"format"}},
      {MidiFile(0, 96, {Track({{0, {60, 90}}}, 0)}), {"track 0: data byte without a status"}},
  };
  for (const auto& [bytes, reasons] : cases) {
    std::string error;
    EXPECT_FALSE(ParseMidi(bytes, kRate, &error));
    for (const char* reason : reasons) EXPECT_NE(error.find(reason), std::string::npos) << error;
  }
}

// A bar of 4/4 at 120 per minute (two seconds): middle C on a piano for the first second.
Bytes OneNoteTheme() {
  return MidiFile(0, 96,
                  {Track({{0, {0xC0, 0}}, {0, {0x90, 60, 110}}, {192, {0x80, 60, 0}}}, 192)});
}

// Loudness (root mean square, 16-bit scale) of the next `seconds` of music.
double Listen(FluidMusicPlayer& player, double seconds) {
  const auto frames = static_cast<int>(std::lround(seconds * kRate));
  std::vector<float> heard(2 * static_cast<std::size_t>(frames), 0.0f);
  for (int done = 0; done < frames; done += 1024) {
    player.MixInto(heard.data() + 2 * done, std::min(1024, frames - done));
  }
  double sum = 0;
  for (const float v : heard) sum += v * v;
  return std::sqrt(sum / static_cast<double>(heard.size()));
}

TEST(FluidMusicPlayer, WithoutASoundFontKeepsThemesQuietlyAndSaysSoOnce) {
  const testing::ScratchFolder scratch;
  const Bytes bytes = OneNoteTheme();
  const auto theme = scratch.Write("theme.mid", std::string(bytes.begin(), bytes.end()));
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

  const auto segment = first.Load(theme.string());
  EXPECT_EQ(segment, 0);
  EXPECT_EQ(first.Load("/nonexistent/theme.mid"), -1);
  const auto instance = first.Play(segment, 0);
  EXPECT_GE(instance, 0);
  EXPECT_EQ(first.Play(-1, 0), -1);
  EXPECT_EQ(Listen(first, 0.1), 0.0);
  // The fade at a game's start reads the level back until it is silent.
  for (int volume : {0, -500, -1234, -10000, 300}) {
    first.SetMasterVolume(volume);
    EXPECT_EQ(first.MasterVolume(), volume);
  }
}

// The rest need the SoundFont the game uses.
class FluidMusicPlayerWithSoundFont : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto soundFont = FindSoundFont(UsualSoundFontPlaces());
    if (!soundFont) GTEST_SKIP() << "no General MIDI SoundFont installed";
    player_ = std::make_unique<FluidMusicPlayer>(*soundFont);
    segment_ = player_->Add(*ParseMidi(OneNoteTheme(), kRate, nullptr));
    ASSERT_TRUE(player_->WaitUntilReady());
  }

  static constexpr double kHeard = 50;  // clearly audible, on the 16-bit scale
  static constexpr double kQuiet = 2;

  std::unique_ptr<FluidMusicPlayer> player_;
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

TEST_F(FluidMusicPlayerWithSoundFont, ALoopingThemeFadesWithTheMasterVolumeAndEndsOnlyWhenStopped) {
  player_->SetLoop(segment_, true);
  const auto instance = player_->Play(segment_, 0);
  const double full = Listen(*player_, 0.5);
  player_->SetMasterVolume(-600);
  Listen(*player_, 0.05);
  const double half = Listen(*player_, 0.2);
  EXPECT_LT(half, full * 0.7);
  EXPECT_GT(half, full * 0.3);
  player_->SetMasterVolume(-10000);
  Listen(*player_, 0.05);
  EXPECT_EQ(Listen(*player_, 0.2), 0.0);
  player_->SetMasterVolume(0);
  Listen(*player_, 3.1);
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
  const auto second = player_->Play(segment_, MusicPlayer::kAtNextBar);
  Listen(*player_, 1.4);
  EXPECT_EQ(player_->CurrentInstance(), first);  // the bar lasts two seconds
  Listen(*player_, 0.2);
  EXPECT_EQ(player_->CurrentInstance(), second);
  const auto third = player_->Play(segment_, 0);
  Listen(*player_, 0.05);
  EXPECT_EQ(player_->CurrentInstance(), third);
}

}  // namespace
}  // namespace zendor
