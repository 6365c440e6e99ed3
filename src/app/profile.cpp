#include "app/profile.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "platform/whole_file.h"

namespace zendor {
namespace {

std::string Trim(const std::string& s) {
  std::size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

constexpr std::size_t kBufferChars = 254;  // a 255-character buffer with its NUL

std::string Clip(std::string value) {
  if (const auto nul = value.find('\0'); nul != std::string::npos) value.resize(nul);
  if (value.size() > kBufferChars) value.resize(kBufferChars);
  return value;
}

}  // namespace

bool SameProfileName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& defaultValue) {
  std::string text;
  if (!ReadWholeText(file, text, kLargestProfileFile)) return Clip(defaultValue);
  bool inSection = false;
  std::size_t at = 0;
  while (at <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trim(text.substr(at, end - at));
    at = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const auto close = line.find(']');
      inSection =
          close != std::string::npos && SameProfileName(Trim(line.substr(1, close - 1)), section);
      continue;
    }
    if (!inSection) continue;
    const auto eq = line.find('=');
    if (eq == std::string::npos || !SameProfileName(Trim(line.substr(0, eq)), key)) continue;
    std::string value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return Clip(value);
  }
  return Clip(defaultValue);
}

double LeadingNumber(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() &&
         (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
    ++i;
  std::string literal;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) literal += text[i++];
  bool digits = false;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
    literal += text[i++], digits = true;
  if (i < text.size() && text[i] == '.') {
    literal += text[i++];
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
      literal += text[i++], digits = true;
  }
  if (!digits) return 0;
  if (i + 1 < text.size() &&
      (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    bool expDigits = false;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
      exponent += text[j++], expDigits = true;
    if (expDigits) literal += exponent;
  }
  const double value = std::strtod(literal.c_str(), nullptr);
  return std::isfinite(value) ? value : 0;
}

double LeadingDigits(const std::string& text) {
  double value = 0;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    if (value < 1e300) value = value * 10 + (c - '0');  // stays finite for any length
  }
  return value;
}

double RoundHalfEven(double value) {
  return std::nearbyint(value);
}

}  // namespace zendor
