#pragma once

#include <cstdint>
#include <string>

namespace zendor {

// The sound-effect device: buffers of 16-bit PCM loaded from WAV files, mixed by the back end.
// Volume and pan are in hundredths of a decibel (volume 0 full .. -10000 silent; pan -10000 left
// only .. 10000 right only), frequency in samples per second (0 = the buffer's own rate).
// Handles are small non-negative integers; -1 is "no buffer" and every operation ignores it.
class SoundDevice {
 public:
  using Buffer = int;
  static constexpr int kSilent = -10000;     // volume; and below, exactly silent
  static constexpr int kLeftOnly = kSilent;  // pan
  static constexpr int kRightOnly = -kSilent;
  virtual ~SoundDevice() = default;

  // Loads a WAV file; -1 when it is missing or not a PCM WAV the device can play, with the reason
  // in `error`.
  virtual Buffer Load(const std::string& wavPath, std::string* error = nullptr) = 0;
  // A second buffer sharing the sample data, playable on its own.
  virtual Buffer Duplicate(Buffer original) = 0;
  // Starts from the current play position; a playing buffer keeps playing (only `loop` changes).
  virtual void Play(Buffer buffer, bool loop) = 0;
  // Stops; the play position stays where it stopped.
  virtual void Stop(Buffer buffer) = 0;
  // Sets the play position in bytes of the buffer's own format.
  virtual void SetPosition(Buffer buffer, std::uint32_t bytes) = 0;
  virtual void SetVolume(Buffer buffer, int hundredthsDb) = 0;
  virtual void SetPan(Buffer buffer, int hundredthsDb) = 0;
  virtual void SetFrequency(Buffer buffer, int hz) = 0;

  virtual bool IsPlaying(Buffer buffer) const = 0;
  virtual int Volume(Buffer buffer) const = 0;
};

// The music player: themes loaded from standard MIDI files, one primary theme at a time.
class MusicPlayer {
 public:
  using Segment = int;                     // -1 = none
  using Instance = int;                    // a playing instance of a segment, -1 = none
  static constexpr int kAtNextBar = 8192;  // Play flag: start at the playing theme's next bar
  virtual ~MusicPlayer() = default;

  // Loads a standard MIDI file; -1 when it is missing or cannot be played, with the reason in
  // `error`.
  virtual Segment Load(const std::string& midiPath, std::string* error = nullptr) = 0;
  // Every theme is loaded: the player may now get the instruments they play ready.
  virtual void ThemesLoaded() {}
  // 0: the theme plays once from its beginning.
  virtual void SetRepeats(Segment segment, int repeats) = 0;
  // true: the theme repeats until stopped.
  virtual void SetLoop(Segment segment, bool loop) = 0;
  // Starts the segment as the primary theme (replacing the one playing); flags kAtNextBar start
  // it at the next measure boundary.
  virtual Instance Play(Segment segment, int flags) = 0;
  // Stops that playing instance, if it still plays.
  virtual void Stop(Segment segment, Instance instance) = 0;
  virtual int MasterVolume() const = 0;
  virtual void SetMasterVolume(int hundredthsDb) = 0;
};

}  // namespace zendor
