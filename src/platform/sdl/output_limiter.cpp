#include "platform/sdl/output_limiter.h"

#include <algorithm>
#include <cmath>

namespace zendor {

// How the gain is found, for the frame k that comes out now:
//   needed[k]  the gain that brings frame k's louder side down to the ceiling (1 if it fits);
//   lowest[j]  the least `needed` over frames j .. j + kLookAhead - 1;
//   eased[j]   lowest[j], but never rising faster than the release allows;
//   gain[k]    the mean of eased[k - kLookAhead + 1 .. k].
// Every term of that mean covers frame k, so gain[k] <= needed[k]: the peak fits. The mean
// turns every drop into a straight ramp over the look-ahead, so the gain never jumps.
OutputLimiter::OutputLimiter(int rate, double releaseSeconds)
    : releaseStep_(1.0 - std::exp(-1.0 / (releaseSeconds * rate))) {
  needed_.fill(1.0f);
  eased_.fill(1.0);
}

void OutputLimiter::Process(float* stereo, int frames) {
  for (int i = 0; i < frames; ++i) {
    float& left = stereo[2 * i];
    float& right = stereo[2 * i + 1];
    const float peak = std::max(std::fabs(left), std::fabs(right));
    const float needed = peak > kCeiling ? kCeiling / peak : 1.0f;
    needed_[static_cast<std::size_t>(at_)] = needed;
    sinceOver_ = needed < 1.0f ? 0 : std::min(sinceOver_ + 1, kLookAhead);
    const float lowest =
        sinceOver_ >= kLookAhead ? 1.0f : *std::min_element(needed_.begin(), needed_.end());

    double eased = std::min<double>(lowest, released_ + (1.0 - released_) * releaseStep_);
    if (eased > 0.99999) eased = 1.0;  // home again: from here on frames pass exactly
    released_ = eased;
    easedSum_ += eased - eased_[static_cast<std::size_t>(at_)];
    eased_[static_cast<std::size_t>(at_)] = eased;
    sinceEased_ = eased < 1.0 ? 0 : std::min(sinceEased_ + 1, kLookAhead);
    if (sinceEased_ >= kLookAhead) easedSum_ = kLookAhead;  // no rounding left behind
    gain_ = sinceEased_ >= kLookAhead ? 1.0f : static_cast<float>(easedSum_ / kLookAhead);

    // In goes this frame, out comes the oldest one the ring holds.
    const std::size_t in = 2 * static_cast<std::size_t>(at_);
    at_ = (at_ + 1) % kLookAhead;
    const std::size_t out = 2 * static_cast<std::size_t>(at_);
    delayed_[in] = left;
    delayed_[in + 1] = right;
    left = delayed_[out] * gain_;
    right = delayed_[out + 1] * gain_;
  }
}

}  // namespace zendor
