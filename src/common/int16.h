#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace zendor {

// The game's whole numbers are 16-bit. A statement whose result does not fit is skipped: the
// field keeps its old value and the routine goes on with its next statement.
inline std::optional<std::int16_t> Fit16(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
        rounded <= std::numeric_limits<std::int16_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(rounded);
}

// Assigns when the value fits in 16 bits (rounded half to even); false and no change otherwise.
inline bool TryAssign(std::int16_t& field, double value) {
  const auto fitted = Fit16(value);
  if (!fitted) return false;
  field = *fitted;
  return true;
}

}  // namespace zendor
