#pragma once

namespace zendor::datagen::audio {

enum class Wave { Sine, Triangle, Saw, Square };

// A phase-accumulating oscillator; the frequency may change at every sample, so sweeps,
// vibrato and frequency modulation are just a changing argument to next(). Saw and square are
// band-limited at their edges (polyBLEP) so bright sweeps do not alias into whistles.
class Oscillator {
 public:
  explicit Oscillator(Wave wave, double phase = 0.0) : wave_(wave), phase_(phase) {}

  // The next sample, -1..1, at `hz` (negative and above-Nyquist rates are held to 0..rate/2).
  float next(double hz);
  // The same with the phase pushed by `phaseOffset` cycles, for frequency modulation.
  float next(double hz, double phaseOffset);

 private:
  Wave wave_;
  double phase_;  // 0..1
};

}  // namespace zendor::datagen::audio
