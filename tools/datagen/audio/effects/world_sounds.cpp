// Sounds of the world: the fall into a chasm, the alien night and the lava.
#include <algorithm>
#include <cmath>

#include "datagen/audio/effects/effects.h"
#include "datagen/audio/synth/envelope.h"
#include "datagen/audio/synth/filter.h"
#include "datagen/audio/synth/noise.h"
#include "datagen/audio/synth/oscillator.h"

namespace zendor::datagen::audio {
namespace {

constexpr double kAmbienceLoop = 6.0;
constexpr double kLavaLoop = 3.0;

// A sine that completes a whole number of cycles in a loop of `loopSeconds`, so anything it
// modulates comes back to where it started.
double LoopSine(double t, double cyclesPerLoop, double loopSeconds, double phase) {
  return std::sin(2.0 * kPi * (cyclesPerLoop * t / loopSeconds + phase));
}

// Night wind for one ear: noise through a resonant band whose centre drifts up and down, with
// slow gusts. Every drift completes whole cycles within the loop.
Signal WindLoop(std::uint64_t seed, double phase) {
  Random random(seed);
  const Signal noise = Render(kAmbienceLoop, [&](double) { return random.white(); });
  StateVariableFilter howl, body;
  return FilterLoop(noise, [&](float x, double t) {
    const double drift = 0.9 * LoopSine(t, 1, kAmbienceLoop, phase) +
                         0.35 * LoopSine(t, 3, kAmbienceLoop, 2.0 * phase + 0.2);
    const double centre = 380.0 * std::pow(2.0, drift);
    // Mostly a hush, with one long gust per loop that swells well above it.
    const double swell = 0.5 + 0.5 * LoopSine(t, 1, kAmbienceLoop, phase + 0.5);
    const double flutter = 0.5 + 0.5 * LoopSine(t, 2, kAmbienceLoop, 3.0 * phase + 0.1);
    const double gust = 0.16 + 0.7 * std::pow(swell, 4.0) + 0.14 * flutter;
    const double whistle = 0.2 * howl.next(x, centre, 4.0).band;
    const double hush = 0.7 * body.next(x, 260.0, 0.7).low;
    return static_cast<float>(gust * (whistle + hush));
  });
}

// A far-off creature calling: a bent, warbling tone that echoes back twice.
Signal DistantCall(double hz) {
  Oscillator voice(Wave::Triangle), warble(Wave::Sine);
  const Signal call = Render(0.55, [&](double t) {
    const double bend = t < 0.2 ? Sweep{0.8, 1.25, 0.2}.at(t) : Sweep{1.25, 1.0, 0.35}.at(t - 0.2);
    const double pitch = hz * bend * (1.0 + 0.02 * warble.next(9.0));
    return static_cast<float>(Bell(t, 0.0, 0.12, 0.55) * voice.next(pitch));
  });
  Signal echoed;
  MixInto(echoed, call, 0.0, 1.0);
  MixInto(echoed, call, 0.31, 0.4);
  MixInto(echoed, call, 0.62, 0.16);
  return echoed;
}

// One lava bubble: a sine whose pitch rises as the bubble swells and bursts, with a soft pop
// at its start.
Signal Bubble(double hz, double seconds, std::uint64_t seed) {
  Oscillator body(Wave::Sine);
  Random pop(seed);
  OnePoleLowPass popFilter;
  return Render(seconds, [&](double t) {
    const double pitch = hz * (1.0 + 1.6 * t / seconds);
    const double tone = std::min(1.0, t / 0.003) * Decay(t, seconds) * body.next(pitch);
    const double burst = 0.5 * Decay(t, 0.008) * popFilter.next(pop.white(), 1500.0);
    return static_cast<float>(tone + burst);
  });
}

}  // namespace

// 22: falling into a chasm. A whistle that glides down nearly two octaves with a slight wobble and
// a breath of air around it; replayed for as long as the hero keeps falling.
Stereo FallingWhistle() {
  constexpr double kLength = 0.6;
  Oscillator whistle(Wave::Sine), wobble(Wave::Sine);
  StateVariableFilter air;
  Random breath(22);
  const Sweep pitch{1900.0, 520.0, kLength};
  return Centred(Render(kLength, [&](double t) {
    const double hz = pitch.at(t) * (1.0 + 0.012 * wobble.next(6.5));
    const double tone = whistle.next(hz) + 0.08 * air.next(breath.white(), hz, 4.0).band;
    return static_cast<float>(std::min(1.0, t / 0.03) * (1.0 - 0.4 * t / kLength) * tone);
  }));
}

// 30: the ambience of the alien night, looped for the whole game. Wind drifting differently
// in each ear, a low hum with a slow beat in it, and now and then a creature calling far away.
Stereo NightAmbience() {
  Stereo out{WindLoop(30, 0.0), WindLoop(31, 0.37)};
  Oscillator root(Wave::Sine), fifth(Wave::Sine), beating(Wave::Sine);
  // 55, 82.5 and 110 1/6 Hz all complete whole cycles in six seconds.
  const Signal hum = Render(kAmbienceLoop, [&](double t) {
    const double swell = 0.75 + 0.25 * LoopSine(t, 1, kAmbienceLoop, 0.0);
    return static_cast<float>(
        0.018 * swell *
        (root.next(55.0) + 0.5 * fifth.next(82.5) + 0.4 * beating.next(661.0 / 6.0)));
  });
  MixWrapped(out, Centred(hum), 0.0);
  MixWrapped(out, Panned(DistantCall(740.0), -0.6), 1.4, 0.06);
  MixWrapped(out, Panned(DistantCall(990.0), 0.55), 4.6, 0.045);
  return out;
}

// 31: the lava's bubbling, looped while a pool is in view. A thick low rumble, bubbles of
// many sizes rising and bursting all over, and a few big slow ones.
Stereo LavaBubbling() {
  Random scatter(31);
  Stereo out;
  for (Signal* side : {&out.left, &out.right}) {
    Random random(side == &out.left ? 310 : 311);
    const Signal noise = Render(kLavaLoop, [&](double) { return random.white(); });
    OnePoleLowPass first, second;
    *side = FilterLoop(noise, [&](float x, double t) {
      const double churn = 0.8 + 0.2 * LoopSine(t, 2, kLavaLoop, 0.1);
      return static_cast<float>(1.8 * churn * second.next(first.next(x, 180.0), 180.0));
    });
  }
  for (int i = 0; i < 26; ++i) {
    const bool big = i % 8 == 0;
    const double hz = big ? scatter.between(60.0, 90.0) : scatter.between(110.0, 330.0);
    const double seconds = big ? scatter.between(0.2, 0.28) : scatter.between(0.05, 0.15);
    const double at = scatter.between(0.0, kLavaLoop);
    const double gain = big ? 0.9 : scatter.between(0.25, 0.6);
    const Signal bubble = Bubble(hz, seconds, 3100 + static_cast<std::uint64_t>(i));
    MixWrapped(out, Panned(bubble, scatter.between(-0.6, 0.6)), at, gain);
  }
  return out;
}

}  // namespace zendor::datagen::audio
