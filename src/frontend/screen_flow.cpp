#include "frontend/screen_flow.h"

#include "app/shutdown.h"
#include "assets/sprite_sheets.h"
#include "common/settings.h"
#include "common/sound_catalogue.h"
#include "common/sound_system.h"
#include "frontend/loading_fade.h"
#include "frontend/menu.h"
#include "game/game_loop.h"
#include "game/hero.h"
#include "platform/virtual_keys.h"

namespace zendor {
namespace {

constexpr int kBlankPauseMs = 500;              // black window before the loading screen fades in
constexpr std::uint32_t kLoadingHoldMs = 2000;  // the loading screen stays at least this long
constexpr int kJinglePauseMs = 500;             // between the opening theme and the menu

}  // namespace

void Form_Activate(Ventana& v) {
  Platform& platform = v.platform;
  Window& w = platform.window();
  const std::int16_t steps = v.settings.FadeStepCount;

  w.setPersistentMode(true);
  DoEvents(v);
  w.clear();
  w.refresh();
  platform.Sleep(kBlankPauseMs);

  PlayPanFrames(v, steps, 0);
  const std::uint32_t preparationStart = platform.TickCount();
  v.SetScreenState(screens::kLoading);
  PrepareSpriteSheets(v);
  const std::uint32_t elapsed = platform.TickCount() - preparationStart;
  if (elapsed < kLoadingHoldMs) platform.Sleep(static_cast<int>(kLoadingHoldMs - elapsed));
  PlayPanFrames(v, 0, steps);
  w.clear();
  w.refresh();

  v.sound.SetRepeats(kTheme00ArrivalJingle, 0);
  v.sound.PlayTheme(kTheme00ArrivalJingle, 0);
  platform.Sleep(kJinglePauseMs);
  v.sound.Play(kEffect00MenuChime, false);
  DrawMenu(v);
}

void Form_KeyDown(Ventana& v, int keyCode) {
  const std::string& screen = v.ScreenState();
  if (screen == screens::kGame) {
    HandleGameKey(v, keyCode);
  } else if (screen == screens::kRedefine) {
    RedefineKeyDown(v, keyCode);
  } else if (screen == screens::kMenu) {
    MenuKeyDown(v, keyCode);
  } else if (screen == screens::kEnding) {
    HandleGameKey(v, vk::kEscape);  // on the ending every key leaves for the menu
  }
  // On the loading screen (or before it) a key does nothing.
}

void Form_KeyUp(Ventana& v, int keyCode) {
  HeroKeyRelease(v, keyCode);
}

void VentanaMessages::OnCloseRequest() {
  ShutDownAtOnce(v_);
}

void DoEvents(Ventana& v) {
  VentanaMessages messages(v);
  v.platform.PumpMessages(messages);
}

}  // namespace zendor
