#include "platform/sdl/key_map.h"

#include <gtest/gtest.h>

#include "platform/virtual_keys.h"

namespace zendor {
namespace {

int Placed(SDL_Scancode scancode) {
  return VirtualKeyFromSdl(scancode, SDLK_UNKNOWN);
}

TEST(SdlKeyMap, LettersFollowTheLayoutAndDigitsThePlace) {
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_A, SDLK_a), 65);
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_Z, SDLK_z), 90);
  // The key in the place of Q prints "A" on a French keyboard: it is the A key.
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_Q, SDLK_a), 65);
  // A layout without Latin letters still gives the letter of the place.
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_F, 0x430), 70);
  // Digits by place, even where the layout prints punctuation on them.
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_1, SDLK_AMPERSAND), 49);
  EXPECT_EQ(Placed(SDL_SCANCODE_9), 57);
  EXPECT_EQ(Placed(SDL_SCANCODE_0), 48);
}

TEST(SdlKeyMap, KeypadKeysAreTheKeypadCodesWhateverNumLockSays) {
  const SDL_Scancode digits[] = {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2,
                                 SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,
                                 SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_8,
                                 SDL_SCANCODE_KP_9};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(Placed(digits[i]), 96 + i) << i;
    // With Num Lock off SDL reports the navigation key, but the place is what counts.
    EXPECT_EQ(VirtualKeyFromSdl(digits[i], SDLK_HOME), 96 + i) << i;
  }
  EXPECT_EQ(Placed(SDL_SCANCODE_KP_PLUS), 107);
  EXPECT_EQ(Placed(SDL_SCANCODE_KP_MINUS), 109);
  EXPECT_EQ(Placed(SDL_SCANCODE_KP_MULTIPLY), 106);
  EXPECT_EQ(Placed(SDL_SCANCODE_KP_DIVIDE), 111);
  EXPECT_EQ(Placed(SDL_SCANCODE_KP_PERIOD), 110);
  EXPECT_EQ(Placed(SDL_SCANCODE_KP_ENTER), vk::kReturn);
}

TEST(SdlKeyMap, GameControlAndSystemKeys) {
  const std::pair<SDL_Scancode, int> expected[] = {
      {SDL_SCANCODE_LEFT, 37},        {SDL_SCANCODE_UP, 38},
      {SDL_SCANCODE_RIGHT, 39},       {SDL_SCANCODE_DOWN, 40},
      {SDL_SCANCODE_LCTRL, 17},       {SDL_SCANCODE_RCTRL, 17},
      {SDL_SCANCODE_LSHIFT, 16},      {SDL_SCANCODE_RSHIFT, 16},
      {SDL_SCANCODE_LALT, 18},        {SDL_SCANCODE_RALT, 18},
      {SDL_SCANCODE_PAUSE, 19},       {SDL_SCANCODE_ESCAPE, 27},
      {SDL_SCANCODE_TAB, 9},          {SDL_SCANCODE_RETURN, 13},
      {SDL_SCANCODE_BACKSPACE, 8},    {SDL_SCANCODE_SPACE, 32},
      {SDL_SCANCODE_CAPSLOCK, 20},    {SDL_SCANCODE_NUMLOCKCLEAR, 144},
      {SDL_SCANCODE_SCROLLLOCK, 145}, {SDL_SCANCODE_PRINTSCREEN, 44},
      {SDL_SCANCODE_INSERT, 45},      {SDL_SCANCODE_DELETE, 46},
      {SDL_SCANCODE_HOME, 36},        {SDL_SCANCODE_END, 35},
      {SDL_SCANCODE_PAGEUP, 33},      {SDL_SCANCODE_PAGEDOWN, 34},
      {SDL_SCANCODE_F1, 112},         {SDL_SCANCODE_F10, 121},
      {SDL_SCANCODE_F12, 123},
  };
  for (const auto& [scancode, virtualKey] : expected) {
    EXPECT_EQ(Placed(scancode), virtualKey) << SDL_GetScancodeName(scancode);
  }
}

TEST(SdlKeyMap, KeysTheGameNeverSeesAreZero) {
  EXPECT_EQ(Placed(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(Placed(SDL_SCANCODE_AUDIONEXT), 0);
  EXPECT_EQ(VirtualKeyFromSdl(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES), SDLK_UNKNOWN), 0);
}

}  // namespace
}  // namespace zendor
