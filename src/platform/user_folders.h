#pragma once

#include <ctime>
#include <string>

namespace zendor {

// The player's pictures folder as `xdg-user-dir PICTURES` names it; the home folder when that
// tool is missing or names nothing. Ends without '/'.
std::string PicturesFolder();

// Where the game keeps what it writes for the player: $XDG_DATA_HOME/zendor-vostrik, else
// ~/.local/share/zendor-vostrik. Not created here.
std::string UserDataFolder();

// A local date and time fit for a file name: "2026-12-06 03-04-05".
std::string DateTimeForFileName(std::time_t when);

}  // namespace zendor
