#include "platform/sdl/audio_mixdown.h"

#include <algorithm>
#include <cmath>

namespace zendor {

void AudioMixdown::Render(std::int16_t* out, int frames) {
  while (frames > 0) {
    const int block = std::min(frames, kBlockFrames);
    std::fill_n(sum_.begin(), 2 * block, 0.0f);
    if (effects_) effects_->MixInto(sum_.data(), block);
    if (music_) music_->MixInto(sum_.data(), block);
    limiter_.Process(sum_.data(), block);
    for (int i = 0; i < 2 * block; ++i) {
      const float clipped = std::clamp(sum_[i], -32768.0f, 32767.0f);  // never needed, never wraps
      out[i] = static_cast<std::int16_t>(std::lrint(clipped));
    }
    out += 2 * block;
    frames -= block;
  }
}

}  // namespace zendor
