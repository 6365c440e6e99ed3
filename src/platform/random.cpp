#include "platform/random.h"

#include <cmath>
#include <cstring>

namespace zendor {

void Random::FixSeed(std::uint32_t n) {
  x_ = n & 0xFFFFFF;
  fixed_ = true;
}

void Random::Reseed(double timerSeconds) {
  if (fixed_) return;
  const float t = static_cast<float>(timerSeconds);
  std::uint32_t bits;
  std::memcpy(&bits, &t, sizeof bits);
  const std::uint32_t mixed = (bits ^ (bits >> 16)) & 0xFFFF;
  x_ = ((x_ & 0xFF) | (mixed << 8)) & 0xFFFFFF;
}

double Random::Next() {
  x_ = static_cast<std::uint32_t>((static_cast<std::uint64_t>(x_) * 1140671485u + 12820163u) &
                                  0xFFFFFF);
  return x_ / 16777216.0;
}

double Random::Floor(double v) {
  return std::floor(v);
}

}  // namespace zendor
