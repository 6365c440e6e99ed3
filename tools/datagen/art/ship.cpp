#include <algorithm>
#include <cmath>
#include <vector>

#include "datagen/art/art_random.h"
#include "datagen/art/canvas.h"
#include "datagen/art/ground.h"
#include "datagen/art/painters.h"
#include "datagen/art/palette.h"
#include "datagen/art/shading.h"
#include "datagen/art/sheet_layout.h"

// The hero's crashed ship at the start of the level: 92 x 120, covering the whole playfield
// height, with the ground it ploughed into. Its right edge joins the first ground tile.
namespace zendor::datagen {
namespace {

constexpr int kW = 92, kH = 120, kGroundTop = 88, kFaceTop = 105;
// Ground phase that makes column 91 the last column of a repeat, like a tile's last column.
constexpr int kTopPhase = (kGroundTopPeriod - kW % kGroundTopPeriod) % kGroundTopPeriod;
constexpr int kFacePhase = (kGroundFacePeriod - kW % kGroundFacePeriod) % kGroundFacePeriod;

// A point along the hull: s from the tail (0) to the nose (1), q across it (negative = top).
Vec2 HullPoint(double s, double q) {
  const Vec2 tail{16.0, 50.0}, nose{74.0, 93.0};
  const double dx = nose.x - tail.x, dy = nose.y - tail.y, len = std::hypot(dx, dy);
  const double ux = dx / len, uy = dy / len;
  return {tail.x + dx * s - uy * q, tail.y + dy * s + ux * q};
}

int X(double v) {
  return static_cast<int>(std::floor(v));
}

void PaintSmoke(Surface& s) {
  // A plume rising from the breach, leaning left as it climbs and spreading out; its edges
  // fray into dithered wisps and its left side catches the light.
  constexpr double kSourceY = 60.0;
  for (int y = 0; y < static_cast<int>(kSourceY); ++y)
    for (int x = 0; x < kW; ++x) {
      const double rise = kSourceY - y;
      const double cx = 44.0 - rise * 0.42 + 3.0 * std::sin(y / 8.0);
      const double width = 2.5 + rise * 0.2;
      const double u = (x + 0.5 - cx) / width;
      const double density =
          1.0 - std::abs(u) + (FractalNoise(x, y + rise * 0.5, 8, 3, 1201) - 0.5) * 1.1;
      if (density < 0.25) continue;
      if (density < 0.4 && BayerThreshold(x, y) > (density - 0.25) / 0.15) continue;
      const double lit = -u * 0.9 + (density - 0.6);
      const int level = std::clamp(static_cast<int>(3.0 + lit * 1.8 - rise / 40.0), 1, 5);
      Plot(s, x, y, pal::Shade(pal::kStone, level));
    }
}

// An engine bell sticking out of the tail, still glowing inside.
void PaintEngine(Surface& s, double across) {
  const Vec2 a = HullPoint(0.02, across), b = HullPoint(-0.09, across * 1.15);
  Paint(s, Limb(a, b, 2.6, 3.8), pal::kMetal, {.bias = 1});
  Paint(s, Ball(b.x, b.y, 2.4, 3.4), pal::kMetal, {.bias = -2, .seams = false});
  Paint(s, Ball(b.x + 0.2, b.y + 0.2, 1.3, 2.0), pal::kLava, {.bias = 1, .seams = false});
}

}  // namespace

Surface CrashedShipSheet() {
  Surface s(kW, kH);
  PaintGroundTop(s, 0, kW - 1, kGroundTop, kTopPhase);
  PaintGroundFace(s, 0, kW - 1, kFaceTop, kFacePhase);
  ArtRandom rng(1200);
  ScatterPebbles(s, rng, 2, 60, kGroundTop, 8);
  ScatterFaceDetails(s, rng, 3, 86, kFaceTop, 7);
  // A furrow ploughed by the crash, running up to the nose.
  for (int x = 30; x < 80; ++x) {
    const int y = kGroundTop + 9 + (x - 30) / 12;
    Plot(s, x, y, pal::kStoneArray[1]);
    Plot(s, x, y + 1, pal::kStoneArray[2]);
    if (x % 3 == 0) Plot(s, x, y - 1, pal::kStoneArray[5]);
  }
  PaintSmoke(s);
  // Far wing, snapped, pointing up behind the hull.
  const Vec2 root = HullPoint(0.42, -2.0);
  Paint(s,
        Plate({root,
               {root.x + 10, root.y - 26},
               {root.x + 15, root.y - 24},
               {root.x + 13, root.y - 18},
               {root.x + 16, root.y - 15},
               {root.x + 12, root.y + 2}},
              1.5),
        pal::kSuit, {.bias = -1});
  Line(s, X(root.x + 3), X(root.y - 6), X(root.x + 11), X(root.y - 22), pal::kOrangeArray[2]);
  // Tail fin.
  Paint(s,
        Plate({HullPoint(0.02, -8.0), HullPoint(-0.06, -19.0), HullPoint(0.04, -19.0),
               HullPoint(0.22, -8.5)},
              1.2),
        pal::kSuit, {.bias = -1});
  // The fuselage: a long hull ending in a pointed nose, white plates with an orange band.
  Paint(s, Limb(HullPoint(0.0, 0), HullPoint(0.8, 0), 10.0, 8.0), pal::kSuit, {.bias = 0});
  Shape nose = Plate(
      {HullPoint(0.79, -8.0), HullPoint(1.02, -1.0), HullPoint(1.04, 1.5), HullPoint(0.79, 8.0)},
      5.0);
  Paint(s, nose, pal::kSuit, {.bias = 0, .seams = false});
  PaintEngine(s, -4.5);
  PaintEngine(s, 4.5);
  for (double t = 0.06; t < 0.95; t += 0.005) {
    const Vec2 p = HullPoint(t, 1.0 - t * 0.6);
    const Vec2 q = HullPoint(t, 2.5 - t * 1.5);
    Plot(s, X(p.x), X(p.y), pal::kOrangeArray[2]);
    Plot(s, X(q.x), X(q.y), pal::kOrangeArray[1]);
  }
  // Plate seams across the hull.
  for (double t = 0.14; t < 0.9; t += 0.13) {
    const double r = 10.0 - 3.5 * t;
    for (double q = -r; q <= r; q += 0.4) {
      const Vec2 p = HullPoint(t, q);
      if (IsFigure(s, X(p.x), X(p.y))) Plot(s, X(p.x), X(p.y), pal::kSuitArray[1]);
    }
  }
  // Cockpit canopy near the nose, cracked.
  const Vec2 canopy = HullPoint(0.78, -4.5);
  Paint(s, Ball(canopy.x, canopy.y, 5.5, 3.6), pal::kCyan, {.bias = 0, .contrast = 1.4});
  Line(s, X(canopy.x - 2), X(canopy.y - 2), X(canopy.x + 1), X(canopy.y + 1), pal::kCyanArray[0]);
  Line(s, X(canopy.x + 1), X(canopy.y + 1), X(canopy.x + 3), X(canopy.y), pal::kCyanArray[0]);
  // The breach the smoke comes out of: scorched, glowing at the edges, ribs showing.
  const Vec2 breach = HullPoint(0.45, -4.0);
  Paint(s, Ball(breach.x, breach.y, 5.0, 3.5), pal::kNight, {.bias = 0, .seams = false});
  FillEllipse(s, breach.x + 0.5, breach.y + 0.5, 3.0, 2.0, pal::kNightArray[0]);
  for (int k = 0; k < 3; ++k)
    Line(s, X(breach.x - 2 + 2 * k), X(breach.y - 2), X(breach.x - 1 + 2 * k), X(breach.y + 2),
         pal::kMetalArray[3]);
  Plot(s, X(breach.x - 4), X(breach.y), pal::kLavaArray[3]);
  Plot(s, X(breach.x + 3), X(breach.y - 2), pal::kLavaArray[4]);
  Plot(s, X(breach.x + 4), X(breach.y + 1), pal::kLavaArray[2]);
  // The nose buried in a heap of thrown-up soil.
  for (int k = 0; k < 4; ++k) {
    const double x = 64.0 + k * 5.0 - (k % 2) * 2.0, y = 90.0 + (k % 2) * 2.0;
    Paint(s, Ball(x, y, 5.0, 3.2), pal::kStone, {.bias = 0, .contrast = 1.2});
  }
  ScatterPebbles(s, rng, 60, 84, kGroundTop - 2, 4);
  // Debris on the ground and a small fire.
  Paint(s, Plate({{8, 96}, {15, 94}, {17, 97}, {10, 99}}, 1.0), pal::kSuit, {.bias = -1});
  Paint(s, Plate({{80, 97}, {85, 95}, {86, 100}}, 1.0), pal::kMetal, {.bias = 1});
  for (int k = 0; k < 4; ++k) Plot(s, 24 + k, 94 - (k % 2), pal::kLavaArray[3 + (k % 2)]);
  Plot(s, 25, 92, pal::kLavaArray[5]);
  // Outline against the sky only.
  Surface above(kW, kGroundTop);
  for (int y = 0; y < kGroundTop; ++y)
    for (int x = 0; x < kW; ++x) above.set(x, y, s.at(x, y));
  Outline(above, pal::kOutline);
  for (int y = 0; y < kGroundTop; ++y)
    for (int x = 0; x < kW; ++x) s.set(x, y, above.at(x, y));
  return WithMaskBeside(s);
}

}  // namespace zendor::datagen
