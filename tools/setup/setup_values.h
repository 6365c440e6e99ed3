#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/config_files.h"

namespace zendor::setup {

// A managed key's value as the game will read it, and where it comes from.
struct EffectiveValue {
  ConfigKey key;
  std::string value;
  std::string source;  // the file's path, or "default" when the key or the file is missing
};

// Reads every managed key of a program folder (ending in '/') with the game's own reader.
std::vector<EffectiveValue> ReadEffectiveValues(const std::string& folder);

// One key to change: which key, and the value to write.
struct Assignment {
  ConfigKey key;
  std::string value;
};

// Checks "Section.Key=Value" (names without regard to case): the key must be one the set-up
// manages and the value one it offers. The reason is one line.
std::optional<Assignment> ParseAssignment(std::string_view text, std::string* error);
// Checks a value for a key; the reason is one line.
bool CheckValue(const ConfigKey& key, std::string_view value, std::string* error);

// The shipped value of every managed key.
std::vector<Assignment> DefaultAssignments();

// Writes the values into the folder's INI files, keeping whatever else they hold. Both files
// are read first: when either cannot be read or is malformed nothing is written. Each file is
// replaced in one step. The reason names the file.
bool WriteAssignments(const std::string& folder, const std::vector<Assignment>& values,
                      std::string* error);

// The value of a managed key among effective values ("Pantalla", "DDraw").
std::string ValueOf(const std::vector<EffectiveValue>& values, std::string_view section,
                    std::string_view key);

// What the game makes of the settings.
struct GameView {
  bool fullScreen = true;  // the 320 x 200 full-screen canvas (a window if the screen refuses)
  bool fitToScreen = false;
  int width = 0, height = 0;  // the screen size asked for; 0 x 0 is the desktop as it is
  int zoom = 1;               // of the 256 x 192 picture in a window
  int enemies = 3;            // at most on screen at once
  float rarity = 4;           // the higher, the more seldom new enemies come
  bool sound = true, music = true;
  bool mainFileMissing = false;  // the game will point the player to the set-up
};
// Runs the game's own reading of the configuration and its display set-up on a folder.
GameView ViewOf(const std::string& folder);

// The zoom the game picks for its window at a screen size (the game's own display rules).
int ZoomFor(bool fitToScreen, int width, int height);

// "often", "seldom"... for a spawn-rarity factor: how often new enemies come.
std::string HowOften(float rarity);

}  // namespace zendor::setup
