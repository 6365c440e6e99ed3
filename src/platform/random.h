#pragma once

#include <cstdint>

namespace zendor {

// The game's uniform generator: a 24-bit linear congruential sequence. A fixed seed makes every
// run repeat exactly; then reseeding from the clock does nothing.
class Random {
 public:
  // Every later draw follows from n alone.
  void FixSeed(std::uint32_t n);
  bool fixed() const { return fixed_; }
  // Mixes the clock's seconds timer into the state (ignored with a fixed seed).
  void Reseed(double timerSeconds);
  // Uniform in [0, 1).
  double Next();
  // Int(Rnd * n), computed in double precision.
  int Below(double n) { return static_cast<int>(Floor(Next() * n)); }
  // True with probability 1/n: one draw, true when Int(Rnd * n) = 0.
  bool OneIn(double n) { return Below(n) == 0; }

  std::uint32_t state() const { return x_; }

 private:
  static double Floor(double v);
  std::uint32_t x_ = 0x50000;
  bool fixed_ = false;
};

}  // namespace zendor
