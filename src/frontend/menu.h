#pragma once

#include "common/ventana.h"

namespace zendor {

// Clears the window, starts the menu theme, fades the menu in and names the screen "menu".
void DrawMenu(Ventana& v);
// "1" plays, "2" redefines the keys, Escape quits.
void MenuKeyDown(Ventana& v, int keyCode);
// Asks for the key of the current redefinition step (back to the menu after the sixth).
void RedefinePrompt(Ventana& v);
// Takes the pressed key as the binding of the current step.
void RedefineKeyDown(Ventana& v, int keyCode);

}  // namespace zendor
