// Explosions: the common blast, the debris that follows an enemy's, and the two extra layers
// that make the hero's own explosion bigger and sadder.
#include <algorithm>
#include <cmath>

#include "datagen/audio/effects/effects.h"
#include "datagen/audio/synth/envelope.h"
#include "datagen/audio/synth/filter.h"
#include "datagen/audio/synth/noise.h"
#include "datagen/audio/synth/oscillator.h"

namespace zendor::datagen::audio {

// 13: the explosion heard for every enemy and for the hero. A thump that drops in pitch under
// a burst of noise whose brightness closes quickly; the noise is partly different left and
// right, so the blast is wide.
Stereo Explosion() {
  constexpr double kLength = 0.95;
  Random shared(13), leftOnly(131), rightOnly(132);
  StateVariableFilter leftFilter, rightFilter;
  Oscillator thump(Wave::Sine);
  const Sweep cutoff{7000.0, 160.0, 0.8};
  const Sweep thumpPitch{115.0, 36.0, 0.3};
  Stereo out = RenderStereo(kLength, [&](double t) {
    const double attack = std::min(1.0, t / 0.002);
    const double level = attack * (0.45 * Decay(t, 0.22) + 0.55 * Decay(t, kLength));
    const float common = shared.white();
    const float l = 0.65f * common + 0.35f * leftOnly.white();
    const float r = 0.65f * common + 0.35f * rightOnly.white();
    const double c = cutoff.at(t);
    const double low = 0.9 * attack * Decay(t, 0.5) * thump.next(thumpPitch.at(t));
    return Frame{static_cast<float>(level * leftFilter.next(l, c, 0.9).low + low),
                 static_cast<float>(level * rightFilter.next(r, c, 0.9).low + low)};
  });
  SoftClip(out.left, 1.6);
  SoftClip(out.right, 1.6);
  return out;
}

// 18: debris crackle after an enemy's explosion. Dozens of tiny ringing fragments scattered
// across the stereo field, thick at first and thinning out, over a faint low rumble.
Stereo DebrisCrackle() {
  constexpr double kLength = 0.7;
  Random scatter(18);
  Stereo out = Silence(kLength);
  for (int i = 0; i < 70; ++i) {
    const double at = 0.6 * std::pow(scatter.uniform(), 1.8);
    const double hz = scatter.between(1500.0, 7000.0);
    const double ring = scatter.between(0.004, 0.02);
    const double gain = scatter.between(0.3, 1.0) * Decay(at, 0.8);
    const double pan = scatter.between(-0.7, 0.7);
    Random grain(1800 + static_cast<std::uint64_t>(i));
    StateVariableFilter resonance;
    const Signal fragment = Render(ring * 2.5, [&](double t) {
      const double excite = t < 0.0015 ? grain.white() : 0.0;
      return static_cast<float>(Decay(t, ring * 2.5) *
                                resonance.next(static_cast<float>(excite), hz, 6.0).band);
    });
    MixInto(out, Panned(fragment, pan), at, gain);
  }
  Random rumbleNoise(181);
  OnePoleLowPass rumbleFilter;
  const Signal rumble = Render(kLength, [&](double t) {
    return static_cast<float>(0.6 * Decay(t, kLength) *
                              rumbleFilter.next(rumbleNoise.white(), 300.0));
  });
  MixInto(out, Centred(rumble), 0.0);
  return out;
}

// 19: the low boom of the hero's explosion. A falling sub tone with its octave and a dark
// rumble, driven into soft saturation so it is felt on small speakers too.
Stereo HeroBoom() {
  constexpr double kLength = 1.1;
  Oscillator sub(Wave::Sine), octave(Wave::Sine);
  Random noise(19);
  OnePoleLowPass first, second;
  const Sweep pitch{78.0, 30.0, 0.9};
  const Sweep darkening{700.0, 90.0, 0.8};
  Signal boom = Render(kLength, [&](double t) {
    const double hz = pitch.at(t);
    const double attack = std::min(1.0, t / 0.004);
    const double tone = (sub.next(hz) + 0.35 * octave.next(hz * 2.0)) * Decay(t, kLength);
    const double c = darkening.at(t);
    const double rumble = 2.5 * Decay(t, 0.9) * second.next(first.next(noise.white(), c), c);
    return static_cast<float>(attack * (tone + rumble));
  });
  SoftClip(boom, 2.2);
  return Centred(boom);
}

// 20: the falling electronic wail of the hero's explosion. A saw and a square a fifth apart
// fall from 1.5 kHz to 120 Hz with a widening vibrato, ring-modulated into a broken, robotic
// cry, and fade as they land.
Stereo HeroWail() {
  constexpr double kLength = 1.1;
  Oscillator saw(Wave::Saw), square(Wave::Square, 0.25), vibrato(Wave::Sine), ring(Wave::Sine);
  StateVariableFilter filter;
  const Sweep pitch{1500.0, 120.0, 1.0};
  return Centred(Render(kLength, [&](double t) {
    const double wobble = 1.0 + (0.01 + 0.05 * t / kLength) * vibrato.next(7.0);
    const double hz = pitch.at(t) * wobble;
    const double tone = 0.6 * saw.next(hz) + 0.4 * square.next(hz * 1.5);
    const double broken = tone * (0.65 + 0.35 * ring.next(31.0));
    const double level = std::min(1.0, t / 0.02) * (t < 0.6 ? 1.0 : Decay(t - 0.6, 0.5));
    return static_cast<float>(level * filter.next(static_cast<float>(broken), hz * 4.0, 2.5).low);
  }));
}

}  // namespace zendor::datagen::audio
