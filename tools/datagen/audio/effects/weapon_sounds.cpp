// The hero's weapons: the laser's charge, the bolt that crosses the screen, the close attack.
#include <algorithm>
#include <cmath>

#include "datagen/audio/effects/effects.h"
#include "datagen/audio/synth/envelope.h"
#include "datagen/audio/synth/filter.h"
#include "datagen/audio/synth/noise.h"
#include "datagen/audio/synth/oscillator.h"

namespace zendor::datagen::audio {

// 11: the laser charging as the crouching hero fires. Two detuned saws glide up three
// octaves with a quickening vibrato while a filter opens and a hiss rises under them.
Stereo LaserCharge() {
  constexpr double kLength = 0.26;
  Oscillator a(Wave::Saw), b(Wave::Saw, 0.37), vibrato(Wave::Sine);
  StateVariableFilter filter;
  Random random(11);
  const Sweep pitch{220.0, 1760.0, kLength};
  const Sweep vibratoRate{9.0, 42.0, kLength};
  const Sweep cutoff{900.0, 9500.0, kLength};
  return Centred(Render(kLength, [&](double t) {
    const double hz = pitch.at(t) * (1.0 + 0.03 * vibrato.next(vibratoRate.at(t)));
    const double tone = 0.5 * (a.next(hz) + b.next(hz * 1.008));
    const double hiss = 0.3 * (t / kLength) * random.white();
    const double swell = 0.35 + 0.65 * std::min(1.0, t / 0.2);
    return static_cast<float>(swell *
                              filter.next(static_cast<float>(tone + hiss), cutoff.at(t), 2.2).low);
  }));
}

// 12: one step of the laser bolt. The game restarts it at every step of the shot and plays it
// at 1,000 to 13,000 samples per second, so only its first 2 to 22 ms are ever heard, slowed
// down 3 to 44 times. It is therefore a bright zap high in the spectrum: a sine falling from
// 15.5 to 7 kHz with its lower octave and a band of noise that follows it. Slowed down, every
// step becomes a short "pew" a little higher than the one before.
Stereo LaserBoltStep() {
  constexpr double kLength = 0.034;
  Oscillator zap(Wave::Sine), octaveBelow(Wave::Sine);
  StateVariableFilter band;
  Random random(12);
  const Sweep pitch{15500.0, 7000.0, 0.03};
  return Centred(Render(kLength, [&](double t) {
    const double hz = pitch.at(t);
    const double tone = zap.next(hz) + 0.5 * octaveBelow.next(hz * 0.5);
    const double crackle = 1.2 * band.next(random.white(), hz * 0.7, 3.0).band;
    const double level = t < 0.022 ? 1.0 : std::max(0.0, 1.0 - (t - 0.022) / (kLength - 0.022));
    return static_cast<float>(level * (tone + crackle));
  }));
}

// 17: the close attack. A swipe of air that rises and falls and sweeps across the stereo
// image, landing on a dull thud with a crack on top.
Stereo CloseAttack() {
  constexpr double kLength = 0.34;
  constexpr double kImpact = 0.15;
  StateVariableFilter swipeFilter;
  Random air(17), grit(170);
  Oscillator thud(Wave::Sine);
  const Sweep rise{500.0, 3200.0, kImpact};
  const Sweep fall{3200.0, 900.0, 0.12};
  const Sweep thudPitch{190.0, 55.0, 0.09};
  const Signal swipe = Render(kLength, [&](double t) {
    const double centre = t < kImpact ? rise.at(t) : fall.at(t - kImpact);
    return static_cast<float>(Bell(t, 0.0, 0.12, 0.24) *
                              swipeFilter.next(air.white(), centre, 1.6).band);
  });
  const Signal hit = Render(kLength - kImpact, [&](double t) {
    const double body = thud.next(thudPitch.at(t)) * Decay(t, 0.17);
    const double crack = 0.5 * grit.white() * Decay(t, 0.025);
    return static_cast<float>(std::min(1.0, t / 0.001) * (body + crack));
  });
  Stereo out = PannedOverTime(swipe, [](double t) { return -0.6 + 1.2 * std::min(1.0, t / 0.22); });
  MixInto(out, Centred(hit), kImpact, 0.9);
  return out;
}

}  // namespace zendor::datagen::audio
