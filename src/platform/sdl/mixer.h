#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/wav_file.h"

namespace zendor {

// Something the audio thread adds to the output block: interleaved stereo floats on the scale
// of 16-bit samples (32767 is full scale).
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  // Adds `frames` frames to `stereo`; runs on the audio thread, never allocates or blocks.
  virtual void MixInto(float* stereo, int frames) = 0;
};

// Decibels in hundredths to a linear gain; kSilent and below are exactly silent.
float GainFromHundredthsDb(int hundredthsDb);

// The sound-effect buffers and their mixing, free of any audio library. The game thread loads
// and controls buffers through the SoundDevice operations; the audio thread calls MixInto.
//
// The game thread never waits for the audio thread: each buffer's requested state (play, loop,
// position, volume, pan, frequency) sits in atomics that the audio thread picks up at the start
// of every block, and the audio thread answers with the play serial of a sound that ran out, so
// IsPlaying is right at once. Sample data is read-only once published and is freed only with
// the mixer, so the audio thread never allocates, frees or locks.
class Mixer : public SoundDevice, public AudioSource {
 public:
  static constexpr int kMaxBuffers = 1024;

  explicit Mixer(int outputRate = 44100);
  ~Mixer() override;

  // --- Game thread ---
  Buffer Load(const std::string& wavPath, std::string* error = nullptr) override;
  // Adds an already parsed sound; -1 when the mixer is full.
  Buffer Add(const WavSound& sound);
  Buffer Duplicate(Buffer original) override;
  void Play(Buffer buffer, bool loop) override;
  void Stop(Buffer buffer) override;
  void SetPosition(Buffer buffer, std::uint32_t bytes) override;
  void SetVolume(Buffer buffer, int hundredthsDb) override;
  void SetPan(Buffer buffer, int hundredthsDb) override;
  void SetFrequency(Buffer buffer, int hz) override;
  bool IsPlaying(Buffer buffer) const override;
  int Volume(Buffer buffer) const override;

  // --- Audio thread ---
  void MixInto(float* stereo, int frames) override;

 private:
  struct Sound;
  struct Slot;

  Slot* find(Buffer buffer);
  const Slot* find(Buffer buffer) const;
  Buffer Publish(const Sound* sound);
  void TakeRequests(Slot& slot);
  void MixVoice(Slot& slot, float* stereo, int frames);

  const int outputRate_;
  std::vector<std::unique_ptr<Sound>> sounds_;  // game thread; freed only with the mixer
  std::unique_ptr<Slot[]> slots_;
  std::atomic<int> slotCount_{0};
};

}  // namespace zendor
