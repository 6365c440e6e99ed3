#pragma once

#include <SDL2/SDL_keyboard.h>

namespace zendor {

// The Windows virtual-key code of an SDL key, or 0 for keys the game never sees. Letters follow
// the player's keyboard layout (the key that prints "A" is 65); every other key is taken by its
// place on the keyboard, so the keypad digits are 96..105 whatever Num Lock says and both Ctrl
// keys are 17.
int VirtualKeyFromSdl(SDL_Scancode scancode, SDL_Keycode keycode);

}  // namespace zendor
