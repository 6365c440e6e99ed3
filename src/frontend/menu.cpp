#include "frontend/menu.h"

#include <array>
#include <string>
#include <string_view>

#include "app/shutdown.h"
#include "common/int16.h"
#include "common/settings.h"
#include "common/sound_catalogue.h"
#include "common/sound_system.h"
#include "frontend/text_writer.h"
#include "game/game_loop.h"
#include "platform/blit.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"

namespace zendor {
namespace {

constexpr int kFadeSteps = 6;  // the font's six brightening rows
constexpr int kFadePauseMs = 25;
constexpr std::int16_t kComposed = -1;  // the line is composed off screen and copied in one piece

constexpr std::string_view kTitle = "ZENDOR VOSTRIK XXI";
constexpr std::string_view kPlayChoice = "1- JUEGO";
constexpr std::string_view kRedefineChoice = "2-REDEFINE";
constexpr std::string_view kNotice = "PULSA ESC PARA SALIR";  // 20 characters, columns 6..25
constexpr std::string_view kRedefineQuestion = "PULSA UNA TECLA PARA";

// The action asked for at each redefinition step, in the order of the key bindings.
constexpr std::array<std::string_view, 6> kActionWords = {"IZQUIERDA", "DERECHA", "ARRIBA",
                                                          "ABAJO",     "DISPARO", "PAUSA"};
constexpr int kWordRow = 88;
constexpr int kWordBandHeight = 10;  // rows 88..97
constexpr int kWordCentreColumn = 15;

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

// Clears the window through its persistent image, then leaves that image off: the menu's text
// is drawn straight onto the screen.
void ClearWindow(Ventana& v) {
  Window& w = v.platform.window();
  w.setPersistentMode(true);
  w.clear();
  w.refresh();
  w.setPersistentMode(false);
}

// Blacks out the band where the prompt word is written.
void ClearWordBand(Ventana& v) {
  const Settings& s = v.settings;
  const auto left = Fit16(static_cast<double>(s.DisplayOffsetX) * s.DisplayScale);
  const auto top = Fit16((static_cast<double>(s.DisplayOffsetY) + kWordRow) * s.DisplayScale);
  const auto width = Fit16(256.0 * s.DisplayScale);
  const auto height = Fit16(static_cast<double>(kWordBandHeight) * s.DisplayScale);
  if (!left || !top || !width || !height) return;
  Window& w = v.platform.window();
  FillRect(w.target(), *left, *top, *width, *height, kBlack);
  if (!w.persistentMode()) w.touchScreen();
}

}  // namespace

void DrawMenu(Ventana& v) {
  ClearWindow(v);
  v.sound.SetRepeats(kTheme05Menu, 0);
  v.sound.SetLoop(kTheme05Menu, true);
  v.sound.PlayTheme(kTheme05Menu, kThemeAtNextBar);
  v.sound.SetMasterVolume(0);
  v.sound.Play(kEffect00MenuChime, false);

  const std::string version = "BETA " + Trimmed(kVersionComment);
  for (std::int16_t k = 1; k <= kFadeSteps; ++k) {
    Escribe(v, 7, 16, kTitle, k, kComposed);
    Escribe(v, 11, 64, kPlayChoice, k, kComposed);
    Escribe(v, 11, 80, kRedefineChoice, k, kComposed);
    Escribe(v, 6, 128, kNotice, k, kComposed);
    Escribe(v, 11, 160, version, 3, kComposed);
    Escribe(v, 11, 168, version, -1, kComposed);  // its reflection, upside down and dark
    v.platform.Sleep(kFadePauseMs);
  }
  v.SetScreenState(screens::kMenu);
}

void MenuKeyDown(Ventana& v, int keyCode) {
  switch (keyCode) {
    case vk::k1:
      Jugar(v);
      break;
    case vk::k2:
      v.RedefineStep = 0;
      RedefinePrompt(v);
      break;
    case vk::kEscape:
      v.sound.StopTheme(kTheme05Menu);
      ShutDownGame(v);
    default:
      break;  // the keypad's digits and every other key do nothing here
  }
}

void RedefinePrompt(Ventana& v) {
  v.SetScreenState(screens::kRedefine);
  if (v.RedefineStep == 0) {
    ClearWindow(v);
    for (std::int16_t k = 1; k <= kFadeSteps; ++k) {
      Escribe(v, 6, 72, kRedefineQuestion, k, kComposed);
      v.platform.Sleep(kFadePauseMs);
    }
  }
  if (v.RedefineStep == static_cast<int>(kActionWords.size())) {
    DrawMenu(v);
    return;
  }
  const bool known = v.RedefineStep >= 0 && v.RedefineStep < static_cast<int>(kActionWords.size());
  const std::string_view word = known ? kActionWords[v.RedefineStep] : std::string_view();
  ClearWordBand(v);
  const auto column =
      static_cast<std::int16_t>(kWordCentreColumn - static_cast<int>(word.size()) / 2);
  for (std::int16_t k = 1; k <= kFadeSteps; ++k) {
    Escribe(v, column, kWordRow, word, k, kComposed);
    v.platform.Sleep(kFadePauseMs);
  }
}

void RedefineKeyDown(Ventana& v, int keyCode) {
  v.sound.SetFrequency(kEffect02KeyClick, 0);  // the click at its own pitch
  v.sound.Restart(kEffect02KeyClick);
  // Any key is taken, Escape and keys bound already included.
  if (v.RedefineStep >= 0 && v.RedefineStep < static_cast<int>(v.settings.KeyBindings.size())) {
    TryAssign(v.settings.KeyBindings[v.RedefineStep], keyCode);
  }
  TryAssign(v.RedefineStep, v.RedefineStep + 1.0);
  RedefinePrompt(v);
}

}  // namespace zendor
