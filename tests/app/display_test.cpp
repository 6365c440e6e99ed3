#include "app/display.h"

#include <gtest/gtest.h>

#include "support/game_fixture.h"

namespace zendor {
namespace {

struct ZoomCase {
  int width, height, scale;
};

class FitToScreen : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(FitToScreen, ZoomFollowsTheScreenSize) {
  const ZoomCase c = GetParam();
  HeadlessPlatform platform;
  Settings settings;
  settings.FitToScreen = true;
  SetDisplayResolution(platform, settings, c.width, c.height);
  EXPECT_EQ(settings.DisplayScale, c.scale);
  EXPECT_EQ(platform.window().width(), 256 * c.scale);
  EXPECT_EQ(platform.window().height(), 192 * c.scale);
  EXPECT_TRUE(platform.display().desktopChanged);
  EXPECT_EQ(platform.display().desktopWidth, c.width);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, FitToScreen,
                         ::testing::Values(ZoomCase{640, 480, 2}, ZoomCase{800, 600, 3},
                                           ZoomCase{1024, 768, 4}, ZoomCase{320, 240, 1},
                                           ZoomCase{1280, 720, 4}));

TEST(DisplayResolution, ZeroRestoresTheDesktopAndKeepsTheZoom) {
  HeadlessPlatform platform;
  Settings settings;
  settings.FitToScreen = true;
  SetDisplayResolution(platform, settings, 800, 600);
  SetDisplayResolution(platform, settings, 0, 0);
  EXPECT_FALSE(platform.display().desktopChanged);
  EXPECT_EQ(settings.DisplayScale, 3);
  EXPECT_EQ(platform.window().width(), 768);
}

TEST(DisplayResolution, WithoutFitToScreenTheZoomIsOne) {
  HeadlessPlatform platform;
  Settings settings;
  SetDisplayResolution(platform, settings, 1600, 1200);
  EXPECT_EQ(settings.DisplayScale, 1);
  EXPECT_EQ(platform.window().width(), 256);
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

TEST(Cursor, HidingTwiceAndShowingOnceLeavesItVisible) {
  HeadlessPlatform platform;
  HideMouseCursor(platform);
  EXPECT_LT(platform.cursorCount(), 0);
  HideMouseCursor(platform);
  ShowMouseCursor(platform);
  EXPECT_GE(platform.cursorCount(), 0);
}

TEST(KeyboardState, ClearingAKeyTurnsItsLockOff) {
  HeadlessPlatform platform;
  KeyboardTable table{};
  table[20] = 0x01;  // Caps Lock on
  table[65] = 0x80;
  platform.SetKeyboardState(table);
  ClearKeyState(platform, 20);
  EXPECT_EQ(platform.GetKeyboardState()[20], 0);
  EXPECT_EQ(platform.GetKeyboardState()[65], 0x80);
}

struct PathCase {
  const char* ddraw;
  bool refuseExclusive;
  bool exclusive;
};

class DisplayPath : public ::testing::TestWithParam<PathCase> {};

TEST_P(DisplayPath, ExclusiveOnlyWhenAskedAndAvailable) {
  const PathCase c = GetParam();
  HeadlessPlatform platform;
  platform.RefuseExclusiveModes(c.refuseExclusive);
  Settings settings;
  settings.ScreenWidthText = "0";
  settings.ScreenHeightText = "0";
  SetUpDisplay(platform, settings, c.ddraw);
  EXPECT_EQ(platform.display().exclusiveMode, c.exclusive);
  EXPECT_TRUE(platform.taskSwitchingLocked());
  EXPECT_EQ(settings.DisplayScale, 1);
  if (c.exclusive) {
    EXPECT_EQ(settings.DisplayOffsetX, 32);
    EXPECT_EQ(settings.DisplayOffsetY, 4);
    EXPECT_EQ(platform.window().width(), 320);
    EXPECT_EQ(platform.display().modeBits, 24);
  } else {
    EXPECT_EQ(settings.DisplayOffsetX, 0);
    EXPECT_EQ(settings.DisplayOffsetY, 0);
    EXPECT_EQ(platform.window().width(), 256);
    EXPECT_EQ(platform.window().height(), 192);
    EXPECT_FALSE(platform.display().desktopChanged);
  }
}

INSTANTIATE_TEST_SUITE_P(DDrawValues, DisplayPath,
                         ::testing::Values(PathCase{"1", false, true}, PathCase{"0", false, false},
                                           PathCase{"abc", false, false},
                                           PathCase{"2", false, true},
                                           PathCase{"1xyz", false, true},
                                           PathCase{"1", true, false}));

TEST(DisplayPathWindowed, ConfiguredScreenSizeZooms) {
  HeadlessPlatform platform;
  Settings settings;
  settings.FitToScreen = true;
  settings.ScreenWidthText = "1024";
  settings.ScreenHeightText = "768";
  SetUpDisplay(platform, settings, "0");
  EXPECT_EQ(settings.DisplayScale, 4);
  EXPECT_EQ(platform.window().width(), 1024);
  EXPECT_EQ(platform.window().left(), 0);
}

}  // namespace
}  // namespace zendor
