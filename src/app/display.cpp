#include "app/display.h"

#include <cmath>
#include <limits>

#include "app/profile.h"

namespace zendor {
namespace {

// The number of a configured screen size: the leading number of its first `length` characters.
double ConfiguredSize(const std::string& text) {
  return LeadingNumber(text);
}

bool FitsInt32(double v) {
  return v >= std::numeric_limits<std::int32_t>::min() &&
         v <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

void SetDisplayResolution(Platform& platform, Settings& settings, double width, double height) {
  if (!FitsInt32(width) || !FitsInt32(height)) return;  // the call cannot be made
  const int w = static_cast<int>(std::trunc(width));
  const int h = static_cast<int>(std::trunc(height));
  if (w == 0 && h == 0) {
    platform.ChangeDesktopResolution(0, 0);
    return;
  }
  platform.ChangeDesktopResolution(w, h);  // the result is not examined
  settings.DisplayScale = 1;
  if (settings.FitToScreen) {
    // A zoom that does not fit a 16-bit whole number of at least 1 is not taken.
    double scale = RoundHalfEven(w / 256.0);
    if (h / 192.0 < scale) scale = RoundHalfEven(h / 192.0);
    if (scale < 1 || scale > std::numeric_limits<std::int16_t>::max()) return;
    settings.DisplayScale = static_cast<std::int16_t>(scale);
  }
  platform.SizeGameWindow(256 * settings.DisplayScale, 192 * settings.DisplayScale);
}

void HideMouseCursor(Platform& platform) {
  while (platform.ShowCursor(false) >= 0) {
  }
}

void ShowMouseCursor(Platform& platform) {
  while (platform.ShowCursor(true) < 0) {
  }
}

void ClearKeyState(Platform& platform, int keyCode) {
  KeyboardTable table = platform.GetKeyboardState();
  table[static_cast<std::size_t>(keyCode & 0xFF)] = 0;
  platform.SetKeyboardState(table);
}

void SetUpDisplay(Platform& platform, Settings& settings, const std::string& ddrawText) {
  const double ddraw = LeadingDigits(ddrawText);
  platform.SetCooperativeLevel(kCooperativeExclusive);
  platform.LockTaskSwitching(true);
  settings.DisplayScale = 1;
  settings.DisplayOffsetX = 32;
  settings.DisplayOffsetY = 4;
  bool modeSet = platform.SetDisplayMode(320, 200, 24);
  bool fallbackRan = false;
  if (!modeSet || ddraw == 0) {
    fallbackRan = true;
    modeSet = platform.SetDisplayMode(320, 200, 16);
  }
  if ((fallbackRan && !modeSet) || ddraw == 0) {
    platform.SetCooperativeLevel(kCooperativeNormal);
    SetDisplayResolution(platform, settings, ConfiguredSize(settings.ScreenWidthText),
                         ConfiguredSize(settings.ScreenHeightText));
    settings.DisplayOffsetX = 0;
    settings.DisplayOffsetY = 0;
    platform.SizeGameWindow(256 * settings.DisplayScale, 192 * settings.DisplayScale);
    platform.LockTaskSwitching(true);
  }
}

}  // namespace zendor
