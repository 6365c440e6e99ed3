#include "setup/setup_screen.h"

#include <cctype>
#include <cstdio>

#include "app/config_files.h"
#include "app/profile_writer.h"
#include "assets/sprite_catalogue.h"
#include "assets/sprite_sheets.h"
#include "common/settings.h"
#include "common/sound_system.h"
#include "common/tracer.h"
#include "common/ventana.h"
#include "frontend/text_writer.h"
#include "platform/blit.h"
#include "platform/platform.h"

namespace zendor::setup {
namespace {

constexpr std::int16_t kComposed = -1;  // each line is composed off screen, then copied
constexpr int kZoom = 2;
constexpr int kColumns = 32;
constexpr std::int16_t kTitleColour = 10;
constexpr std::int16_t kLabelColour = 3;
constexpr std::int16_t kChosenColour = 10;
constexpr std::int16_t kExplanationColour = 10;
constexpr std::int16_t kHintColour = 3;
constexpr int kFirstRowY = 28;
constexpr int kRowPitch = 11;
constexpr int kValueColumn = 16;
constexpr int kExplanationY = 106;
constexpr int kHintY = 118;
constexpr int kPanelX = 8, kPanelY = 128;

// The font has capitals, digits, "." and "-": anything else becomes a space.
std::string FontText(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!std::isupper(static_cast<unsigned char>(c)) &&
        !std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-')
      c = ' ';
  }
  if (text.size() > kColumns) text.resize(kColumns);
  return text;
}

void Write(Ventana& v, int column, int y, const std::string& text, std::int16_t colour) {
  Escribe(v, static_cast<std::int16_t>(column), static_cast<std::int16_t>(y), FontText(text),
          colour, kComposed);
}

int Centred(const std::string& text) {
  return (kColumns - static_cast<int>(text.size())) / 2;
}

void Draw(Ventana& v, const SetupMenu& menu) {
  Window& w = v.platform.window();
  w.clear();
  Write(v, Centred("ZENDOR VOSTRIK XXI"), 6, "ZENDOR VOSTRIK XXI", kTitleColour);
  Write(v, Centred("SET-UP"), 16, "SET-UP", kLabelColour);
  for (int i = 0; i < static_cast<int>(SetupMenu::Row::Count); ++i) {
    const auto row = static_cast<SetupMenu::Row>(i);
    const bool chosen = i == menu.selected();
    const int y = kFirstRowY + kRowPitch * i;
    const std::int16_t colour = chosen ? kChosenColour : kLabelColour;
    if (chosen) Write(v, 0, y, "-", kChosenColour);
    Write(v, 1, y, menu.Label(row), colour);
    const std::string value = menu.Value(row);
    if (!value.empty()) Write(v, kValueColumn, y, chosen ? "-" + value + "-" : " " + value, colour);
  }
  const std::string explanation = FontText(menu.Explanation());
  Write(v, Centred(explanation), kExplanationY, explanation, kExplanationColour);
  const std::string hint = "ENTER SAVES - ESC LEAVES";
  Write(v, Centred(hint), kHintY, hint, kHintColour);
  const Surface& panel = v.sheets.Panel;
  StretchBlt(w.target(), kPanelX * kZoom, kPanelY * kZoom, panel.width() * kZoom,
             panel.height() * kZoom, panel, 0, 0, panel.width(), panel.height(), Rop::SrcCopy);
  w.touchScreen();
}

class ScreenKeys : public MessageHandler {
 public:
  explicit ScreenKeys(SetupMenu& menu) : menu_(menu) {}
  void OnKeyDown(int virtualKey) override {
    if (action == SetupMenu::Action::None) action = menu_.OnKey(virtualKey);
    ++handled;
  }
  void OnKeyUp(int) override {}
  void OnCloseRequest() override { action = SetupMenu::Action::Leave; }

  SetupMenu::Action action = SetupMenu::Action::None;
  int handled = 0;

 private:
  SetupMenu& menu_;
};

}  // namespace

int RunSetupScreen(Platform& platform, const std::string& programFolder,
                   const std::vector<ScreenSize>& desktopSizes) {
  Settings settings;
  Tracer quiet;
  SoundSystem sound(quiet);
  Ventana v(platform, settings, sound, quiet);
  settings.ProgramFolder = programFolder;
  settings.DisplayScale = kZoom;
  std::string error;
  if (!LoadSpriteSheets(v.sheets, programFolder + kArtFolder + "/", &error) ||
      v.sheets.Letras.width() == 0) {
    platform.MessageBox(error, kSetupTitle, 16);
    return 1;
  }
  // A file that cannot be changed is named at once; the screen still shows what the game reads.
  for (const char* name : {kMainIni, kSoundIni}) {
    if (!LoadProfile(programFolder + name, &error)) platform.MessageBox(error, kSetupTitle, 48);
  }
  SetupMenu menu(ReadEffectiveValues(programFolder), desktopSizes);
  platform.SizeGameWindow(256 * kZoom, 192 * kZoom);
  platform.window().show();
  ScreenKeys keys(menu);
  Draw(v, menu);
  for (;;) {
    platform.WaitForMessage();
    const int before = keys.handled;
    platform.PumpMessages(keys);
    if (keys.action == SetupMenu::Action::Leave) return 0;
    if (keys.action == SetupMenu::Action::Save) {
      if (WriteAssignments(programFolder, menu.Changes(), &error)) return 0;
      platform.MessageBox(error, kSetupTitle, 16);
      keys.action = SetupMenu::Action::None;
    }
    if (keys.handled != before) Draw(v, menu);
  }
}

}  // namespace zendor::setup
