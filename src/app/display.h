#pragma once

#include <string>

#include "common/settings.h"
#include "platform/platform.h"

namespace zendor {

// Changes (or, with 0 x 0, restores) the desktop resolution and fits the picture's zoom to it.
void SetDisplayResolution(Platform& platform, Settings& settings, double width, double height);
// Hides the cursor however many times it was shown; shows it however many times it was hidden.
void HideMouseCursor(Platform& platform);
void ShowMouseCursor(Platform& platform);
// Key up and toggle off for one virtual key.
void ClearKeyState(Platform& platform, int keyCode);

// Chooses the display path (exclusive 320 x 200, else the windowed path at the configured
// screen size) and sets the display values. The sound half follows in the program's start-up.
void SetUpDisplay(Platform& platform, Settings& settings, const std::string& ddrawText);

}  // namespace zendor
