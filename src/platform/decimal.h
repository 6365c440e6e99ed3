#pragma once

#include <cctype>
#include <cstdint>
#include <string>

namespace zendor {

// A whole number written in plain decimal digits (no sign, no blanks) that is at most `limit`;
// false for anything else, `out` then unchanged.
inline bool ParseWholeNumber(const std::string& text, std::uint64_t limit, std::uint64_t& out) {
  if (text.empty() || text.size() > 19) return false;
  std::uint64_t value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > limit) return false;
  out = value;
  return true;
}

}  // namespace zendor
