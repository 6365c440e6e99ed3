#include "world/map_values.h"

#include <charconv>
#include <cstdio>

namespace zendor {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

std::string QuotedValue(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::vector<MapValue> SplitMapValues(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte-order mark
  std::vector<MapValue> values;
  int line = 1;
  int number = 0;
  bool valueSinceComma = false;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\n') {
      ++line;
      number = 0;
      valueSinceComma = false;
      ++i;
    } else if (c == ',') {
      if (!valueSinceComma) values.push_back({"", line, ++number});
      valueSinceComma = false;
      ++i;
    } else if (IsBlank(c)) {
      ++i;
    } else {
      const std::size_t start = i;
      while (i < text.size() && text[i] != ',' && text[i] != '\n' && !IsBlank(text[i])) ++i;
      values.push_back({std::string(text.substr(start, i - start)), line, ++number});
      valueSinceComma = true;
    }
  }
  return values;
}

bool ParseMapNumber(const MapValue& value, std::int16_t& out, std::string& reason) {
  if (value.text.empty()) {
    reason = "an empty value";
    return false;
  }
  // An explicit plus sign is allowed before the digits.
  std::string_view digits = value.text;
  const bool plus = digits.starts_with('+');
  if (plus) digits.remove_prefix(1);
  long long parsed = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
  if (error == std::errc::invalid_argument || end != digits.data() + digits.size() ||
      (plus && digits.starts_with('-'))) {
    reason = QuotedValue(value.text) + " is not a whole number";
    return false;
  }
  if (error == std::errc::result_out_of_range || parsed < INT16_MIN || parsed > INT16_MAX) {
    reason = QuotedValue(value.text) + " does not fit the game's numbers (-32768 to 32767)";
    return false;
  }
  out = static_cast<std::int16_t>(parsed);
  return true;
}

}  // namespace zendor
