#include "frontend/screen_flow.h"

#include "app/shutdown.h"
#include "frontend/menu.h"

namespace zendor {

void Form_Activate(Ventana& v) {
  DrawMenu(v);
}
void Form_KeyDown(Ventana& v, int keyCode) {
  if (v.ScreenState() == "menu") MenuKeyDown(v, keyCode);
}
void Form_KeyUp(Ventana&, int) {}
void VentanaMessages::OnCloseRequest() {
  ShutDownAtOnce(v_);
}
void DoEvents(Ventana& v) {
  VentanaMessages messages(v);
  v.platform.PumpMessages(messages);
}

}  // namespace zendor
