#include "assets/sound_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_platform.h"
#include "platform/wav_file.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

using Lines = std::vector<std::string>;

// A temporary folder holding the unpacked "snd<N>.tmp" and "mus<N>.tmp" files of a test.
struct Unpacked {
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
};

struct Sounds {
  HeadlessPlatform platform;
  testing::RecordingTracer tracer;
  SoundSystem sound{tracer};
  Unpacked files;

  void Load(bool soundOn, bool musicOn) {
    sound.LoadSoundsAndMusic(platform, soundOn, musicOn, files.temp.folder());
  }
  const HeadlessSoundDevice::BufferState* Buffer(int handle) const {
    return platform.soundDevice()->state(handle);
  }
};

TEST(SoundLoading, EveryEntryComesFromItsOwnFileAndMissingOnesStayEmpty) {
  Sounds s;
  for (int n : {0, 5, 31, 255, 256}) s.files.Effect(n);
  for (int n : {0, 5, 10, 11}) s.files.Theme(n);
  s.files.temp.Write("snd7.tmp", "not a sound");
  s.Load(true, true);

  ASSERT_NE(s.platform.soundDevice(), nullptr);
  ASSERT_NE(s.platform.musicPlayer(), nullptr);
  EXPECT_EQ(s.platform.beeps(), 0);
  // Entries 0..255 in turn: the unreadable 7 and the out-of-range 256 are left out.
  const auto* device = s.platform.soundDevice();
  ASSERT_EQ(device->count(), 4u);
  const std::string folder = s.files.temp.folder();
  EXPECT_EQ(device->state(0)->path, folder + "snd0.tmp");
  EXPECT_EQ(device->state(1)->path, folder + "snd5.tmp");
  EXPECT_EQ(device->state(2)->path, folder + "snd31.tmp");
  EXPECT_EQ(device->state(3)->path, folder + "snd255.tmp");
  const auto* music = s.platform.musicPlayer();
  EXPECT_EQ(music->segment(0)->path, folder + "mus0.tmp");
  EXPECT_EQ(music->segment(1)->path, folder + "mus5.tmp");
  EXPECT_EQ(music->segment(2)->path, folder + "mus10.tmp");
  EXPECT_EQ(music->segment(3), nullptr);
  EXPECT_TRUE(s.tracer.lines.empty());  // loading is not an operation of the game

  // Entry 31 plays; entry 7 (no sound) and entry 200 (no file) do nothing.
  s.sound.Play(31, true);
  s.sound.Play(7, false);
  s.sound.Play(200, false);
  EXPECT_TRUE(s.sound.IsPlaying(31));
  EXPECT_TRUE(s.Buffer(2)->looping);
  EXPECT_FALSE(s.sound.IsPlaying(7));
  EXPECT_FALSE(s.sound.IsPlaying(200));
  EXPECT_EQ(device->count(), 4u);
}

TEST(SoundLoading, TheSwitchesLeaveTheirDeviceOutAndItsOperationsSilentAndUntraced) {
  Sounds effectsOnly;
  effectsOnly.files.Effect(31);
  effectsOnly.files.Theme(5);
  effectsOnly.Load(true, false);
  EXPECT_TRUE(effectsOnly.sound.hasSoundDevice());
  EXPECT_FALSE(effectsOnly.sound.hasMusicPlayer());
  EXPECT_EQ(effectsOnly.platform.musicPlayer(), nullptr);
  effectsOnly.sound.PlayTheme(5, 0);
  effectsOnly.sound.StopTheme(5);
  effectsOnly.sound.SetMasterVolume(-500);
  effectsOnly.sound.Play(31, false);
  EXPECT_EQ(effectsOnly.tracer.lines, (Lines{"sound play 31 once"}));
  // The menu's fade reads the level back, so it ends even without a music player.
  EXPECT_EQ(effectsOnly.sound.MasterVolume(), -500);

  Sounds musicOnly;
  musicOnly.files.Effect(31);
  musicOnly.files.Theme(5);
  musicOnly.Load(false, true);
  EXPECT_FALSE(musicOnly.sound.hasSoundDevice());
  EXPECT_EQ(musicOnly.platform.soundDevice(), nullptr);
  EXPECT_EQ(musicOnly.platform.beeps(), 0);  // switched off is not a failure
  musicOnly.sound.Play(31, true);
  musicOnly.sound.Duplicate(100, 31);
  EXPECT_FALSE(musicOnly.sound.IsPlaying(31));
  musicOnly.sound.PlayTheme(5, 0);
  EXPECT_EQ(musicOnly.tracer.lines, (Lines{"music play 5"}));
  EXPECT_EQ(musicOnly.platform.musicPlayer()->playingSegment(), 0);
}

