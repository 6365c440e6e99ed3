#include <algorithm>
#include <cmath>

#include "datagen/art/art_random.h"
#include "datagen/art/canvas.h"
#include "datagen/art/ground.h"
#include "datagen/art/painters.h"
#include "datagen/art/palette.h"
#include "datagen/art/shading.h"
#include "datagen/art/sheet_layout.h"

// Natural rock: the basalt column standing on the ground and the floating island.
namespace zendor::datagen {
namespace {

// Faceted rock: the shade of a pixel at horizontal position u (-1 left edge .. 1 right edge)
// of a rounded mass lit from the left, broken into flat vertical facets.
int FacetLevel(double u, int facets) {
  const int facet = std::clamp(static_cast<int>((u + 1) / 2 * facets), 0, facets - 1);
  static constexpr int kLevels[] = {5, 4, 4, 3, 2, 1};
  return kLevels[facet * 6 / facets];
}

void PaintBoulder(Surface& s, double cx, double cy, double rx, double ry) {
  Paint(s, Ball(cx, cy, rx, ry), pal::kStone, {.bias = 0, .contrast = 1.3});
}

}  // namespace

Surface RockColumnSheet() {
  constexpr int kW = 48, kH = 57, kGroundTop = 40, kBase = 46;
  Surface s(kW, kH);
  PaintGroundTop(s, 0, kW - 1, kGroundTop);
  ArtRandom rng(808);
  ScatterPebbles(s, rng, 2, 45, kGroundTop, 6);
  // The column's shadow falls to the right, away from the light.
  for (int y = kGroundTop + 3; y <= kGroundTop + 9; ++y)
    for (int x = 30; x < 44 - (y - kGroundTop - 3); ++x)
      if (BayerThreshold(x, y) < 0.6) Plot(s, x, y, pal::kStoneArray[1]);
  // The column: wide at its foot, leaning a little, with a broken crown.
  auto centre = [](double y) { return 23.5 + 1.8 * std::sin(y / 11.0); };
  auto halfWidth = [](double y) { return 7.0 + std::pow(std::max(0.0, y - 4) / 42.0, 3.0) * 8.5; };
  auto crown = [](double x) {
    return 4.0 + 3.5 * std::abs(std::sin(x * 0.55)) +
           2.0 * LatticeValue(static_cast<int>(x), 0, 31);
  };
  for (int y = 0; y <= kBase; ++y)
    for (int x = 0; x < kW; ++x) {
      const double c = centre(y), hw = halfWidth(y) + (LatticeValue(x, y / 3, 7) - 0.5) * 0.9;
      const double u = (x + 0.5 - c) / hw;
      if (std::abs(u) > 1.0 || y < crown(x)) continue;
      int level = FacetLevel(u, 6);
      // Dark joints between the basalt columns.
      const double joint = std::abs(std::fmod((u + 1) * 3.0, 1.0) - 0.5);
      if (joint > 0.44 && std::abs(u) < 0.85) level -= 2;
      // Strata: a dark crack with a lit ledge above it every few rows.
      const int layer = (y + static_cast<int>(3 * std::sin(x * 0.3))) % 9;
      if (layer == 0)
        level = 0;
      else if (layer == 8 && u < 0.4)
        level += 1;
      if (LatticeValue(x, y, 77) < 0.12) level -= 1;
      if (y < crown(x) + 1.5) level += 1;  // the top catches the light
      Plot(s, x, y, pal::Shade(pal::kStone, level));
    }
  // Moss on the ledges and a seam of glowing crystals.
  ArtRandom moss(99);
  for (int k = 0; k < 14; ++k) {
    const int y = 8 + moss.Between(0, 3) * 9,
              x = static_cast<int>(centre(y) - halfWidth(y)) + moss.Between(1, 6);
    Plot(s, x, y - 1, pal::kMossArray[2]);
    Plot(s, x + 1, y - 1, pal::kMossArray[3]);
  }
  PaintCrystal(s, 19, 31, 4);
  PaintCrystal(s, 21, 32, 3);
  PaintCrystal(s, 17, 33, 2);
  // Rubble at the foot.
  PaintBoulder(s, 8.5, 44.5, 3.5, 2.5);
  PaintBoulder(s, 37.5, 45.5, 3.0, 2.2);
  PaintBoulder(s, 12.0, 46.8, 2.0, 1.5);
  // Outline against the sky only: the ground rows are solid.
  Surface above(kW, kGroundTop + 1);
  for (int y = 0; y <= kGroundTop; ++y)
    for (int x = 0; x < kW; ++x) above.set(x, y, s.at(x, y));
  Outline(above, pal::kOutline);
  for (int y = 0; y < kGroundTop; ++y)
    for (int x = 0; x < kW; ++x) s.set(x, y, above.at(x, y));
  return WithMaskBelow(s);
}

Surface IslandSheet() {
  // 23 x 23: a flat, mossy top on rows 2..5 that the hero stands on (his feet at row 2), over a
  // rocky underside tapering to a point, with crystals glowing beneath. The outline keeps
  // inside the picture.
  constexpr int kSize = 23, kTop = 2, kLeft = 2, kRight = 20;
  Surface s(kSize, kSize);
  for (int y = kTop + 3; y < 21; ++y) {
    const double t = (y - kTop - 3) / 15.0;
    const double hw = 9.0 * std::sqrt(std::max(0.0, 1 - std::pow(t, 1.6))) + 0.3;
    const double c = 11.5 + 1.2 * t;
    for (int x = kLeft; x <= kRight; ++x) {
      const double lump = (ValueNoise(x, y, 3.0, 404) - 0.5) * 2.4 * (0.2 + t);
      const double u = (x + 0.5 - c) / std::min(9.0, hw + lump);
      if (std::abs(u) > 1.0) continue;
      int level = FacetLevel(u, 5) - (t > 0.5 ? 1 : 0);
      if ((y + static_cast<int>(2 * std::sin(x * 0.7))) % 5 == 0) level -= 1;  // strata
      Plot(s, x, y, pal::Shade(pal::kStone, level));
    }
  }
  // The flat top: a mossy rim and the walkable surface seen from above.
  for (int x = kLeft; x <= kRight; ++x) {
    Plot(s, x, kTop, x < kLeft + 2 || x > kRight - 2 ? pal::kMossArray[2] : pal::kMossArray[3]);
    Plot(s, x, kTop + 1, Dither(pal::kMossArray[2], pal::kMossArray[3], 0.4, x, kTop + 1));
    Plot(s, x, kTop + 2, x < 9 ? pal::kStoneArray[5] : pal::kStoneArray[4]);
    Plot(s, x, kTop + 3, x < 10 ? pal::kStoneArray[3] : pal::kStoneArray[2]);
  }
  // Moss hanging over the edge.
  Plot(s, kLeft + 1, kTop + 4, pal::kMossArray[2]);
  Plot(s, kRight - 3, kTop + 4, pal::kMossArray[1]);
  // Crystals hanging under the rock, glowing at their tips.
  const int crystals[][3] = {{7, 12, 5}, {15, 12, 4}, {12, 17, 3}};
  for (const auto& c : crystals)
    for (int k = 0; k < c[2]; ++k) {
      Plot(s, c[0], c[1] + k, k == c[2] - 1 ? pal::kCyanArray[4] : pal::kCyanArray[k == 0 ? 1 : 3]);
      if (k < c[2] - 2) Plot(s, c[0] + 1, c[1] + k, pal::kCyanArray[1]);
    }
  Outline(s, pal::kOutline);
  return WithMaskBelow(s);
}

}  // namespace zendor::datagen
