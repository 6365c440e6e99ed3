#include "datagen/audio/synth/filter.h"

#include <algorithm>
#include <cmath>

namespace zendor::datagen::audio {
namespace {

double ClampCutoff(double hz) {
  return std::clamp(hz, 1.0, 0.49 * kSampleRate);
}

}  // namespace

float OnePoleLowPass::next(float x, double cutoffHz) {
  const double a = 1.0 - std::exp(-2.0 * kPi * ClampCutoff(cutoffHz) / kSampleRate);
  state_ += a * (x - state_);
  return static_cast<float>(state_);
}

float OnePoleHighPass::next(float x, double cutoffHz) {
  return x - low_.next(x, cutoffHz);
}

StateVariableFilter::Outputs StateVariableFilter::next(float x, double cutoffHz, double q) {
  const double g = std::tan(kPi * ClampCutoff(cutoffHz) / kSampleRate);
  const double k = 1.0 / std::max(q, 0.05);
  const double a1 = 1.0 / (1.0 + g * (g + k));
  const double a2 = g * a1;
  const double a3 = g * a2;
  const double v3 = x - ic2_;
  const double v1 = a1 * ic1_ + a2 * v3;
  const double v2 = ic2_ + a2 * ic1_ + a3 * v3;
  ic1_ = 2.0 * v1 - ic1_;
  ic2_ = 2.0 * v2 - ic2_;
  return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(x - k * v1 - v2)};
}

}  // namespace zendor::datagen::audio
