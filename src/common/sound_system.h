#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/audio.h"

namespace zendor {

class Platform;
class Tracer;

// The game's sound slots: 256 effect buffers and 11 music themes, addressed by number.
// Operations on an empty entry, or with the device absent, do nothing. While the sound switch
// (effects) or the music switch (themes) is on, every operation the game issues is reported to
// the tracer, whether or not the entry holds a sound.
class SoundSystem {
 public:
  static constexpr int kBufferCount = 256;
  static constexpr int kThemeCount = 11;

  explicit SoundSystem(Tracer& tracer) : tracer_(tracer) {}

  // Creates the devices and loads "snd<N>.tmp" and "mus<N>.tmp" from the temporary folder. A file
  // there that cannot be played is named once on standard error by the shipped file it was
  // restored from in `programFolder` (by its own name when no program folder is given).
  void LoadSoundsAndMusic(Platform& platform, bool soundOn, bool musicOn,
                          const std::string& tempFolder, const std::string& programFolder = {});

  // --- Effects (SoundBuffers) ---
  void Play(int n, bool loop);
  void Stop(int n);
  void Rewind(int n);  // play position 0
  void SetVolume(int n, int hundredthsDb);
  void SetPan(int n, int hundredthsDb);
  void SetFrequency(int n, int hz);
  // Plays the effect once from its start, whether or not it is playing: stop, rewind, the new
  // pitch if one is given, play.
  void Restart(int n, std::optional<int> hz = std::nullopt);
  // Entry n becomes an independently playable copy of entry `from`: stopped, at its start, with
  // the volume, pan and frequency `from` has. Copying the same entry into n again (every game
  // start does) stops and reuses n's buffer, so long sessions do not pile up buffers.
  void Duplicate(int n, int from);
  bool IsPlaying(int n) const;

  // --- Music (MusicSegments on MusicPerformance) ---
  void SetRepeats(int theme, int repeats);
  void SetLoop(int theme, bool loop);
  // Plays the theme as the primary segment and keeps its playing state.
  void PlayTheme(int theme, int flags);
  // Stops the instance kept for that theme.
  void StopTheme(int theme);
  int MasterVolume() const { return masterVolume_; }
  void SetMasterVolume(int hundredthsDb);

  bool hasSoundDevice() const { return device_ != nullptr; }
  bool hasMusicPlayer() const { return music_ != nullptr; }
  bool soundOn() const { return soundOn_; }
  bool musicOn() const { return musicOn_; }

 private:
  SoundDevice::Buffer buffer(int n) const;
  MusicPlayer::Segment segment(int theme) const;
  bool traceSound() const { return soundOn_; }

  // What the game last set on an entry, so that a reused copy starts like a fresh one.
  struct EffectSettings {
    int volume = 0;
    int pan = 0;
    int frequency = 0;
  };

  Tracer& tracer_;
  bool soundOn_ = false;
  bool musicOn_ = false;
  std::unique_ptr<SoundDevice> device_;
  std::unique_ptr<MusicPlayer> music_;
  std::array<SoundDevice::Buffer, kBufferCount> buffers_;
  std::array<int, kBufferCount> copiedFrom_;  // the entry a copy was made from, -1 for none
  // Every copy made into an entry, by the buffer it copies: an entry that goes back to a sound it
  // held before takes its old copy again, so the device's buffers do not run out in a long
  // session of changing enemy voices.
  std::array<std::map<SoundDevice::Buffer, SoundDevice::Buffer>, kBufferCount> copiesMade_;
  std::array<EffectSettings, kBufferCount> settings_{};
  std::array<MusicPlayer::Segment, kThemeCount> segments_;
  std::array<MusicPlayer::Instance, kThemeCount> segmentStates_;
  int masterVolume_ = 0;

 public:
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;
};

}  // namespace zendor
