#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/gamepad.h"

namespace zendor {

// What a gamepad presses on each screen. In the menu A is "1" (play) and Y is "2" (redefine),
// Back is Escape. In a game (and on its ending) the d-pad and the left stick are the current
// left, right, up and down keys, A is the jump (up) key, X and B the fire key, Start the pause
// key and Back Escape. Elsewhere (loading, redefining the keys) a pad presses nothing.
PadKeys PadKeysFor(std::string_view screen, const std::array<std::int16_t, 6>& keyBindings);

}  // namespace zendor
