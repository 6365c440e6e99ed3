#pragma once

#include <array>

namespace zendor {

// Keeps the mixed output under full scale without clipping it. Sums that fit go through
// untouched, only a little late; when a peak would pass the ceiling (the hero's explosion sounds
// three loud effects at once), the gain eases down over the look-ahead so that the peak lands
// exactly on the ceiling, and comes back up over the release time. The waveform keeps its shape:
// no flattened tops, no wrap-around.
//
// Runs on the audio thread: no allocation, no locks, a few operations per frame while nothing
// is too loud.
class OutputLimiter {
 public:
  // Frames between a sample going in and the same sample coming out is kLookAhead - 1
  // (1.4 ms at 44,100 Hz).
  static constexpr int kLookAhead = 64;
  // Just under full scale (-0.2 dB), on the 16-bit scale the mixers add up on.
  static constexpr float kCeiling = 32000.0f;

  explicit OutputLimiter(int rate, double releaseSeconds = 0.25);

  // Limits `frames` frames of interleaved stereo in place: what comes out is the input of
  // kLookAhead - 1 frames earlier, turned down where it has to be.
  void Process(float* stereo, int frames);

  // The gain applied to the last frame that came out (1 when nothing was too loud lately).
  float gain() const { return gain_; }

 private:
  double releaseStep_;  // share of the way back to unity taken per frame

  std::array<float, 2 * kLookAhead> delayed_{};  // the last kLookAhead input frames
  std::array<float, kLookAhead> needed_{};       // per input frame: the gain that fits it (<= 1)
  std::array<float, kLookAhead> eased_{};        // the last kLookAhead eased gains, averaged
  int at_ = 0;                                   // ring position of the newest frame
  int sinceOver_ = kLookAhead;                   // frames since one needed less than unity
  int sinceEased_ = kLookAhead;                  // frames since an eased gain was under unity
  double released_ = 1.0;  // in double: the last steps home are too fine for a float
  double easedSum_ = kLookAhead;
  float gain_ = 1.0f;
};

}  // namespace zendor
