#include "frontend/menu.h"

#include "app/shutdown.h"

namespace zendor {

void DrawMenu(Ventana& v) {
  v.SetScreenState(screens::kMenu);
}
void MenuKeyDown(Ventana& v, int keyCode) {
  if (keyCode == 27) ShutDownGame(v);
}
void RedefinePrompt(Ventana&) {}
void RedefineKeyDown(Ventana&, int) {}

}  // namespace zendor
