#pragma once

#include <string>

#include "common/ventana.h"

namespace zendor {

// The start-up procedure: folders, the temporary-file list, the keyboard, the configuration, the
// pictures, the temporary files, the display and sound devices, then the game window is shown
// (its loading sequence runs and puts up the menu) and the cursor is confined to it.
// Returns false when an early step failed; the reason has then been shown in a message box.
bool StartUp(Ventana& v, const std::string& programFolder);

// Reads both configuration files into the settings (missing-file message included).
void ReadConfiguration(Ventana& v, std::string& ddrawText);

}  // namespace zendor
