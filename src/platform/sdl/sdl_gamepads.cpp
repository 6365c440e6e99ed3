#include "platform/sdl/sdl_gamepads.h"

#include <optional>

namespace zendor {
namespace {

// The stick counts as pushed beyond half way and as let go under a quarter, so that a stick
// held near the edge does not flicker.
constexpr int kStickPushed = 16384;
constexpr int kStickReleased = 8192;

std::optional<PadControl> ButtonControl(int button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return PadControl::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return PadControl::Right;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return PadControl::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return PadControl::Down;
    case SDL_CONTROLLER_BUTTON_A:
      return PadControl::A;
    case SDL_CONTROLLER_BUTTON_B:
      return PadControl::B;
    case SDL_CONTROLLER_BUTTON_X:
      return PadControl::X;
    case SDL_CONTROLLER_BUTTON_Y:
      return PadControl::Y;
    case SDL_CONTROLLER_BUTTON_START:
      return PadControl::Start;
    case SDL_CONTROLLER_BUTTON_BACK:
      return PadControl::Back;
    default:
      return std::nullopt;
  }
}

void Append(std::vector<PadKeyChange>& to, const std::vector<PadKeyChange>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

}  // namespace

SdlGamepads::SdlGamepads() {
  // Controllers present now arrive as device-added events, like the ones plugged in later.
  ready_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

SdlGamepads::~SdlGamepads() {
  for (const auto& [id, controller] : open_) SDL_GameControllerClose(controller);
  if (ready_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

std::vector<PadKeyChange> SdlGamepads::Handle(const SDL_Event& event, const PadKeys& keys) {
  if (!ready_) return {};
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
      SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
      if (!controller) return {};
      const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
      if (open_.count(id)) {
        SDL_GameControllerClose(controller);  // already open: only one reference kept
      } else {
        open_[id] = controller;
      }
      return {};
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
      const auto it = open_.find(event.cdevice.which);
      if (it == open_.end()) return {};
      SDL_GameControllerClose(it->second);
      open_.erase(it);
      return presses_.Unplug(event.cdevice.which);
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const auto control = ButtonControl(event.cbutton.button);
      if (!control || !open_.count(event.cbutton.which)) return {};
      return presses_.Set(event.cbutton.which, *control, PadSource::Button,
                          event.type == SDL_CONTROLLERBUTTONDOWN, keys);
    }
    case SDL_CONTROLLERAXISMOTION:
      if (!open_.count(event.caxis.which)) return {};
      return Stick(event.caxis.which, static_cast<SDL_GameControllerAxis>(event.caxis.axis),
                   event.caxis.value, keys);
    default:
      return {};
  }
}

std::vector<PadKeyChange> SdlGamepads::Stick(SDL_JoystickID pad, SDL_GameControllerAxis axis,
                                             int value, const PadKeys& keys) {
  PadControl less, more;
  if (axis == SDL_CONTROLLER_AXIS_LEFTX) {
    less = PadControl::Left, more = PadControl::Right;
  } else if (axis == SDL_CONTROLLER_AXIS_LEFTY) {
    less = PadControl::Up, more = PadControl::Down;
  } else {
    return {};
  }
  std::vector<PadKeyChange> changes;
  // Letting go first, so that a stick swung from one side to the other releases before pressing.
  if (value > -kStickReleased)
    Append(changes, presses_.Set(pad, less, PadSource::Stick, false, keys));
  if (value < kStickReleased)
    Append(changes, presses_.Set(pad, more, PadSource::Stick, false, keys));
  if (value <= -kStickPushed)
    Append(changes, presses_.Set(pad, less, PadSource::Stick, true, keys));
  if (value >= kStickPushed) Append(changes, presses_.Set(pad, more, PadSource::Stick, true, keys));
  return changes;
}

}  // namespace zendor
