#include "datagen/audio/synth/oscillator.h"

#include <algorithm>
#include <cmath>

#include "datagen/audio/synth/signal.h"

namespace zendor::datagen::audio {
namespace {

// Polynomial correction of a unit step at phase 0, spread over one sample either side.
double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double Wrap(double phase) {
  return phase - std::floor(phase);
}

}  // namespace

float Oscillator::next(double hz) {
  return next(hz, 0.0);
}

float Oscillator::next(double hz, double phaseOffset) {
  const double dt = std::clamp(hz / kSampleRate, 0.0, 0.5);
  const double t = Wrap(phase_ + phaseOffset);
  double value = 0.0;
  switch (wave_) {
    case Wave::Sine:
      value = std::sin(2.0 * kPi * t);
      break;
    case Wave::Triangle:
      value = t < 0.5 ? 4.0 * t - 1.0 : 3.0 - 4.0 * t;
      break;
    case Wave::Saw:
      value = 2.0 * t - 1.0 - (dt > 0.0 ? PolyBlep(t, dt) : 0.0);
      break;
    case Wave::Square:
      value = t < 0.5 ? 1.0 : -1.0;
      if (dt > 0.0) value += PolyBlep(t, dt) - PolyBlep(Wrap(t + 0.5), dt);
      break;
  }
  phase_ = Wrap(phase_ + dt);
  return static_cast<float>(value);
}

}  // namespace zendor::datagen::audio
