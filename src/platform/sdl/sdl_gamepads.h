#pragma once

#include <SDL2/SDL.h>

#include <map>
#include <vector>

#include "platform/gamepad.h"

namespace zendor {

// The gamepads SDL knows as game controllers, plugged in before the game started or while it
// runs: each is opened when it arrives and closed when it goes; their buttons and left stick
// become key presses.
class SdlGamepads {
 public:
  SdlGamepads();
  ~SdlGamepads();
  SdlGamepads(const SdlGamepads&) = delete;
  SdlGamepads& operator=(const SdlGamepads&) = delete;

  // The key presses and releases a controller event causes (none for other events).
  std::vector<PadKeyChange> Handle(const SDL_Event& event, const PadKeys& keys);

 private:
  std::vector<PadKeyChange> Stick(SDL_JoystickID pad, SDL_GameControllerAxis axis, int value,
                                  const PadKeys& keys);

  bool ready_ = false;
  std::map<SDL_JoystickID, SDL_GameController*> open_;
  PadPresses presses_;
};

}  // namespace zendor
