#pragma once

#include <cstdint>

namespace zendor::datagen::audio {

// A small seeded generator (SplitMix64) so every sound comes out the same on every machine:
// the standard library's distributions are not required to agree between implementations.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next();
  // Uniform in [0, 1).
  double uniform();
  // Uniform in [low, high).
  double between(double low, double high);
  // White noise sample, uniform in [-1, 1).
  float white();

 private:
  std::uint64_t state_;
};

// Pink noise (equal energy per octave), softer and more natural than white for wind and
// rumble. Paul Kellet's three-pole approximation.
class PinkNoise {
 public:
  explicit PinkNoise(std::uint64_t seed) : random_(seed) {}
  float next();

 private:
  Random random_;
  double b0_ = 0.0, b1_ = 0.0, b2_ = 0.0;
};

}  // namespace zendor::datagen::audio
