#include <algorithm>
#include <cmath>
#include <string>

#include "datagen/art/art_random.h"
#include "datagen/art/canvas.h"
#include "datagen/art/font.h"
#include "datagen/art/painters.h"
#include "datagen/art/palette.h"
#include "datagen/art/shading.h"

// The panel under the playfield and the lives figures shown in its socket.
namespace zendor::datagen {
namespace {

constexpr int kW = 240, kH = 64;
// The score's six digits are written over a copy of this flat background at (72, 48).
constexpr Pixel kScreenBackground = pal::kDeepShadow;

// A raised (or, with sunken, recessed) bevelled box, light from the upper left.
void Bevel(Surface& s, int x0, int y0, int x1, int y1, bool sunken) {
  const Pixel light = sunken ? pal::kMetalArray[0] : pal::kMetalArray[4];
  const Pixel dark = sunken ? pal::kMetalArray[4] : pal::kMetalArray[0];
  Line(s, x0, y0, x1, y0, light);
  Line(s, x0, y0, x0, y1, light);
  Line(s, x0, y1, x1, y1, dark);
  Line(s, x1, y0, x1, y1, dark);
}

// A recessed screen: a bevel round a flat dark inside.
void Screen(Surface& s, int x0, int y0, int x1, int y1) {
  Bevel(s, x0, y0, x1, y1, true);
  Line(s, x0 + 1, y0 + 1, x1 - 1, y0 + 1, pal::kOutline);
  Line(s, x0 + 1, y0 + 1, x0 + 1, y1 - 1, pal::kOutline);
  FillBox(s, x0 + 2, y0 + 2, x1 - 1, y1 - 1, kScreenBackground);
}

void Rivet(Surface& s, int x, int y) {
  Plot(s, x, y, pal::kMetalArray[4]);
  Plot(s, x + 1, y, pal::kMetalArray[2]);
  Plot(s, x, y + 1, pal::kMetalArray[2]);
  Plot(s, x + 1, y + 1, pal::kMetalArray[0]);
}

// Glyph colour for panel labels: warm gold, lighter at the top.
Pixel LabelColour(int, int gy) {
  return gy < 3 ? pal::kOrangeArray[4] : pal::kOrangeArray[3];
}

void PaintPortrait(Surface& s, int x0, int y0, int x1, int y1) {
  Screen(s, x0, y0, x1, y1);
  // Scan lines on the monitor's dark glass.
  for (int y = y0 + 3; y < y1; y += 2)
    for (int x = x0 + 2; x < x1; ++x) Plot(s, x, y, pal::kNightArray[1]);
  const double cx = (x0 + x1) / 2.0 + 0.5, cy = y0 + 19.0;
  // Shoulders and chest in three-quarter view, with the tank's strap and the chest lamp.
  Paint(s,
        Plate({{cx - 18, y1 - 1.0},
               {cx - 15, cy + 19},
               {cx - 7, cy + 15},
               {cx + 8, cy + 15},
               {cx + 15, cy + 19},
               {cx + 18, y1 - 1.0}},
              3.0),
        pal::kSuit, {.bias = -1});
  Paint(s, Slab(cx - 5, cy + 21, cx + 8, y1 - 1.0, 1.5), pal::kSuit, {.bias = 0});
  Paint(s, Limb({cx - 12, cy + 18}, {cx - 7, y1 - 1.0}, 1.6, 1.6), pal::kOrange, {.bias = -1});
  Paint(s, Ball(cx + 4.0, cy + 25.0, 1.5, 1.5), pal::kOrange, {.bias = 2, .seams = false});
  Paint(s, Limb({cx - 8, cy + 14.5}, {cx + 8, cy + 14.5}, 2.4, 2.4), pal::kMetal, {.bias = 1});
  // The helmet, its visor reflecting the ringed planet.
  Paint(s, Ball(cx, cy, 14.0, 14.0), pal::kSuit, {.bias = 0});
  Paint(s, Ball(cx + 1.5, cy + 1.5, 10.0, 8.0), pal::kCyan, {.bias = -1, .contrast = 1.4});
  FillEllipse(s, cx - 3.0, cy - 1.0, 2.2, 2.2, pal::kOchreArray[3]);
  Line(s, static_cast<int>(cx - 7), static_cast<int>(cy), static_cast<int>(cx + 1),
       static_cast<int>(cy - 2), pal::kOchreArray[2]);
  Plot(s, static_cast<int>(cx - 5), static_cast<int>(cy - 4), pal::kCyanArray[4]);
  Plot(s, static_cast<int>(cx - 4), static_cast<int>(cy - 4), pal::kCyanArray[4]);
  Plot(s, static_cast<int>(cx - 5), static_cast<int>(cy - 3), pal::kCyanArray[4]);
  // A lamp on the helmet's brow and a short antenna.
  Paint(s, Ball(cx - 8.0, cy - 9.0, 2.0, 1.6), pal::kOrange, {.bias = 1});
  Line(s, static_cast<int>(cx + 9), static_cast<int>(cy - 10), static_cast<int>(cx + 12),
       static_cast<int>(cy - 16), pal::kMetalArray[3]);
  Plot(s, static_cast<int>(cx + 12), static_cast<int>(cy - 17), pal::kRedArray[3]);
}

// A small helmet: the lives icon.
void PaintHelmetIcon(Surface& s, int x, int y) {
  Paint(s, Ball(x + 4.0, y + 3.5, 3.6, 3.4), pal::kSuit, {.bias = 0, .seams = false});
  FillBox(s, x + 4, y + 2, x + 6, y + 4, pal::kCyanArray[2]);
  Plot(s, x + 4, y + 2, pal::kCyanArray[4]);
}

void PaintGauge(Surface& s, int x0, int y0, int x1, int y1) {
  Screen(s, x0, y0, x1, y1);
  DrawGlyphText(s, x0 + 10, y0 + 4, "LASER", 1, LabelColour);
  // Ten charge cells, all lit.
  for (int k = 0; k < 10; ++k) {
    const int x = x0 + 5 + k * 5;
    FillBox(s, x, y0 + 17, x + 3, y0 + 25, pal::kCyanArray[2]);
    FillBox(s, x, y0 + 17, x + 3, y0 + 18, pal::kCyanArray[4]);
    FillBox(s, x + 3, y0 + 19, x + 3, y0 + 25, pal::kCyanArray[1]);
  }
  // The rifle's outline as an icon.
  FillBox(s, x0 + 5, y0 + 28, x0 + 30, y0 + 29, pal::kMetalArray[3]);
  FillBox(s, x0 + 5, y0 + 28, x0 + 9, y0 + 30, pal::kMetalArray[3]);
  Plot(s, x0 + 14, y0 + 30, pal::kMetalArray[3]);
}

void PaintRadar(Surface& s, double cx, double cy, double r) {
  Paint(s, Ball(cx, cy, r + 2.5, r + 2.5), pal::kMetal, {.bias = 1, .seams = false});
  FillEllipse(s, cx, cy, r, r, pal::kMossArray[0]);
  for (int y = static_cast<int>(cy - r); y <= static_cast<int>(cy + r); ++y)
    for (int x = static_cast<int>(cx - r); x <= static_cast<int>(cx + r); ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy, d = std::hypot(dx, dy);
      if (d > r) continue;
      if (std::abs(d - r * 0.5) < 0.5 || std::abs(dx) < 0.5 || std::abs(dy) < 0.5)
        Plot(s, x, y, pal::kMossArray[1]);
      // The sweep, fading behind its leading edge.
      const double a = std::atan2(dy, dx), sweep = std::fmod(a + 3.1416 * 2.25, 3.1416 * 2);
      if (sweep < 0.9 && d < r - 0.5)
        Plot(s, x, y, sweep < 0.25 ? pal::kMossArray[3] : pal::kMossArray[2]);
    }
  Plot(s, static_cast<int>(cx + 5), static_cast<int>(cy - 4), pal::kRedArray[3]);
  Plot(s, static_cast<int>(cx - 6), static_cast<int>(cy + 6), pal::kMossArray[4]);
}

}  // namespace

Surface PanelSheet() {
  Surface s(kW, kH);
  // Brushed dark metal with a raised frame and rivets.
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      Plot(s, x, y,
           Dither(pal::kMetalArray[1], pal::kMetalArray[2], 0.18 + 0.25 * LatticeValue(x / 7, y, 5),
                  x, y));
  Bevel(s, 0, 0, kW - 1, kH - 1, false);
  Bevel(s, 1, 1, kW - 2, kH - 2, false);
  for (int x : {3, 235})
    for (int y : {3, 59}) Rivet(s, x, y);
  PaintPortrait(s, 5, 5, 46, 58);
  // The lives socket round panel (51, 24)..(60, 39), with its helmet icon above.
  Screen(s, 49, 22, 62, 41);
  Bevel(s, 48, 8, 63, 19, true);
  FillBox(s, 49, 9, 62, 18, kScreenBackground);
  PaintHelmetIcon(s, 51, 10);
  // The game's name on an engraved plate.
  Bevel(s, 66, 5, 234, 20, false);
  const std::string title = "ZENDOR VOSTRIK XXI";
  const int titleX = 66 + (169 - (static_cast<int>(title.size()) * kFontCell - 2)) / 2;
  DrawGlyphText(s, titleX + 1, 10, title, 1, pal::kMetalArray[0]);
  DrawGlyphText(s, titleX, 9, title, 1, LabelColour);
  // The score box: "PUNTOS" over the flat screen where the digits go.
  Screen(s, 66, 25, 126, 58);
  DrawGlyphText(s, 73, 33, "PUNTOS", 1, LabelColour);
  PaintGauge(s, 130, 25, 190, 58);
  PaintRadar(s, 212.5, 41.5, 13.0);
  return s;
}

Surface LivesSheet() {
  // Cell n (10 x 16) shows a helmet and the numeral n, on the socket's dark screen.
  Surface s(100, 16);
  FillBox(s, 0, 0, 99, 15, kScreenBackground);
  for (int n = 0; n < 10; ++n) {
    const std::string digit(1, static_cast<char>('0' + n));
    const int x = 10 * n + 2;
    // Outline the numeral like the font's masked text, then fill it.
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) DrawGlyphText(s, x + dx, 7 + dy, digit, 1, pal::kOutline);
    DrawGlyphText(s, x, 7, digit, 1,
                  [](int, int gy) { return gy < 3 ? pal::kMossArray[4] : pal::kMossArray[3]; });
    Line(s, 10 * n + 2, 3, 10 * n + 7, 3, n > 0 ? pal::kMossArray[2] : pal::kRedArray[2]);
  }
  return s;
}

}  // namespace zendor::datagen
