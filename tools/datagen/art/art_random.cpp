#include "datagen/art/art_random.h"

#include <cmath>

namespace zendor::datagen {

double LatticeValue(int x, int y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x27D4EB2Du;
  h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return static_cast<double>(h) / 4294967296.0;
}

double ValueNoise(double x, double y, double cell, std::uint32_t seed) {
  const double fx = x / cell, fy = y / cell;
  const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
  const double tx = fx - x0, ty = fy - y0;
  const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const double a = LatticeValue(x0, y0, seed), b = LatticeValue(x0 + 1, y0, seed);
  const double c = LatticeValue(x0, y0 + 1, seed), d = LatticeValue(x0 + 1, y0 + 1, seed);
  const double top = a + (b - a) * sx, bottom = c + (d - c) * sx;
  return top + (bottom - top) * sy;
}

double FractalNoise(double x, double y, double cell, int octaves, std::uint32_t seed) {
  double sum = 0, weight = 1, total = 0;
  for (int i = 0; i < octaves && cell >= 1; ++i) {
    sum += weight * ValueNoise(x, y, cell, seed + 101u * static_cast<std::uint32_t>(i));
    total += weight;
    weight *= 0.5;
    cell *= 0.5;
  }
  return total > 0 ? sum / total : 0;
}

double BayerThreshold(int x, int y) {
  static constexpr int kBayer[4][4] = {
      {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (kBayer[y & 3][x & 3] + 0.5) / 16.0;
}

}  // namespace zendor::datagen
