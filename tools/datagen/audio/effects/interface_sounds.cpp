// The front end's sounds: the menu chime, a spare blip and the key-redefinition click.
#include <algorithm>
#include <cmath>

#include "datagen/audio/effects/effects.h"
#include "datagen/audio/synth/envelope.h"
#include "datagen/audio/synth/filter.h"
#include "datagen/audio/synth/noise.h"
#include "datagen/audio/synth/oscillator.h"

namespace zendor::datagen::audio {
namespace {

// One stroke of a glassy bell: a sine carrier phase-modulated at an inharmonic ratio, the
// modulation (and so the brightness) dying away faster than the tone.
Signal BellStroke(double hz, double seconds) {
  Oscillator carrier(Wave::Sine), modulator(Wave::Sine), octave(Wave::Sine);
  return Render(seconds, [&](double t) {
    const double index = 0.25 + 1.6 * Decay(t, 0.25);
    const double modulation = index * modulator.next(hz * 3.5) / (2.0 * kPi);
    const double strike = std::min(1.0, t / 0.0015);
    return static_cast<float>(strike * (Decay(t, seconds) * carrier.next(hz, modulation) +
                                        0.3 * Decay(t, 0.18) * octave.next(hz * 2.0)));
  });
}

}  // namespace

// 0: the menu chime. Four bell strokes climbing an E major arpeggio, spread left to right.
Stereo MenuChime() {
  struct Stroke {
    double at, hz, pan;
  };
  constexpr Stroke kStrokes[] = {{0.000, 1318.51, -0.45},
                                 {0.065, 1661.22, -0.15},
                                 {0.130, 1975.53, 0.15},
                                 {0.195, 2637.02, 0.45}};
  Stereo out = Silence(0.9);
  for (const Stroke& s : kStrokes)
    MixInto(out, Panned(BellStroke(s.hz, 0.9 - s.at), s.pan), s.at, 0.5);
  return out;
}

// 1: a spare interface blip. Two soft triangle tones a fifth apart, quick and friendly.
Stereo InterfaceBlip() {
  Oscillator tone(Wave::Triangle);
  return Centred(Render(0.13, [&](double t) {
    const double hz = t < 0.05 ? 880.0 : 1318.51;
    const double local = t < 0.05 ? t : t - 0.05;
    return static_cast<float>(std::min(1.0, local / 0.002) * Decay(local, 0.09) * tone.next(hz));
  }));
}

// 2: the click of the key-redefinition screen. A bright tick over a short wooden knock.
Stereo KeyClick() {
  Oscillator tick(Wave::Sine), knock(Wave::Sine);
  Random random(2);
  OnePoleHighPass air;
  const Sweep knockPitch{950.0, 620.0, 0.02};
  return Centred(Render(0.045, [&](double t) {
    const double click = 0.6 * Decay(t, 0.012) * tick.next(3300.0);
    const double wood = 0.55 * Decay(t, 0.03) * knock.next(knockPitch.at(t));
    const double snap = 0.5 * Decay(t, 0.004) * air.next(random.white(), 2500.0);
    return static_cast<float>(click + wood + snap);
  }));
}

}  // namespace zendor::datagen::audio
