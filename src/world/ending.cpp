#include "world/ending.h"

#include "common/settings.h"
#include "common/sound_catalogue.h"
#include "common/sound_system.h"
#include "common/tracer.h"
#include "frontend/screen_flow.h"
#include "frontend/text_writer.h"
#include "game/game_loop.h"
#include "platform/blit.h"
#include "platform/platform.h"

namespace zendor {
namespace {

constexpr std::int16_t kTextColour = 6;
constexpr std::int16_t kStraightOntoWindow = 0;

// A box of the logical screen, corners included, filled black straight onto the window.
void BlackBox(Ventana& v, int left, int top, int right, int bottom) {
  const Settings& s = v.settings;
  Window& w = v.platform.window();
  FillRect(w.target(), (s.DisplayOffsetX + left) * s.DisplayScale,
           (s.DisplayOffsetY + top) * s.DisplayScale, (right - left + 1) * s.DisplayScale,
           (bottom - top + 1) * s.DisplayScale, kBlack);
  w.touchScreen();
}

void RestartMenuTheme(Ventana& v) {
  v.sound.StopTheme(kTheme05Menu);
  ClearEnemies(v);
  v.sound.SetRepeats(kTheme05Menu, 0);
  v.sound.SetLoop(kTheme05Menu, true);
  v.sound.PlayTheme(kTheme05Menu, 0);
}

}  // namespace

void ShowEnding(Ventana& v, bool completed) {
  v.trace.Ending(completed);
  v.SetScreenState(screens::kEnding);
  v.game.EndReached = false;
  v.platform.Sleep(v.game.FrameDelay);

  // The last frame stays on screen with the words written over it.
  if (completed)
    Escribe(v, 1, 0, std::string("LA CLAVE ES ") + kCompletionCode, kTextColour,
            kStraightOntoWindow);
  BlackBox(v, 88, 64, 161, 72);
  Escribe(v, 12, 64, "THE END", kTextColour, kStraightOntoWindow);
  RestartMenuTheme(v);

  // Any key now acts as Escape and takes the player back to the menu.
  while (v.ScreenState() == screens::kEnding) {
    v.platform.WaitForMessage();
    DoEvents(v);
  }
}

}  // namespace zendor
