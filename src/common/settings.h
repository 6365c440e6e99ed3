#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/temp_registry.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"

namespace zendor {

// Index of each action in the key bindings.
enum Binding : int { kBindLeft = 0, kBindRight, kBindUp, kBindDown, kBindFire, kBindPause };

inline constexpr std::array<std::int16_t, 6> kDefaultKeyBindings = {
    vk::kLeft, vk::kRight, vk::kUp, vk::kDown, vk::kControl, vk::kPause};

// Program-wide settings, written at start-up and read everywhere.
struct Settings {
  std::string ProgramFolder;  // always ends in '/'
  std::string TempFolder;     // always ends in '/'
  TempFileRegistry Registry;  // this run's list of temporary files
  std::string NewLine = "\r\n";
  KeyboardTable SavedKeyboardState{};

  bool FitToScreen = false;
  bool SoundOn = false;
  bool MusicOn = false;
  std::int16_t LanguageIndex = 0;
  std::int16_t MaxEnemies = 2;
  float SpawnRarityScale = 4;
  std::array<std::int16_t, 6> KeyBindings = kDefaultKeyBindings;

  // Where and how large the 256 x 192 picture is drawn in the game window.
  std::int16_t DisplayScale = 1;
  std::int16_t DisplayOffsetX = 0;
  std::int16_t DisplayOffsetY = 0;

  // Darkened copies of the loading picture.
  std::int16_t FadeStepCount = 5;

  // The requested screen size as read from the configuration, handed to the display set-up.
  std::string ScreenWidthText = "0";
  std::string ScreenHeightText = "0";
};

// Product name and version comment shown by the menu and the farewell box.
inline constexpr const char* kProductName = "Zendor Vostrik XxI";
inline constexpr const char* kVersionComment = "060813";

}  // namespace zendor
