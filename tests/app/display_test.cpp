#include "app/display.h"

#include <gtest/gtest.h>

#include "support/game_fixture.h"

// Hiding the cursor and clearing lock keys at start-up, and putting them back at the end, are
// checked through the whole start-up in startup_test.cpp and the quitting tests.
namespace zendor {
namespace {

// The zoom is the screen size over 256 x 192 rounded half to even, the smaller of the two, and
// 1 unless the picture is fitted to the screen.
TEST(DisplayResolution, ZoomFollowsTheScreenSizeAndZeroRestoresTheDesktop) {
  const struct {
    bool fit;
    int width, height, scale;
  } cases[] = {{true, 640, 480, 2},   {true, 800, 600, 3}, {true, 896, 768, 4},
               {true, 1024, 768, 4},  {true, 320, 240, 1}, {true, 1280, 720, 4},
               {false, 1600, 1200, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height << " fit " << c.fit);
    HeadlessPlatform platform;
    Settings settings;
    settings.FitToScreen = c.fit;
    SetDisplayResolution(platform, settings, c.width, c.height);
    EXPECT_EQ(settings.DisplayScale, c.scale);
    EXPECT_EQ(platform.window().width(), 256 * c.scale);
    EXPECT_EQ(platform.window().height(), 192 * c.scale);
    EXPECT_TRUE(platform.display().desktopChanged);
    EXPECT_EQ(platform.display().desktopWidth, c.width);
    SetDisplayResolution(platform, settings, 0, 0);  // the desktop back, the zoom kept
    EXPECT_FALSE(platform.display().desktopChanged);
    EXPECT_EQ(settings.DisplayScale, c.scale);
    EXPECT_EQ(platform.window().width(), 256 * c.scale);
  }
}

TEST(DisplayResolution, AbsurdSizesNeverBreakTheWindow) {
  HeadlessPlatform platform;
  Settings settings;
  settings.FitToScreen = true;
  SetDisplayResolution(platform, settings, 5e12, 5e12);  // cannot even be asked for
  EXPECT_EQ(settings.DisplayScale, 1);
  SetDisplayResolution(platform, settings, 9000000, 7000000);  // a zoom past 16 bits
  EXPECT_EQ(settings.DisplayScale, 1);
  SetDisplayResolution(platform, settings, 100, 100);  // no whole zoom fits
  EXPECT_EQ(settings.DisplayScale, 1);
  SetDisplayResolution(platform, settings, 20000, 15000);  // a zoom of 78
  EXPECT_EQ(settings.DisplayScale, 78);
  EXPECT_LE(platform.window().width(), Window::kMaxClientSide);
}

// Exclusive only when asked for and available; otherwise a window, fitted to the configured
// screen size.
TEST(DisplayPath, FollowsTheDDrawValueAndTheConfiguredScreenSize) {
  const struct {
    const char* ddraw;
    bool refuseExclusive, exclusive;
    const char *width = "0", *height = "0";
    int scale = 1;
  } cases[] = {{"1", false, true},
               {"0", false, false},
               {"abc", false, false},
               {"2", false, true},
               {"1xyz", false, true},
               {"-1", false, false},  // only leading digits count: a sign is no digit
               {"+1", false, false},
               {"0.5", false, false},
               {"007", false, true},
               {"1", true, false},
               {"0", false, false, "1024", "768", 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.ddraw << (c.refuseExclusive ? " refused " : " ") << c.width);
    HeadlessPlatform platform;
    platform.RefuseExclusiveModes(c.refuseExclusive);
    Settings settings;
    settings.FitToScreen = true;
    settings.ScreenWidthText = c.width;
    settings.ScreenHeightText = c.height;
    SetUpDisplay(platform, settings, c.ddraw);
    EXPECT_EQ(platform.display().exclusiveMode, c.exclusive);
    EXPECT_TRUE(platform.taskSwitchingLocked());
    EXPECT_EQ(settings.DisplayScale, c.scale);
    if (c.exclusive) {
      EXPECT_EQ(settings.DisplayOffsetX, 32);
      EXPECT_EQ(settings.DisplayOffsetY, 4);
      EXPECT_EQ(platform.window().width(), 320);
      EXPECT_EQ(platform.display().modeBits, 24);
    } else {
      EXPECT_EQ(settings.DisplayOffsetX, 0);
      EXPECT_EQ(settings.DisplayOffsetY, 0);
      EXPECT_EQ(platform.window().width(), 256 * c.scale);
      EXPECT_EQ(platform.window().height(), 192 * c.scale);
      EXPECT_EQ(platform.display().desktopChanged, c.scale > 1);
    }
  }
}

}  // namespace
}  // namespace zendor
