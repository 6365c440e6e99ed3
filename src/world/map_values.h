#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zendor {

// One value of a map file as written, with its place in the file for error messages.
struct MapValue {
  std::string text;  // empty for an empty field ("1,,2")
  int line = 0;      // 1-based
  int number = 0;    // 1-based position of the value on its line
};

// Splits a map text into its values. Values are separated by commas, spaces or line breaks; a
// comma at the end of a line just continues the list on the next one, while a comma with no
// value before it on its line marks an empty field.
std::vector<MapValue> SplitMapValues(std::string_view text);

// A value as an error line shows it: in double quotes, with quotes, backslashes, control bytes
// and bytes past ASCII written as escapes, so that no value can act on the terminal.
std::string QuotedValue(std::string_view text);

// Reads a value as the game's 16-bit whole number; on failure says why in `reason`.
bool ParseMapNumber(const MapValue& value, std::int16_t& out, std::string& reason);

}  // namespace zendor
