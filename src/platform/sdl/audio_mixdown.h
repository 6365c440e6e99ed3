#pragma once

#include <array>
#include <cstdint>

#include "platform/sdl/mixer.h"
#include "platform/sdl/output_limiter.h"

namespace zendor {

// One block of the output stream: the sound effects and the music added together, kept under
// full scale by the limiter and brought to 16-bit stereo. This is all the audio callback does,
// so tests and benchmarks run it as is.
class AudioMixdown {
 public:
  static constexpr int kBlockFrames = 1024;
  // How far the output runs behind the sources: the limiter's look-ahead.
  static constexpr int kDelayFrames = OutputLimiter::kLookAhead - 1;

  explicit AudioMixdown(int rate = 44100) : limiter_(rate) {}

  // Either may be null. The caller keeps the audio thread out while changing them.
  void SetEffects(AudioSource* effects) { effects_ = effects; }
  void SetMusic(AudioSource* music) { music_ = music; }

  // Fills `frames` frames of interleaved 16-bit stereo.
  void Render(std::int16_t* out, int frames);

 private:
  AudioSource* effects_ = nullptr;
  AudioSource* music_ = nullptr;
  OutputLimiter limiter_;
  std::array<float, 2 * kBlockFrames> sum_{};
};

}  // namespace zendor
