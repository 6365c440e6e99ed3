#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"

namespace zendor::replay {

// Reads a replay script: one "<ms> down|up|repeat <key>" per line, '#' comments and blank lines
// ignored, times never decreasing. On a malformed line returns nullopt and sets `error` to
// "line N: reason".
std::optional<std::vector<ScriptedKey>> ParseScript(const std::string& text, std::string* error);

// A key name of the script (LEFT, ESC, F10, a digit, an upper-case letter, or a decimal code of
// two or more digits) as a virtual-key code; -1 when it is not one.
int KeyCodeFromName(const std::string& name);

}  // namespace zendor::replay
