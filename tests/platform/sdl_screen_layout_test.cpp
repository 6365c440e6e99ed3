#include "platform/sdl/screen_layout.h"

#include <gtest/gtest.h>

namespace zendor {
namespace {

DisplayState ExclusiveMode() {
  DisplayState display;
  display.exclusiveLevel = display.exclusiveMode = true;
  display.modeWidth = 320;
  display.modeHeight = 200;
  display.modeBits = 24;
  return display;
}

DisplayState Desktop(int width, int height) {
  DisplayState display;
  display.desktopChanged = true;
  display.desktopWidth = width;
  display.desktopHeight = height;
  return display;
}

Window GameWindow(int width, int height, int left = 0, int top = 0) {
  Window window;
  window.setClientSize(width, height);
  window.move(left, top);
  return window;
}

TEST(SdlScreenLayout, ExclusiveModeIsEnlargedByWholeStepsAndCentred) {
  const Window window = GameWindow(320, 200);
  const ScreenLayout wide = LayOutScreen(ExclusiveMode(), window, 1920, 1080);
  EXPECT_TRUE(wide.fullScreen);
  EXPECT_EQ(wide.scale, 5);
  EXPECT_EQ(wide.canvas, (LayoutRect{160, 40, 1600, 1000}));
  EXPECT_EQ(wide.picture, wide.canvas);
  // 1366 x 768: 4 fits across, 3 down.
  const ScreenLayout laptop = LayOutScreen(ExclusiveMode(), window, 1366, 768);
  EXPECT_EQ(laptop.scale, 3);
  EXPECT_EQ(laptop.canvas, (LayoutRect{203, 84, 960, 600}));
}

TEST(SdlScreenLayout, EmulatedDesktopHoldsTheWindowAtItsPlace) {
  // 640 x 480 on 1920 x 1080: twice, with the 512 x 384 window centred on the small desktop.
  const Window window = GameWindow(512, 384, 64, 48);
  const ScreenLayout layout = LayOutScreen(Desktop(640, 480), window, 1920, 1080);
  EXPECT_TRUE(layout.fullScreen);
  EXPECT_EQ(layout.scale, 2);
  EXPECT_EQ(layout.canvas, (LayoutRect{320, 60, 1280, 960}));
  EXPECT_EQ(layout.picture, (LayoutRect{320 + 128, 60 + 96, 1024, 768}));
  // A desktop the size of the screen is shown as it is.
  const ScreenLayout same = LayOutScreen(Desktop(1920, 1080), window, 1920, 1080);
  EXPECT_EQ(same.scale, 1);
  EXPECT_EQ(same.canvas, (LayoutRect{0, 0, 1920, 1080}));
}

TEST(SdlScreenLayout, ADesktopLargerThanTheScreenIsShrunkToFit) {
  const Window window = GameWindow(1280, 960, 640, 240);
  const ScreenLayout layout = LayOutScreen(Desktop(2560, 1440), window, 1920, 1080);
  EXPECT_FLOAT_EQ(layout.scale, 0.75f);
  EXPECT_EQ(layout.canvas, (LayoutRect{0, 0, 1920, 1080}));
  EXPECT_EQ(layout.picture, (LayoutRect{480, 180, 960, 720}));
}

TEST(SdlScreenLayout, WindowedPathIsAWindowOfTheGameWindowsSize) {
  const Window window = GameWindow(768, 576, 576, 252);
  const ScreenLayout layout = LayOutScreen(DisplayState{}, window, 768, 576);
  EXPECT_FALSE(layout.fullScreen);
  EXPECT_EQ(layout.windowWidth, 768);
  EXPECT_EQ(layout.windowHeight, 576);
  EXPECT_EQ(layout.scale, 1);
  EXPECT_EQ(layout.picture, (LayoutRect{0, 0, 768, 576}));
  // A window system that gives a smaller window gets the whole picture, smaller.
  const ScreenLayout cramped = LayOutScreen(DisplayState{}, window, 384, 300);
  EXPECT_FLOAT_EQ(cramped.scale, 0.5f);
  EXPECT_EQ(cramped.picture, (LayoutRect{0, 6, 384, 288}));
}

}  // namespace
}  // namespace zendor
