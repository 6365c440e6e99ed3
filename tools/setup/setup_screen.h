#pragma once

#include <string>
#include <vector>

#include "setup/setup_menu.h"

namespace zendor {
class Platform;
}

namespace zendor::setup {

// The set-up screen in the game's own look (its font and panel art) in the platform's window.
// Runs until the player saves (Enter) or leaves (Escape, or closing the window). A file that is
// malformed or unreadable is named in a message box when the screen opens; one that cannot be
// written is named when saving, and the screen stays up with every choice kept. Returns 0 when
// saved or left, 1 when the game's pictures cannot be loaded.
int RunSetupScreen(Platform& platform, const std::string& programFolder,
                   const std::vector<ScreenSize>& desktopSizes);

// Title of the set-up window.
inline constexpr const char* kSetupTitle = "Zendor Vostrik XXI Set-Up";

}  // namespace zendor::setup
