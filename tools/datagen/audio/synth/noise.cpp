#include "datagen/audio/synth/noise.h"

namespace zendor::datagen::audio {

std::uint64_t Random::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Random::uniform() {
  return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

double Random::between(double low, double high) {
  return low + (high - low) * uniform();
}

float Random::white() {
  return static_cast<float>(2.0 * uniform() - 1.0);
}

float PinkNoise::next() {
  const double white = random_.white();
  b0_ = 0.99765 * b0_ + white * 0.0990460;
  b1_ = 0.96300 * b1_ + white * 0.2965164;
  b2_ = 0.57000 * b2_ + white * 1.0526913;
  return static_cast<float>((b0_ + b1_ + b2_ + white * 0.1848) * 0.25);
}

}  // namespace zendor::datagen::audio
