#include <algorithm>
#include <cmath>
#include <string>

#include "datagen/art/canvas.h"
#include "datagen/art/font.h"
#include "datagen/art/ground.h"
#include "datagen/art/painters.h"
#include "datagen/art/palette.h"
#include "datagen/art/sky.h"

// The loading picture: the title over the hero and the alien landscape under the violet sky.
namespace zendor::datagen {
namespace {

constexpr int kW = 256, kH = 192, kHorizon = 138;

// The image half (top half) of a sheet with its mask below, or frame k of it.
Surface ImageFrame(const Surface& sheet, int frameWidth, int k) {
  const int h = sheet.height() / 2;
  Surface f(frameWidth, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < frameWidth; ++x) f.set(x, y, sheet.at(k * frameWidth + x, y));
  return f;
}

// Title lettering: the font's glyphs enlarged, filled with a metal gradient, edged in dark
// violet and dropped onto a shadow.
void PaintTitle(Surface& s, int y, const std::string& text, int scale) {
  const int width = static_cast<int>(text.size()) * kFontCell * scale - 2 * scale;
  const int x = (kW - width) / 2;
  const int height = kGlyphHeight * scale;
  const int drop = std::max(2, scale);
  DrawGlyphText(s, x + drop, y + drop, text, scale, pal::kNightArray[1]);
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -2; dx <= 2; ++dx)
      if (std::abs(dx) + std::abs(dy) <= 3)
        DrawGlyphText(s, x + dx, y + dy, text, scale, pal::kOutline);
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      DrawGlyphText(s, x + dx, y + dy, text, scale, pal::kOrangeArray[0]);
  // Fill: the text is painted row by row so the gradient runs over the whole letter height.
  Surface fill(kW, kH);
  DrawGlyphText(fill, x, y, text, scale, pal::kWhite);
  for (int py = y; py < y + height; ++py) {
    const double t = (py - y) / static_cast<double>(height - 1);
    for (int px = 0; px < kW; ++px) {
      if (fill.at(px, py) == kBlack) continue;
      Pixel c;
      if (t < 0.45)
        c = Dither(pal::kLavaArray[6], pal::kLavaArray[5], t / 0.45, px, py);
      else if (t < 0.55)
        c = pal::kOrangeArray[2];  // a horizon line through the chrome
      else
        c = Dither(pal::kLavaArray[4], pal::kLavaArray[3], (t - 0.55) / 0.45, px, py);
      // A bright bevel on the upper-left edge of each stroke.
      if (fill.at(px - 1, py) == kBlack || fill.at(px, py - 1) == kBlack)
        c = t < 0.5 ? pal::kWhite : pal::kLavaArray[5];
      Plot(s, px, py, c);
    }
  }
}

}  // namespace

Surface LoadingPicture() {
  Surface s(kW, kH);
  PaintSkyBackdrop(s, kHorizon);
  PaintStarField(s, 0, 110, 110, 7070);
  PaintRingedPlanet(s, 66, 84, 12);
  PaintMoon(s, 238, 78, 4);
  PaintMountains(s, kHorizon, 41);
  // The ground: its top surface, its cliff face, and the dark below.
  PaintGroundTop(s, 0, kW - 1, kHorizon + 1);
  PaintGroundFace(s, 0, kW - 1, kHorizon + 1 + kGroundTopRows);
  const int below = kHorizon + 1 + kGroundTopRows + kGroundFaceRows;
  for (int y = below; y < kH; ++y)
    for (int x = 0; x < kW; ++x) Plot(s, x, y, ChasmShade(std::min(31, 10 + (y - below)), x));
  ArtRandom rng(7071);
  ScatterPebbles(s, rng, 4, 250, kHorizon + 1, 24);
  PaintMoss(s, rng, 150, kHorizon + 9, 3);
  PaintCrystal(s, 226, kHorizon + 10, 5);
  PaintCrystal(s, 229, kHorizon + 11, 3);
  // The wrecked ship on the left, still smoking, standing on the same ground.
  const Surface ship = CrashedShipSheet();
  Surface wreck(92, 88);
  for (int y = 0; y < 88; ++y)
    for (int x = 0; x < 92; ++x) wreck.set(x, y, ship.at(x, y));
  Stamp(s, wreck, -8, kHorizon + 1 - 88 + 6);
  // A brute stalking in from the right, and a flyer overhead.
  StampScaled(s, MirrorX(ImageFrame(EnemySheet(3), 24, 1)), 196, kHorizon + 14 - 80, 2);
  StampScaled(s, MirrorX(ImageFrame(EnemySheet(0), 24, 0)), 146, 30, 2);
  // The hero, rifle at the ready.
  StampScaled(s, ImageFrame(HeroWalkSheet(), 22, 9), 96, kHorizon + 14 - 82, 2);
  PaintTitle(s, 10, "ZENDOR", 4);
  PaintTitle(s, 48, "VOSTRIK XXI", 2);
  return s;
}

}  // namespace zendor::datagen
