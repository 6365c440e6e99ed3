#include "datagen/audio/synth/envelope.h"

#include <algorithm>
#include <cmath>

#include "datagen/audio/synth/signal.h"

namespace zendor::datagen::audio {
namespace {

// The level a note has reached by time t while the key is down.
double HeldLevel(const Adsr& e, double t) {
  if (t < e.attack) return t / e.attack;
  t -= e.attack;
  if (t < e.decay) return 1.0 - (1.0 - e.sustain) * t / e.decay;
  return e.sustain;
}

}  // namespace

double Adsr::at(double t, double held) const {
  if (t < 0.0) return 0.0;
  if (t < held) return HeldLevel(*this, t);
  const double fromLevel = HeldLevel(*this, held);
  const double r = t - held;
  return r >= release ? 0.0 : fromLevel * (1.0 - r / release);
}

double Sweep::at(double t) const {
  const double x = std::clamp(t / seconds, 0.0, 1.0);
  if (exponential && from > 0.0 && to > 0.0) return from * std::pow(to / from, x);
  return from + (to - from) * x;
}

double Decay(double t, double seconds) {
  return t < 0.0 ? 0.0 : std::exp(-6.907755278982137 * t / seconds);
}

double Bell(double t, double start, double peak, double end) {
  if (t <= start || t >= end) return 0.0;
  const double x = t < peak ? (t - start) / (peak - start) : (end - t) / (end - peak);
  return 0.5 - 0.5 * std::cos(kPi * x);
}

}  // namespace zendor::datagen::audio
