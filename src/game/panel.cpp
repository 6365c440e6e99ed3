#include "game/panel.h"

#include <string>

#include "common/settings.h"
#include "frontend/text_writer.h"
#include "platform/blit.h"
#include "platform/platform.h"

namespace zendor {
namespace {

constexpr int kPanelWidth = 240, kPanelHeight = 64;
constexpr int kPanelLeft = 8, kPanelTop = 128;  // on the 256 x 192 logical screen
constexpr int kPanelRowInTemp = 120;
constexpr std::int16_t kScoreColumn = 10, kScoreRow = 176, kScoreColour = 6, kScoreHeight = 8;
constexpr std::int16_t kScoreBoxX = 72, kScoreBoxY = 48;  // the score's place in the panel
constexpr int kScoreDigits = 6;
constexpr int kLivesLeft = 59, kLivesTop = 152;
constexpr int kLivesCellWidth = 10, kLivesCellHeight = 16;
constexpr std::int16_t kComposed = -1;

// A logical rectangle stretched from `source` onto the window at the display offset and scale.
void StretchToWindow(Ventana& v, int left, int top, int width, int height, const Surface& source,
                     int sx, int sy) {
  const Settings& st = v.settings;
  const int scale = st.DisplayScale;
  Window& w = v.platform.window();
  StretchBlt(w.target(), (st.DisplayOffsetX + left) * scale, (st.DisplayOffsetY + top) * scale,
             width * scale, height * scale, source, sx, sy, width, height, Rop::SrcCopy);
  if (!w.persistentMode()) w.touchScreen();
}

}  // namespace

void DrawPanel(Ventana& v) {
  SpriteSheets& s = v.sheets;
  BitBlt(s.temp, 0, kPanelRowInTemp, kPanelWidth, kPanelHeight, s.Panel, 0, 0, Rop::SrcCopy);
  // Into the persistent image, so that repaints keep the panel while the frames that follow
  // are drawn straight onto the screen.
  Window& w = v.platform.window();
  w.setPersistentMode(true);
  StretchToWindow(v, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight, s.temp, 0, kPanelRowInTemp);
  w.refresh();
  w.setPersistentMode(false);
}

void DrawScore(Ventana& v) {
  std::string digits = std::to_string(v.game.Score);
  if (digits.size() < kScoreDigits) digits.insert(0, kScoreDigits - digits.size(), '0');
  std::int16_t height = kScoreHeight;
  Escribe(v, kScoreColumn, kScoreRow, digits, kScoreColour, kComposed,
          TextBackground{&v.sheets.Panel, kScoreBoxX, kScoreBoxY}, height);
}

void DrawLives(Ventana& v) {
  StretchToWindow(v, kLivesLeft, kLivesTop, kLivesCellWidth, kLivesCellHeight, v.sheets.Vidas_IMG,
                  kLivesCellWidth * v.game.Lives, 0);
}

}  // namespace zendor
