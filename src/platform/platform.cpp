#include "platform/platform.h"

#include <algorithm>

#include "platform/temp_folder.h"
#include "platform/virtual_keys.h"

namespace zendor {

Platform::Platform() = default;
Platform::~Platform() = default;

std::string Platform::TempPath(std::string* error) {
  return PrivateTempFolder(error);
}

void Platform::SetKeyboardState(const KeyboardTable& table) {
  keyboard_ = table;
  KeyboardStateChanged();
}

void Platform::RecordKeyDown(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return;
  std::uint8_t& entry = keyboard_[virtualKey];
  if ((entry & 0x80) == 0) entry ^= 0x01;  // a fresh press flips the toggle (lock keys)
  entry |= 0x80;
}

void Platform::RecordKeyUp(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return;
  keyboard_[virtualKey] &= static_cast<std::uint8_t>(~0x80);
}

int Platform::ShowCursor(bool show) {
  cursorCount_ += show ? 1 : -1;
  CursorChanged();
  return cursorCount_;
}

void Platform::ClipCursor(std::optional<ScreenRect> rect) {
  cursorClip_ = rect;
  CursorChanged();
}

void Platform::SetBusyPointer(bool busy) {
  busyPointer_ = busy;
  StartUpWindowsChanged();
}

void Platform::ShowSplash(const Surface& picture) {
  splashShown_ = true;
  splashPicture_ = picture;
  StartUpWindowsChanged();
}

void Platform::CloseSplash() {
  splashShown_ = false;
  splashPicture_ = Surface();
  StartUpWindowsChanged();
}

void Platform::ShowCover() {
  coverShown_ = true;
  StartUpWindowsChanged();
}

void Platform::CloseCover() {
  coverShown_ = false;
  StartUpWindowsChanged();
}

void Platform::LockTaskSwitching(bool locked) {
  taskSwitchingLocked_ = locked;
}

void Platform::SetCooperativeLevel(int flags) {
  const bool exclusive = (flags & 0x01) != 0;  // DDSCL_FULLSCREEN
  display_.exclusiveLevel = exclusive;
  if (!exclusive && display_.exclusiveMode) {
    // Leaving exclusive use gives the desktop back its own mode.
    display_.exclusiveMode = false;
    display_.modeWidth = display_.modeHeight = display_.modeBits = 0;
    PlaceGameWindow();
    DisplayChanged();
  }
}

bool Platform::SetDisplayMode(int width, int height, int bitsPerPixel) {
  if (!HasGraphicsDevice() || !display_.exclusiveLevel ||
      !SupportsExclusiveMode(width, height, bitsPerPixel)) {
    return false;
  }
  display_.exclusiveMode = true;
  display_.modeWidth = width;
  display_.modeHeight = height;
  display_.modeBits = bitsPerPixel;
  // The game window covers the whole exclusive screen.
  window_.setClientSize(width, height);
  window_.move(0, 0);
  DisplayChanged();
  return true;
}

bool Platform::SupportsDesktopResolution(int width, int height) const {
  return width >= 1 && height >= 1 && width <= Window::kMaxClientSide &&
         height <= Window::kMaxClientSide;
}

bool Platform::ChangeDesktopResolution(int width, int height) {
  if (width == 0 && height == 0) {
    display_.desktopChanged = false;
    display_.desktopWidth = display_.desktopHeight = 0;
  } else if (SupportsDesktopResolution(width, height)) {
    display_.desktopChanged = true;
    display_.desktopWidth = width;
    display_.desktopHeight = height;
  } else {
    return false;
  }
  PlaceGameWindow();
  DisplayChanged();
  return true;
}

void Platform::SizeGameWindow(int width, int height) {
  window_.setClientSize(width, height);
  PlaceGameWindow();
  DisplayChanged();
}

void Platform::PlaceGameWindow() {
  if (display_.exclusiveMode) {
    window_.move(0, 0);
    return;
  }
  const int dw = display_.desktopChanged ? display_.desktopWidth : RealDesktopWidth();
  const int dh = display_.desktopChanged ? display_.desktopHeight : RealDesktopHeight();
  window_.move(std::max(0, (dw - window_.width()) / 2), std::max(0, (dh - window_.height()) / 2));
}

}  // namespace zendor
