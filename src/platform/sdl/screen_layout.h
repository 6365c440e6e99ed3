#pragma once

#include "platform/platform.h"
#include "platform/window.h"

namespace zendor {

struct LayoutRect {
  float x = 0, y = 0, width = 0, height = 0;
  bool operator==(const LayoutRect&) const = default;
};

// Where the game's pixels land on the player's real screen. The screen the game believes in
// (the 320 x 200 mode, the emulated desktop, or just the window) is the canvas; it is enlarged
// by the largest whole factor that fits the output, or shrunk to fit if even 1 does not, and
// centred on black. The game window's picture sits inside the canvas at its own place.
struct ScreenLayout {
  bool fullScreen = false;
  int windowWidth = 0, windowHeight = 0;  // the real window asked for when not full screen
  float scale = 1;
  LayoutRect canvas;   // on the output; black stands for everything around it
  LayoutRect picture;  // the game window's screen on the output, shown only inside the canvas
};

// Whether the display state asks for the whole real screen.
bool WantsFullScreen(const DisplayState& display);

ScreenLayout LayOutScreen(const DisplayState& display, const Window& window, int outputWidth,
                          int outputHeight);

}  // namespace zendor
