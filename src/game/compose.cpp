#include "game/compose.h"

#include <algorithm>

#include "common/settings.h"
#include "platform/blit.h"
#include "platform/platform.h"
#include "world/playfield.h"

namespace zendor {
namespace {

constexpr int kViewWidth = 240, kViewHeight = 120;
constexpr int kPlayfieldLeft = 8, kPlayfieldTop = 8;  // on the 256 x 192 logical screen
constexpr int kShadowRow = 91;
constexpr int kShadowWidth = 24, kShadowHeight = 8;
constexpr int kShadowSceneMaskY = 8, kShadowMaskY = 16;
// The hero's shadow is fainter while he is in the air.
constexpr std::uint8_t kGroundShadowAlpha = 48, kAirShadowAlpha = 32;

bool InTheAir(const Hero& h) {
  return h.HeroState == kHero02AirborneRight || h.HeroState == kHero08AirborneLeft;
}

}  // namespace

void ComposeView(Ventana& v) {
  SpriteSheets& s = v.sheets;
  BitBlt(s.temp, 0, 0, kViewWidth, kViewHeight, s.Fondo, ViewLeft(v.game), 0, Rop::SrcCopy);
  if (v.hero.HeroActive || v.game.EndReached) {
    v.game.ShadowAlpha = InTheAir(v.hero) ? kAirShadowAlpha : kGroundShadowAlpha;
    DrawShadow(v, kHeroScreenX);
  }
  const auto& enemies = v.game.Enemies;
  const int last = std::min<int>(v.settings.MaxEnemies, static_cast<int>(enemies.size()) - 1);
  for (int slot = 0; slot <= last; ++slot) {
    const Enemy& e = enemies[static_cast<std::size_t>(slot)];
    if (e.Active) DrawShadow(v, e.X);
  }
}

void DrawShadow(Ventana& v, int x) {
  SpriteSheets& s = v.sheets;
  // The ground under the shadow, darkened by the shadow colour, cut to the shadow's shape and
  // laid back into the hole the scene mask leaves.
  BitBlt(s.sombra_temp, 0, 0, kShadowWidth, kShadowHeight, s.temp, x, kShadowRow, Rop::SrcCopy);
  AlphaBlend(s.sombra_temp, 0, 0, kShadowWidth, kShadowHeight, s.sombra, 0, 0, v.game.ShadowAlpha);
  BitBlt(s.sombra_temp, 0, 0, kShadowWidth, kShadowHeight, s.sombra, 0, kShadowMaskY, Rop::SrcAnd);
  BitBlt(s.temp, x, kShadowRow, kShadowWidth, kShadowHeight, s.sombra, 0, kShadowSceneMaskY,
         Rop::SrcAnd);
  BitBlt(s.temp, x, kShadowRow, kShadowWidth, kShadowHeight, s.sombra_temp, 0, 0, Rop::SrcPaint);
}

void PresentPlayfield(Ventana& v) {
  const Settings& st = v.settings;
  const int scale = st.DisplayScale;
  Window& w = v.platform.window();
  StretchBlt(w.target(), (st.DisplayOffsetX + kPlayfieldLeft) * scale,
             (st.DisplayOffsetY + kPlayfieldTop) * scale, kViewWidth * scale, kViewHeight * scale,
             v.sheets.temp, 0, 0, kViewWidth, kViewHeight, Rop::SrcCopy);
  if (!w.persistentMode()) w.touchScreen();
}

}  // namespace zendor
