#pragma once

#include <cstdint>

namespace zendor::datagen {

// The artwork's own random numbers: a seeded SplitMix64 stream, so every run paints the same
// pixels. Never seeded from the clock.
class ArtRandom {
 public:
  explicit ArtRandom(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double Real() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  // Uniform whole number in [lo, hi].
  int Between(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
  }
  double Between(double lo, double hi) { return lo + (hi - lo) * Real(); }
  bool Chance(double p) { return Real() < p; }

 private:
  std::uint64_t state_;
};

// A fixed pseudo-random value in [0, 1) for a lattice point: the same point always gives the
// same value, which makes textures that can be repeated or continued.
double LatticeValue(int x, int y, std::uint32_t seed);

// Smooth value noise in [0, 1) with lattice spacing `cell` pixels.
double ValueNoise(double x, double y, double cell, std::uint32_t seed);

// Sum of `octaves` noise layers, each of half the cell and half the weight; in [0, 1).
double FractalNoise(double x, double y, double cell, int octaves, std::uint32_t seed);

// 4 x 4 ordered-dither threshold in (0, 1) for a pixel; repeats every 4 pixels.
double BayerThreshold(int x, int y);

}  // namespace zendor::datagen
