#pragma once

namespace zendor::datagen::audio {

// Attack, decay, sustain and release of a note held for `held` seconds; times in seconds,
// sustain as a level 0..1. Straight-line segments, which read as natural for short effects.
struct Adsr {
  double attack = 0.005;
  double decay = 0.1;
  double sustain = 0.7;
  double release = 0.1;

  // Level at time t after the note began.
  double at(double t, double held) const;
  // Total sounding time of a note held for `held` seconds.
  double length(double held) const { return held + release; }
};

// A value gliding from `from` to `to` over `seconds`, then staying at `to`. Exponential glides
// suit pitch and filter cutoffs (equal musical steps), linear ones suit levels.
struct Sweep {
  double from = 0.0;
  double to = 0.0;
  double seconds = 1.0;
  bool exponential = true;

  double at(double t) const;
};

// exp decay that has fallen by 60 dB (to one thousandth) after `seconds`.
double Decay(double t, double seconds);

// A smooth bell: 0 at `start`, 1 at `peak`, 0 again at `end` (raised-cosine flanks).
double Bell(double t, double start, double peak, double end);

}  // namespace zendor::datagen::audio
