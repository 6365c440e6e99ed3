#include "platform/window.h"

#include <algorithm>

namespace zendor {

Window::Window() : persistent_(256, 192), screen_(256, 192) {}

void Window::clear() {
  target().clear();
  if (!persistentMode_) touchScreen();
}

void Window::refresh() {
  if (persistentMode_) screen_ = persistent_;
  touchScreen();
}

void Window::repaint() {
  screen_ = persistent_;
  touchScreen();
}

void Window::setClientSize(int width, int height) {
  width = std::clamp(width, 1, kMaxClientSide);
  height = std::clamp(height, 1, kMaxClientSide);
  persistent_.resize(width, height);
  screen_.resize(width, height);
  touchScreen();
}

}  // namespace zendor
