#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// The sound effects are built as floating-point signals at the game's mixing rate and turned
// into 16-bit stereo WAV images at the very end.
namespace zendor::datagen::audio {

inline constexpr int kSampleRate = 44100;
inline constexpr double kPi = 3.14159265358979323846;

using Signal = std::vector<float>;

struct Stereo {
  Signal left;
  Signal right;
  std::size_t frames() const { return left.size(); }
};

// One stereo sample.
struct Frame {
  float left;
  float right;
};

// Whole samples in `seconds` at the mixing rate.
int SampleCount(double seconds);

// `seconds` of sound whose sample at time t (seconds from the start) is `sample(t)`. The
// function is called once per sample in order, so it may keep running state.
Signal Render(double seconds, const std::function<float(double t)>& sample);

// The stereo counterpart of Render.
Stereo RenderStereo(double seconds, const std::function<Frame(double t)>& frame);
// `seconds` of silence, to mix sounds into.
Stereo Silence(double seconds);

// Both channels the same.
Stereo Centred(const Signal& mono);
// Placed by a constant-power pan law, -1 left only .. 1 right only.
Stereo Panned(const Signal& mono, double pan);
// The same with the position moving: `pan(t)` for the sample at time t.
Stereo PannedOverTime(const Signal& mono, const std::function<double(double t)>& pan);

// Adds `what` scaled by `gain` into `into` from `atSeconds`, growing `into` as needed.
void MixInto(Signal& into, const Signal& what, double atSeconds, double gain = 1.0);
void MixInto(Stereo& into, const Stereo& what, double atSeconds, double gain = 1.0);
// The same for a loop of fixed length: whatever runs past the end comes back in at the start.
void MixWrapped(Stereo& loop, const Stereo& what, double atSeconds, double gain = 1.0);

// Raised-cosine fade-in and fade-out, so a sound starts and ends on silence.
void FadeEdges(Stereo& sound, double fadeInSeconds, double fadeOutSeconds);
// Scales so the loudest sample of either channel sits at `peakDbfs`.
void NormalisePeak(Stereo& sound, double peakDbfs);
// Soft saturation, tanh(drive x) / drive: small signals pass unchanged, peaks are rounded off
// towards 1 / drive, which thickens booms and bursts.
void SoftClip(Signal& sound, double drive);

// Interleaved 16-bit samples, rounded and held inside the 16-bit range.
std::vector<std::int16_t> ToPcm16(const Stereo& sound);

}  // namespace zendor::datagen::audio
