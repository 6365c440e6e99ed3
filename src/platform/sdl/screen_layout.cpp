#include "platform/sdl/screen_layout.h"

#include <algorithm>

namespace zendor {
namespace {

float FitScale(int canvasWidth, int canvasHeight, int outputWidth, int outputHeight) {
  if (canvasWidth <= 0 || canvasHeight <= 0 || outputWidth <= 0 || outputHeight <= 0) return 1;
  const int whole = std::min(outputWidth / canvasWidth, outputHeight / canvasHeight);
  if (whole >= 1) return static_cast<float>(whole);
  return std::min(static_cast<float>(outputWidth) / static_cast<float>(canvasWidth),
                  static_cast<float>(outputHeight) / static_cast<float>(canvasHeight));
}

}  // namespace

bool WantsFullScreen(const DisplayState& display) {
  return display.exclusiveMode || display.desktopChanged;
}

ScreenLayout LayOutScreen(const DisplayState& display, const Window& window, int outputWidth,
                          int outputHeight) {
  ScreenLayout layout;
  layout.fullScreen = WantsFullScreen(display);
  int canvasWidth = window.width(), canvasHeight = window.height();
  int pictureX = 0, pictureY = 0;
  if (display.exclusiveMode) {
    canvasWidth = display.modeWidth;
    canvasHeight = display.modeHeight;
    pictureX = window.left();
    pictureY = window.top();
  } else if (display.desktopChanged) {
    canvasWidth = display.desktopWidth;
    canvasHeight = display.desktopHeight;
    pictureX = window.left();
    pictureY = window.top();
  } else {
    layout.windowWidth = window.width();
    layout.windowHeight = window.height();
  }
  const float scale = FitScale(canvasWidth, canvasHeight, outputWidth, outputHeight);
  layout.scale = scale;
  const float width = static_cast<float>(canvasWidth) * scale;
  const float height = static_cast<float>(canvasHeight) * scale;
  // Whole pixels for the canvas corner, so every game pixel is the same size on screen.
  layout.canvas = {
      static_cast<float>(static_cast<int>((static_cast<float>(outputWidth) - width) / 2)),
      static_cast<float>(static_cast<int>((static_cast<float>(outputHeight) - height) / 2)), width,
      height};
  layout.picture = {layout.canvas.x + static_cast<float>(pictureX) * scale,
                    layout.canvas.y + static_cast<float>(pictureY) * scale,
                    static_cast<float>(window.width()) * scale,
                    static_cast<float>(window.height()) * scale};
  return layout;
}

}  // namespace zendor
