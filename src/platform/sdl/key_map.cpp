#include "platform/sdl/key_map.h"

#include <array>

#include "platform/virtual_keys.h"

namespace zendor {
namespace {

struct KeyPair {
  SDL_Scancode scancode;
  int virtualKey;
};

// Keys taken by their place on the keyboard (letters and digits are ranges, handled apart).
constexpr KeyPair kPlacedKeys[] = {
    {SDL_SCANCODE_BACKSPACE, vk::kBack},
    {SDL_SCANCODE_TAB, vk::kTab},
    {SDL_SCANCODE_RETURN, vk::kReturn},
    {SDL_SCANCODE_KP_ENTER, vk::kReturn},
    {SDL_SCANCODE_LSHIFT, vk::kShift},
    {SDL_SCANCODE_RSHIFT, vk::kShift},
    {SDL_SCANCODE_LCTRL, vk::kControl},
    {SDL_SCANCODE_RCTRL, vk::kControl},
    {SDL_SCANCODE_LALT, vk::kMenu},
    {SDL_SCANCODE_RALT, vk::kMenu},
    {SDL_SCANCODE_PAUSE, vk::kPause},
    {SDL_SCANCODE_CAPSLOCK, vk::kCapital},
    {SDL_SCANCODE_ESCAPE, vk::kEscape},
    {SDL_SCANCODE_SPACE, vk::kSpace},
    {SDL_SCANCODE_PAGEUP, vk::kPrior},
    {SDL_SCANCODE_PAGEDOWN, vk::kNext},
    {SDL_SCANCODE_END, vk::kEnd},
    {SDL_SCANCODE_HOME, vk::kHome},
    {SDL_SCANCODE_LEFT, vk::kLeft},
    {SDL_SCANCODE_UP, vk::kUp},
    {SDL_SCANCODE_RIGHT, vk::kRight},
    {SDL_SCANCODE_DOWN, vk::kDown},
    {SDL_SCANCODE_PRINTSCREEN, vk::kSnapshot},
    {SDL_SCANCODE_INSERT, vk::kInsert},
    {SDL_SCANCODE_DELETE, vk::kDelete},
    {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92},
    {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_KP_0, vk::kNumpad0},
    {SDL_SCANCODE_KP_1, vk::kNumpad0 + 1},
    {SDL_SCANCODE_KP_2, vk::kNumpad0 + 2},
    {SDL_SCANCODE_KP_3, vk::kNumpad0 + 3},
    {SDL_SCANCODE_KP_4, vk::kNumpad0 + 4},
    {SDL_SCANCODE_KP_5, vk::kNumpad0 + 5},
    {SDL_SCANCODE_KP_6, vk::kNumpad0 + 6},
    {SDL_SCANCODE_KP_7, vk::kNumpad0 + 7},
    {SDL_SCANCODE_KP_8, vk::kNumpad0 + 8},
    {SDL_SCANCODE_KP_9, vk::kNumpad0 + 9},
    {SDL_SCANCODE_KP_MULTIPLY, vk::kMultiply},
    {SDL_SCANCODE_KP_PLUS, vk::kAdd},
    {SDL_SCANCODE_KP_MINUS, vk::kSubtract},
    {SDL_SCANCODE_KP_PERIOD, vk::kDecimal},
    {SDL_SCANCODE_KP_DIVIDE, vk::kDivide},
    {SDL_SCANCODE_F1, vk::kF1},
    {SDL_SCANCODE_F2, vk::kF1 + 1},
    {SDL_SCANCODE_F3, vk::kF1 + 2},
    {SDL_SCANCODE_F4, vk::kF1 + 3},
    {SDL_SCANCODE_F5, vk::kF1 + 4},
    {SDL_SCANCODE_F6, vk::kF1 + 5},
    {SDL_SCANCODE_F7, vk::kF1 + 6},
    {SDL_SCANCODE_F8, vk::kF1 + 7},
    {SDL_SCANCODE_F9, vk::kF1 + 8},
    {SDL_SCANCODE_F10, vk::kF1 + 9},
    {SDL_SCANCODE_F11, vk::kF1 + 10},
    {SDL_SCANCODE_F12, vk::kF1 + 11},
    {SDL_SCANCODE_NUMLOCKCLEAR, vk::kNumLock},
    {SDL_SCANCODE_SCROLLLOCK, vk::kScroll},
    // Punctuation keys, by their place on a US keyboard.
    {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},
    {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222},
    {SDL_SCANCODE_NONUSBACKSLASH, 226},
};

// Built once: scancodes index straight into it.
constexpr auto kByScancode = [] {
  std::array<int, SDL_NUM_SCANCODES> table{};
  for (int i = 0; i < 26; ++i) table[SDL_SCANCODE_A + i] = vk::kA + i;
  for (int i = 0; i < 9; ++i) table[SDL_SCANCODE_1 + i] = vk::k1 + i;
  table[SDL_SCANCODE_0] = vk::k0;
  for (const KeyPair& pair : kPlacedKeys) table[pair.scancode] = pair.virtualKey;
  return table;
}();

}  // namespace

int VirtualKeyFromSdl(SDL_Scancode scancode, SDL_Keycode keycode) {
  if (keycode >= SDLK_a && keycode <= SDLK_z) return vk::kA + (keycode - SDLK_a);
  if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
  return kByScancode[scancode];
}

}  // namespace zendor
