#pragma once

#include "common/ventana.h"
#include "platform/platform.h"

namespace zendor {

// The loading sequence, run once after the game window is first shown: the loading screen fades
// in, the pictures are prepared, it fades out, the jingle plays and the menu comes up.
void Form_Activate(Ventana& v);

// Routes a key press by the screen state.
void Form_KeyDown(Ventana& v, int keyCode);
// Applies a key release to the held-key flags and the hero, whatever the screen.
void Form_KeyUp(Ventana& v, int keyCode);

// Delivers the window's messages to the game window.
class VentanaMessages : public MessageHandler {
 public:
  explicit VentanaMessages(Ventana& v) : v_(v) {}
  void OnKeyDown(int virtualKey) override { Form_KeyDown(v_, virtualKey); }
  void OnKeyUp(int virtualKey) override { Form_KeyUp(v_, virtualKey); }
  void OnCloseRequest() override;

 private:
  Ventana& v_;
};

// Lets pending window messages run (the message pump of the game window).
void DoEvents(Ventana& v);

}  // namespace zendor
