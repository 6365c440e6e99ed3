#include "common/pad_layout.h"

#include "common/settings.h"
#include "common/ventana.h"
#include "platform/virtual_keys.h"

namespace zendor {

PadKeys PadKeysFor(std::string_view screen, const std::array<std::int16_t, 6>& keyBindings) {
  PadKeys keys;
  if (screen == screens::kMenu) {
    keys[PadControl::A] = vk::k1;
    keys[PadControl::Y] = vk::k2;
    keys[PadControl::Back] = vk::kEscape;
  } else if (screen == screens::kGame || screen == screens::kEnding) {
    keys[PadControl::Left] = keyBindings[kBindLeft];
    keys[PadControl::Right] = keyBindings[kBindRight];
    keys[PadControl::Up] = keyBindings[kBindUp];
    keys[PadControl::Down] = keyBindings[kBindDown];
    keys[PadControl::A] = keyBindings[kBindUp];
    keys[PadControl::X] = keyBindings[kBindFire];
    keys[PadControl::B] = keyBindings[kBindFire];
    keys[PadControl::Start] = keyBindings[kBindPause];
    keys[PadControl::Back] = vk::kEscape;
  }
  return keys;
}

}  // namespace zendor
