#pragma once

#include "datagen/audio/synth/signal.h"

namespace zendor::datagen::audio {

// First-order low-pass; the cutoff may change at every sample.
class OnePoleLowPass {
 public:
  float next(float x, double cutoffHz);

 private:
  double state_ = 0.0;
};

// First-order high-pass (the input minus its low-passed self).
class OnePoleHighPass {
 public:
  float next(float x, double cutoffHz);

 private:
  OnePoleLowPass low_;
};

// State-variable filter (topology-preserving form): stable at any cutoff below Nyquist and
// any resonance, and cheap to sweep. One call gives all three responses.
class StateVariableFilter {
 public:
  struct Outputs {
    float low;
    float band;
    float high;
  };
  // q: 0.5 gentle .. 20 ringing.
  Outputs next(float x, double cutoffHz, double q);

 private:
  double ic1_ = 0.0, ic2_ = 0.0;
};

// Runs `filter` over a loop as if it had been playing for ever: a first pass settles the
// filter's memory on the loop's own end, the second pass writes the output, so the filtered
// loop still joins seamlessly. `step(x, t)` gets the sample and its time in the loop.
template <typename Step>
Signal FilterLoop(const Signal& loop, Step step) {
  for (std::size_t i = 0; i < loop.size(); ++i) step(loop[i], static_cast<double>(i) / kSampleRate);
  Signal out(loop.size());
  for (std::size_t i = 0; i < loop.size(); ++i)
    out[i] = step(loop[i], static_cast<double>(i) / kSampleRate);
  return out;
}

}  // namespace zendor::datagen::audio
