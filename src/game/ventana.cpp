#include "game/ventana.h"

#include "game/tracer.h"

namespace zendor {

Ventana::Ventana(Platform& p, Settings& s, SoundSystem& snd, Tracer& t)
    : platform(p), settings(s), sound(snd), trace(t) {}

void Ventana::SetScreenState(std::string_view state) {
  if (state == screenState_) return;
  screenState_ = state;
  trace.Screen(state);
}

}  // namespace zendor
