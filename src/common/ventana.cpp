#include "common/ventana.h"

#include "common/pad_layout.h"
#include "common/settings.h"
#include "common/tracer.h"
#include "platform/platform.h"

namespace zendor {

Ventana::Ventana(Platform& p, Settings& s, SoundSystem& snd, Tracer& t)
    : platform(p), settings(s), sound(snd), trace(t) {}

void SetIndicador(Ventana& v, std::string text) {
  v.game.Indicador = std::move(text);
  v.platform.ShowReadout(v.game.Indicador);
}

void Ventana::SetScreenState(std::string_view state) {
  if (state == screenState_) return;
  screenState_ = state;
  platform.SetPadKeys(PadKeysFor(state, settings.KeyBindings));
  trace.Screen(state);
}

}  // namespace zendor
