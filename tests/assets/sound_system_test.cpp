#include "common/sound_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_platform.h"
#include "platform/wav_file.h"
#include "support/game_fixture.h"

// The traces of the menu, a game's start and the switches are proved by the scenarios sound_*.
namespace zendor {
namespace {

using Lines = std::vector<std::string>;

// The game's sounds over a temporary folder holding the unpacked "snd<N>.tmp" and "mus<N>.tmp".
struct Sounds {
  HeadlessPlatform platform;
  testing::RecordingTracer tracer;
  SoundSystem sound{tracer};
  testing::ScratchFolder temp;

  void Effect(int n) {
    const auto wav = EncodeWav16({100, -100, 200, -200}, 2, 44100);
    temp.Write("snd" + std::to_string(n) + ".tmp", std::string(wav.begin(), wav.end()));
  }
  void Theme(int n) {
    // The header and one empty track: all a music loader needs to take it.
    const char midi[] = "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xFF\x2F\0";
    temp.Write("mus" + std::to_string(n) + ".tmp", std::string(midi, sizeof midi - 1));
  }
  void Load(bool soundOn, bool musicOn) {
    sound.LoadSoundsAndMusic(platform, soundOn, musicOn, temp.folder());
  }
};

// Each entry is loaded from its own file, and each operation reaches that entry's buffer alone;
// on an entry without a sound it is reported all the same and does nothing.
TEST(SoundSystem, EveryEntryComesFromItsOwnFileAndItsOperationsReachItsBuffer) {
  Sounds s;
  for (int n : {0, 5, 31, 255, 256}) s.Effect(n);
  for (int n : {0, 5, 10, 11}) s.Theme(n);
  s.temp.Write("snd7.tmp", "not a sound");
  s.Load(true, true);

  // Entries 0..255 in turn: the unreadable 7 and the out-of-range 256 are left out.
  const auto* device = s.platform.soundDevice();
  const auto* music = s.platform.musicPlayer();
  ASSERT_TRUE(device && music);
  ASSERT_EQ(device->count(), 4u);
  const std::string folder = s.temp.folder();
  const char* effects[] = {"snd0", "snd5", "snd31", "snd255"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(device->state(i)->path, folder + effects[i] + ".tmp");
  const char* themes[] = {"mus0", "mus5", "mus10"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(music->segment(i)->path, folder + themes[i] + ".tmp");
  EXPECT_EQ(music->segment(3), nullptr);
  EXPECT_TRUE(s.tracer.lines.empty());  // loading is not an operation of the game

  s.sound.SetVolume(31, -700);
  s.sound.SetPan(31, 1500);
  s.sound.Play(31, true);
  s.sound.SetFrequency(5, 4000);
  s.sound.Play(5, false);
  s.sound.Stop(5);
  s.sound.Rewind(5);
  s.sound.Play(7, false);
  s.sound.SetVolume(200, -100);
  EXPECT_EQ(s.tracer.lines,
            (Lines{"sound volume 31 -700", "sound pan 31 1500", "sound play 31 loop",
                   "sound frequency 5 4000", "sound play 5 once", "sound stop 5", "sound rewind 5",
                   "sound play 7 once", "sound volume 200 -100"}));
  const auto* lava = device->state(2);
  EXPECT_EQ(lava->volume, -700);
  EXPECT_EQ(lava->pan, 1500);
  EXPECT_TRUE(lava->playing && lava->looping);
  const auto* shot = device->state(1);
  EXPECT_EQ(shot->frequency, 4000);
  EXPECT_FALSE(shot->playing);
  EXPECT_EQ(shot->position, 0u);
  EXPECT_EQ(shot->plays, 1);
  EXPECT_EQ(device->state(0)->plays + device->state(3)->plays, 0);  // the others untouched
  EXPECT_FALSE(s.sound.IsPlaying(7));
  EXPECT_EQ(device->count(), 4u);
}

// A switch that is off leaves its device out and its operations silent and unreported; a sound
// device that cannot start beeps once, and the game goes on with its operations still reported.
TEST(SoundSystem, SwitchesAndAFailingDevice) {
  struct Case {
    bool soundOn, musicOn, deviceFails;
  };
  for (const Case& c :
       {Case{true, false, false}, Case{false, true, false}, Case{true, true, true}}) {
    SCOPED_TRACE(::testing::Message() << c.soundOn << c.musicOn << c.deviceFails);
    Sounds s;
    s.Effect(31);
    s.Theme(5);
    s.platform.FailSoundDevice(c.deviceFails);
    s.Load(c.soundOn, c.musicOn);
    const bool effects = c.soundOn && !c.deviceFails;
    EXPECT_EQ(s.sound.hasSoundDevice(), effects);
    EXPECT_EQ(s.platform.soundDevice() != nullptr, effects);
    EXPECT_EQ(s.sound.hasMusicPlayer(), c.musicOn);
    EXPECT_EQ(s.platform.musicPlayer() != nullptr, c.musicOn);
    s.sound.Play(31, false);
    s.sound.Duplicate(100, 31);
    s.sound.PlayTheme(5, 0);
    s.sound.SetMasterVolume(-500);
    EXPECT_EQ(s.sound.IsPlaying(31), effects);
    if (c.musicOn) {
      EXPECT_EQ(s.platform.musicPlayer()->playingSegment(), 0);
    }
    // The menu's fade reads the level back, so it ends even without a music player.
    EXPECT_EQ(s.sound.MasterVolume(), -500);
    Lines reported;
    if (c.soundOn) reported = {"sound play 31 once", "sound duplicate 100 31"};
    if (c.musicOn) reported.insert(reported.end(), {"music play 5", "music volume -500"});
    EXPECT_EQ(s.tracer.lines, reported);
    EXPECT_EQ(s.platform.beeps(), c.deviceFails ? 1 : 0);  // switched off is not a failure
  }
}

TEST(SoundSystem, EnemyVoicesAreCopiesMadeAfreshIntoTheSameBuffersEveryGame) {
  Sounds s;
  for (int n : {23, 24}) s.Effect(n);
  s.Load(true, false);
  const auto* device = s.platform.soundDevice();
  s.sound.Duplicate(100, 23);
  s.sound.Duplicate(101, 24);
  s.sound.Duplicate(102, 25);  // no sound 25: the voice stays silent
  s.sound.SetVolume(100, -500);
  s.sound.SetPan(100, 300);
  s.sound.Play(100, false);
  s.sound.Play(102, false);
  ASSERT_EQ(device->count(), 4u);
  // A copy plays and is set on its own.
  EXPECT_TRUE(s.sound.IsPlaying(100));
  EXPECT_FALSE(s.sound.IsPlaying(23) || s.sound.IsPlaying(102));
  EXPECT_EQ(device->state(2)->source, 0);
  EXPECT_EQ(device->state(0)->pan, 0);

  // The next game: the voice still sounding from the last one stops, and the copy starts over
  // with the source's settings (changed meanwhile), without a new buffer.
  s.sound.SetVolume(23, -200);
  s.sound.Duplicate(100, 23);
  s.sound.Duplicate(101, 24);
  EXPECT_EQ(device->count(), 4u);
  const auto* voice = device->state(2);
  EXPECT_FALSE(voice->playing);
  EXPECT_EQ(voice->position, 0u);
  EXPECT_EQ(voice->volume, -200);
  EXPECT_EQ(voice->pan, 0);
  EXPECT_FALSE(s.sound.IsPlaying(100));

  // A copy of another sound takes a buffer of its own; the one it replaces falls silent.
  s.sound.Play(101, false);
  s.sound.Duplicate(101, 23);
  EXPECT_EQ(device->count(), 5u);
  EXPECT_FALSE(device->state(3)->playing);
  EXPECT_EQ(device->state(4)->source, 0);
  EXPECT_EQ(device->state(4)->volume, -200);
}

// Enemies of changing kinds copy their voices into the same entries game after game: an entry
// going back to a voice it held before takes its old copy again, so a long session never runs
// the device out of buffers (the game's mixer holds a fixed number).
TEST(SoundSystem, AnEntryChangingVoicesForAWholeSessionKeepsToOneCopyOfEach) {
  Sounds s;
  for (int n : {23, 24}) s.Effect(n);
  s.Load(true, false);
  const auto* device = s.platform.soundDevice();
  for (int game = 0; game < 3000; ++game) {
    s.sound.Duplicate(100, game % 2 == 0 ? 23 : 24);
    s.sound.Play(100, false);
  }
  EXPECT_EQ(device->count(), 4u);  // the two sounds and one copy of each
  EXPECT_TRUE(s.sound.IsPlaying(100));
  EXPECT_FALSE(s.sound.IsPlaying(23) || s.sound.IsPlaying(24));
  const auto* first = device->state(2);  // the copy of 23, silent since 24 took its place
  const auto* second = device->state(3);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->source, 0);
  EXPECT_FALSE(first->playing);
  EXPECT_TRUE(second->playing);
}

TEST(SoundSystem, OnlyTheInstanceKeptForAThemeIsStopped) {
  Sounds s;
  for (int n : {0, 5, 7}) s.Theme(n);
  s.Load(false, true);
  const auto* player = s.platform.musicPlayer();

  s.sound.SetRepeats(5, 0);
  s.sound.SetLoop(5, true);
  s.sound.PlayTheme(5, 8192);
  EXPECT_TRUE(player->segment(1)->loop);
  EXPECT_EQ(player->segment(1)->repeats, 0);
  // A new theme replaces the playing one; stopping the old theme then leaves the new one alone.
  s.sound.PlayTheme(7, 8192);
  s.sound.StopTheme(5);
  EXPECT_EQ(player->playingSegment(), 2);
  s.sound.StopTheme(7);
  EXPECT_EQ(player->playingSegment(), -1);
  s.sound.StopTheme(0);     // never started: nothing to stop
  s.sound.PlayTheme(3, 0);  // no such theme
  EXPECT_EQ(player->playingSegment(), -1);
  s.sound.SetMasterVolume(-10000);
  EXPECT_EQ(player->MasterVolume(), -10000);
  // repeat and loop options are not reported
  EXPECT_EQ(s.tracer.lines, (Lines{"music play 5", "music play 7", "music stop 5", "music stop 7",
                                   "music stop 0", "music play 3", "music volume -10000"}));
}

}  // namespace
}  // namespace zendor
