#include "datagen/audio/synth/signal.h"

#include <algorithm>
#include <cmath>

namespace zendor::datagen::audio {

int SampleCount(double seconds) {
  return static_cast<int>(std::lround(seconds * kSampleRate));
}

Signal Render(double seconds, const std::function<float(double t)>& sample) {
  Signal out(static_cast<std::size_t>(SampleCount(seconds)));
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = sample(static_cast<double>(i) / kSampleRate);
  return out;
}

Stereo RenderStereo(double seconds, const std::function<Frame(double t)>& frame) {
  Stereo out = Silence(seconds);
  for (std::size_t i = 0; i < out.frames(); ++i) {
    const Frame f = frame(static_cast<double>(i) / kSampleRate);
    out.left[i] = f.left;
    out.right[i] = f.right;
  }
  return out;
}

Stereo Silence(double seconds) {
  const std::size_t frames = static_cast<std::size_t>(SampleCount(seconds));
  return {Signal(frames, 0.0f), Signal(frames, 0.0f)};
}

Stereo Centred(const Signal& mono) {
  return {mono, mono};
}

Stereo Panned(const Signal& mono, double pan) {
  return PannedOverTime(mono, [pan](double) { return pan; });
}

Stereo PannedOverTime(const Signal& mono, const std::function<double(double t)>& pan) {
  Stereo out{Signal(mono.size()), Signal(mono.size())};
  for (std::size_t i = 0; i < mono.size(); ++i) {
    // Constant power, scaled so a centred sound keeps its level on both sides.
    const double angle =
        (std::clamp(pan(static_cast<double>(i) / kSampleRate), -1.0, 1.0) + 1.0) * kPi / 4.0;
    out.left[i] = static_cast<float>(mono[i] * std::cos(angle) * std::sqrt(2.0));
    out.right[i] = static_cast<float>(mono[i] * std::sin(angle) * std::sqrt(2.0));
  }
  return out;
}

void MixInto(Signal& into, const Signal& what, double atSeconds, double gain) {
  const std::size_t start = static_cast<std::size_t>(std::max(0, SampleCount(atSeconds)));
  if (into.size() < start + what.size()) into.resize(start + what.size(), 0.0f);
  for (std::size_t i = 0; i < what.size(); ++i)
    into[start + i] += static_cast<float>(what[i] * gain);
}

void MixInto(Stereo& into, const Stereo& what, double atSeconds, double gain) {
  MixInto(into.left, what.left, atSeconds, gain);
  MixInto(into.right, what.right, atSeconds, gain);
}

void MixWrapped(Stereo& loop, const Stereo& what, double atSeconds, double gain) {
  const std::size_t length = loop.frames();
  if (length == 0) return;
  const std::size_t start = static_cast<std::size_t>(std::max(0, SampleCount(atSeconds))) % length;
  for (std::size_t i = 0; i < what.frames(); ++i) {
    const std::size_t at = (start + i) % length;
    loop.left[at] += static_cast<float>(what.left[i] * gain);
    loop.right[at] += static_cast<float>(what.right[i] * gain);
  }
}

void FadeEdges(Stereo& sound, double fadeInSeconds, double fadeOutSeconds) {
  const std::size_t frames = sound.frames();
  const auto apply = [&](std::size_t at, double gain) {
    sound.left[at] = static_cast<float>(sound.left[at] * gain);
    sound.right[at] = static_cast<float>(sound.right[at] * gain);
  };
  const std::size_t in =
      std::min<std::size_t>(frames, static_cast<std::size_t>(SampleCount(fadeInSeconds)));
  for (std::size_t i = 0; i < in; ++i)
    apply(i, 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / in));
  const std::size_t out =
      std::min<std::size_t>(frames, static_cast<std::size_t>(SampleCount(fadeOutSeconds)));
  for (std::size_t i = 0; i < out; ++i) {
    // The last sample gets gain 0, so the sound ends on silence.
    apply(frames - 1 - i, 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / out));
  }
}

void NormalisePeak(Stereo& sound, double peakDbfs) {
  float peak = 0.0f;
  for (float s : sound.left) peak = std::max(peak, std::fabs(s));
  for (float s : sound.right) peak = std::max(peak, std::fabs(s));
  if (peak <= 0.0f) return;
  const double gain = std::pow(10.0, peakDbfs / 20.0) / peak;
  for (float& s : sound.left) s = static_cast<float>(s * gain);
  for (float& s : sound.right) s = static_cast<float>(s * gain);
}

void SoftClip(Signal& sound, double drive) {
  for (float& s : sound) s = static_cast<float>(std::tanh(drive * s) / drive);
}

std::vector<std::int16_t> ToPcm16(const Stereo& sound) {
  std::vector<std::int16_t> out;
  out.reserve(sound.frames() * 2);
  const auto convert = [](float s) {
    const long v = std::lround(static_cast<double>(s) * 32767.0);
    return static_cast<std::int16_t>(std::clamp(v, -32767L, 32767L));
  };
  for (std::size_t i = 0; i < sound.frames(); ++i) {
    out.push_back(convert(sound.left[i]));
    out.push_back(convert(sound.right[i]));
  }
  return out;
}

}  // namespace zendor::datagen::audio
