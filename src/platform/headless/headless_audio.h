#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio.h"

namespace zendor {

// Sound buffers that keep their settings and play state but mix nothing.
class HeadlessSoundDevice : public SoundDevice {
 public:
  struct BufferState {
    std::string path;
    int source = -1;  // the buffer this one duplicates
    std::uint32_t bytes = 0;
    bool playing = false;
    bool looping = false;
    std::uint32_t position = 0;
    int volume = 0;
    int pan = 0;
    int frequency = 0;
    int plays = 0;  // how often Play started it
  };

  Buffer Load(const std::string& wavPath, std::string* error = nullptr) override;
  Buffer Duplicate(Buffer original) override;
  void Play(Buffer buffer, bool loop) override;
  void Stop(Buffer buffer) override;
  void SetPosition(Buffer buffer, std::uint32_t bytes) override;
  void SetVolume(Buffer buffer, int hundredthsDb) override;
  void SetPan(Buffer buffer, int hundredthsDb) override;
  void SetFrequency(Buffer buffer, int hz) override;
  bool IsPlaying(Buffer buffer) const override;
  int Volume(Buffer buffer) const override;

  const BufferState* state(Buffer buffer) const;
  std::size_t count() const { return buffers_.size(); }

 private:
  BufferState* find(Buffer buffer);
  std::vector<BufferState> buffers_;
};

// Music themes that keep their options and the playing instance but sound nothing.
class HeadlessMusicPlayer : public MusicPlayer {
 public:
  struct SegmentState {
    std::string path;
    int repeats = 0;
    bool loop = false;
  };

  Segment Load(const std::string& midiPath, std::string* error = nullptr) override;
  void SetRepeats(Segment segment, int repeats) override;
  void SetLoop(Segment segment, bool loop) override;
  Instance Play(Segment segment, int flags) override;
  void Stop(Segment segment, Instance instance) override;
  int MasterVolume() const override { return masterVolume_; }
  void SetMasterVolume(int hundredthsDb) override { masterVolume_ = hundredthsDb; }

  const SegmentState* segment(Segment segment) const;
  Segment playingSegment() const { return playingSegment_; }
  Instance playingInstance() const { return playingInstance_; }

 private:
  std::vector<SegmentState> segments_;
  Segment playingSegment_ = -1;
  Instance playingInstance_ = -1;
  Instance nextInstance_ = 1;
  int masterVolume_ = 0;
};

}  // namespace zendor
