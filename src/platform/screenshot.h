#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "platform/surface.h"

namespace zendor {

// The game's 256 x 192 picture inside a game window's screen: at the largest whole zoom that
// fits, centred (the exclusive 320 x 200 screen holds it at 32, 4, a zoomed window fills with
// it), taken back to one pixel per game pixel.
Surface GamePicture(const Surface& windowScreen);

// Writes a screenshot into `folder`: the game's picture as "zendor DATE TIME.png" and, when
// given, the output as the player saw it as "zendor DATE TIME (as seen).png" (a number is added
// when a name is taken). Returns the path of the first, or nullopt and why in `error`.
std::optional<std::string> SaveScreenshot(const std::string& folder, std::time_t when,
                                          const Surface& picture, const Surface* asSeen,
                                          std::string* error);

}  // namespace zendor
