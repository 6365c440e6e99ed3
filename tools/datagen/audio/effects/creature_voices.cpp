// The enemies' voices. Each enemy repeats its voice back to back for as long as it lives, so
// every voice is a short call followed by a little quiet: repeated, it reads as a creature
// calling, not as a drone.
#include <algorithm>
#include <cmath>

#include "datagen/audio/effects/effects.h"
#include "datagen/audio/synth/envelope.h"
#include "datagen/audio/synth/filter.h"
#include "datagen/audio/synth/noise.h"
#include "datagen/audio/synth/oscillator.h"

namespace zendor::datagen::audio {
namespace {

// A hard tick exciting two tuned resonances (a shell) and a low knock (the body behind it).
Signal ShellClick(double shellHz, std::uint64_t seed) {
  Random grain(seed);
  StateVariableFilter high, higher, knock;
  return Render(0.04, [&](double t) {
    const float excite = t < 0.001 ? grain.white() : 0.0f;
    const double shell = high.next(excite, shellHz, 12.0).band +
                         0.7 * higher.next(excite, shellHz * 1.68, 14.0).band;
    const double body = 1.5 * knock.next(excite, 700.0, 5.0).band;
    return static_cast<float>(Decay(t, 0.04) * (shell + body));
  });
}

// One croak: a rough pulse voice through two formants, the pitch lifting slightly.
Signal Croak(double hz, double seconds) {
  Oscillator glottis(Wave::Saw), rattle(Wave::Sine);
  StateVariableFilter low, high;
  return Render(seconds, [&](double t) {
    const double pitch = hz * (1.0 + 0.15 * t / seconds);
    const double pulse = glottis.next(pitch) * (0.6 + 0.4 * rattle.next(38.0));
    const float x = static_cast<float>(pulse);
    const double voice = low.next(x, 450.0, 4.0).band + 0.6 * high.next(x, 1250.0, 6.0).band;
    return static_cast<float>(Bell(t, 0.0, 0.02, seconds) * voice);
  });
}

// One metallic ping: frequency modulation at an inharmonic ratio, like a struck wire.
Signal MetalPing(double hz) {
  Oscillator carrier(Wave::Sine), modulator(Wave::Sine);
  return Render(0.06, [&](double t) {
    const double index = 3.0 * Decay(t, 0.03);
    const double modulation = index * modulator.next(hz * 1.41) / (2.0 * kPi);
    return static_cast<float>(std::min(1.0, t / 0.0008) * Decay(t, 0.06) *
                              carrier.next(hz, modulation));
  });
}

}  // namespace

// 23: the flyer (kind 0). A wing buzz: a nasal saw beaten by fast wing strokes, wavering in
// pitch, swelling and fading, then a breath of quiet.
Stereo FlyerBuzz() {
  Oscillator buzz(Wave::Saw), wings(Wave::Sine), waver(Wave::Sine);
  StateVariableFilter nose;
  return Centred(Render(0.5, [&](double t) {
    const double hz = 105.0 * (1.0 + 0.05 * waver.next(5.0));
    const double stroke = 0.5 + 0.5 * wings.next(31.0);
    const float tone = buzz.next(hz);
    const double voice = nose.next(tone, 1100.0, 2.5).band + 0.3 * tone;
    return static_cast<float>(Bell(t, 0.0, 0.08, 0.32) * (0.3 + 0.7 * stroke) * voice);
  }));
}

// 24: kind 3. A throaty growl: a low saw and square with a ragged, wandering pitch and a
// rasping tremble, its mouth opening as it rises; then silence before the next.
Stereo BeastGrowl() {
  Oscillator saw(Wave::Saw), square(Wave::Square);
  Random jitterNoise(24), rasp(240);
  OnePoleLowPass jitterFilter, raspFilter;
  StateVariableFilter mouth;
  const Sweep opening{450.0, 900.0, 0.25};
  return Centred(Render(0.7, [&](double t) {
    const double jitter = 6.0 * jitterFilter.next(jitterNoise.white(), 25.0);
    const double hz = 68.0 * (1.0 + std::clamp(jitter, -0.3, 0.3));
    const double tremble = std::clamp(0.6 + 8.0 * raspFilter.next(rasp.white(), 60.0), 0.1, 1.2);
    const double tone = (saw.next(hz) + 0.5 * square.next(hz * 0.5)) * tremble;
    const double voice = mouth.next(static_cast<float>(tone), opening.at(t), 2.0).low;
    return static_cast<float>(Bell(t, 0.0, 0.12, 0.45) * voice);
  }));
}

// 25: the hopper (kind 2). A two-part croak, the second higher and shorter.
Stereo HopperCroak() {
  Stereo out = Silence(0.55);
  MixInto(out, Centred(Croak(58.0, 0.16)), 0.0);
  MixInto(out, Centred(Croak(72.0, 0.12)), 0.21, 0.8);
  return out;
}

// 26: kind 4. A metallic chitter: a rattle of wire-like pings alternating between two pitches,
// then quiet.
Stereo ChitterCall() {
  Stereo out = Silence(0.45);
  for (int i = 0; i < 6; ++i) {
    const double hz = i % 2 == 0 ? 2300.0 : 2900.0;
    MixInto(out, Centred(MetalPing(hz)), 0.055 * i, 1.0 - 0.1 * i);
  }
  return out;
}

// 27: the small armoured walker (kind 1). Clicking mandibles: three quick clicks and a late
// fourth, each a little differently tuned.
Stereo MandibleClicks() {
  struct Click {
    double at, hz, gain;
  };
  constexpr Click kClicks[] = {
      {0.0, 3100.0, 1.0}, {0.055, 3300.0, 0.8}, {0.11, 2950.0, 0.9}, {0.23, 3200.0, 0.7}};
  Stereo out = Silence(0.42);
  std::uint64_t seed = 27;
  for (const Click& c : kClicks) MixInto(out, Centred(ShellClick(c.hz, seed++)), c.at, c.gain);
  return out;
}

}  // namespace zendor::datagen::audio