TEST(SoundLoading, ADeviceThatCannotStartBeepsOnceAndTheGameGoesOnWithMusic) {
  Sounds s;
  s.files.Effect(0);
  s.files.Theme(0);
  s.platform.FailSoundDevice(true);
  s.Load(true, true);
  EXPECT_EQ(s.platform.beeps(), 1);
  EXPECT_FALSE(s.sound.hasSoundDevice());
  EXPECT_TRUE(s.sound.hasMusicPlayer());
  // The switch is on, so the game's operations are still reported; they just do nothing.
  s.sound.Play(0, false);
  s.sound.Duplicate(100, 0);
  EXPECT_FALSE(s.sound.IsPlaying(0));
  s.sound.PlayTheme(0, 0);
  EXPECT_EQ(s.platform.musicPlayer()->playingSegment(), 0);
  EXPECT_EQ(s.tracer.lines, (Lines{"sound play 0 once", "sound duplicate 100 0", "music play 0"}));
  EXPECT_EQ(s.platform.beeps(), 1);
}

TEST(SoundOperations, EachReachesItsBufferAndIsReportedAsTheGameIssuedIt) {
  Sounds s;
  s.files.Effect(12);
  s.files.Effect(31);
  s.Load(true, true);
  s.sound.SetVolume(31, -700);
  s.sound.SetPan(31, 1500);
  s.sound.Play(31, true);
  s.sound.SetFrequency(12, 4000);
  s.sound.Play(12, false);
  s.sound.Stop(12);
  s.sound.Rewind(12);
  s.sound.Play(40, true);  // no sound there: reported all the same
  EXPECT_EQ(s.tracer.lines,
            (Lines{"sound volume 31 -700", "sound pan 31 1500", "sound play 31 loop",
                   "sound frequency 12 4000", "sound play 12 once", "sound stop 12",
                   "sound rewind 12", "sound play 40 loop"}));
  const auto* lava = s.Buffer(1);
  EXPECT_EQ(lava->volume, -700);
  EXPECT_EQ(lava->pan, 1500);
  EXPECT_TRUE(lava->playing);
  const auto* shot = s.Buffer(0);
  EXPECT_EQ(shot->frequency, 4000);
  EXPECT_FALSE(shot->playing);
  EXPECT_EQ(shot->position, 0u);
  EXPECT_EQ(shot->plays, 1);
}

TEST(SoundOperations, EnemyVoicesAreCopiesThatPlayOnTheirOwn) {
  Sounds s;
  s.files.Effect(23);
  s.Load(true, false);
  s.sound.Duplicate(100, 23);
  s.sound.Duplicate(105, 23);
  s.sound.Duplicate(101, 24);  // no sound 24: the voice stays silent
  s.sound.SetPan(100, -3000);
  s.sound.Play(100, false);
  EXPECT_TRUE(s.sound.IsPlaying(100));
  EXPECT_FALSE(s.sound.IsPlaying(105));
  EXPECT_FALSE(s.sound.IsPlaying(23));
  s.sound.Play(101, false);
  EXPECT_FALSE(s.sound.IsPlaying(101));

  const auto* device = s.platform.soundDevice();
  ASSERT_EQ(device->count(), 3u);
  EXPECT_EQ(device->state(1)->source, 0);
  EXPECT_EQ(device->state(2)->source, 0);
  EXPECT_EQ(device->state(1)->pan, -3000);
  EXPECT_EQ(device->state(0)->pan, 0);
  // A later game copies into the same entries again.
  s.sound.Duplicate(100, 23);
  EXPECT_FALSE(s.sound.IsPlaying(100));
}

TEST(SoundOperations, EveryGameStartCopiesTheVoicesAfreshIntoTheSameBuffers) {
  Sounds s;
  s.files.Effect(23);
  s.files.Effect(24);
  s.Load(true, false);
  const auto* device = s.platform.soundDevice();
  s.sound.Duplicate(100, 23);
  s.sound.Duplicate(101, 24);
  s.sound.SetVolume(100, -500);
  s.sound.SetPan(100, 300);
  s.sound.Play(100, false);
  ASSERT_EQ(device->count(), 4u);

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

TEST(MusicOperations, OnlyTheInstanceKeptForAThemeIsStopped) {
  Sounds s;
  for (int n : {0, 5, 7}) s.files.Theme(n);
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

  // The fade of a game's start: 20 steps of 5 dB from full to silent.
  s.sound.SetMasterVolume(0);
  int steps = 0;
  do {
    s.sound.SetMasterVolume(s.sound.MasterVolume() - 500);
    ++steps;
  } while (s.sound.MasterVolume() > -10000);
  EXPECT_EQ(steps, 20);
  EXPECT_EQ(player->MasterVolume(), -10000);
  EXPECT_EQ(s.tracer.lines[0], "music play 5");  // repeat and loop options are not reported
  EXPECT_EQ(s.tracer.lines[4], "music stop 0");
  EXPECT_EQ(s.tracer.lines[6], "music volume 0");
  EXPECT_EQ(s.tracer.lines.back(), "music volume -10000");
}

}  // namespace
}  // namespace zendor
