#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zendor {

// The largest configuration file read.
inline constexpr std::size_t kLargestProfileFile = std::size_t{1} << 20;

// Reads one value of a Windows profile (INI) file the way the system does: section and key
// names compared without regard to case, the first match wins, blanks around names and values
// ignored, a value in matching quotes loses them, the text ends at a NUL, and at most
// 254 characters come back (a 255-character buffer). A missing file, section or key gives the
// default, and so does anything but a regular file of at most a megabyte.
std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& defaultValue);

// Whether two section or key names are the same, as the profile rules compare them: letters
// without regard to case.
bool SameProfileName(std::string_view a, std::string_view b);

// The leading number of a text, as a decimal literal is read: blanks skipped, an optional sign,
// digits with an optional fraction and exponent; anything after it ignored; no number reads 0.
double LeadingNumber(const std::string& text);

// The number written by the leading decimal digits of a text; no sign, fraction or exponent is
// read, and a text that does not start with a digit reads 0.
double LeadingDigits(const std::string& text);

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);

}  // namespace zendor
