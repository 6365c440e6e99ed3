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

// The outpost at the end of the level: 112 x 61, drawn at y 59 with its own ledge of ground
// down to the bottom of the playfield. The hero drops in through the roof hatch over columns
// 20..52; the front wall is drawn in front of him from row 4 down and hides him as he sinks.
namespace zendor::datagen {
namespace {

constexpr int kW = 112, kH = 61, kGroundTop = 29, kFaceTop = 46;
constexpr int kRoof = 4, kWallTop = 8, kFoot = 40;
constexpr int kBlockLeft = 12, kBlockRight = 70;

// Where the ledge ends on the right, for each row of the top surface and the cliff face.
int LedgeEnd(int y) {
  if (y < kFaceTop) return 103 + (y % 3 == 0 ? 1 : 0) - (y > 41 ? 1 : 0);
  return 100 - (y - kFaceTop) / 2 + (y % 4 == 1 ? 1 : 0);
}

void PaintLedge(Surface& s) {
  PaintGroundTop(s, 0, kW - 1, kGroundTop);
  PaintGroundFace(s, 0, kW - 1, kFaceTop);
  ArtRandom rng(1300);
  ScatterPebbles(s, rng, 2, 98, kGroundTop, 10);
  ScatterFaceDetails(s, rng, 3, 92, kFaceTop, 6);
  for (int y = kGroundTop; y < kH; ++y) {
    const int end = LedgeEnd(y);
    for (int x = end + 1; x < kW; ++x) s.set(x, y, kBlack);
    // The end face of the ledge, turned away from the light.
    Plot(s, end, y, pal::kStoneArray[y < kFaceTop ? 2 : 1]);
    Plot(s, end - 1, y, pal::kStoneArray[y < kFaceTop ? 3 : 1]);
  }
}

void PaintWindow(Surface& s, int x, int y, bool lit) {
  FillBox(s, x, y, x + 3, y + 2, pal::kMetalArray[0]);
  FillBox(s, x + 1, y + 1, x + 3, y + 2, lit ? pal::kOrangeArray[3] : pal::kCyanArray[1]);
  Plot(s, x + 1, y + 1, lit ? pal::kOrangeArray[4] : pal::kCyanArray[2]);
}

void PaintMainBlock(Surface& s) {
  // Contact shadow on the ground to the right of the building.
  for (int y = kFoot - 2; y <= kFoot + 2; ++y)
    for (int x = kBlockRight; x < kBlockRight + 12 - (y - kFoot) * 2; ++x)
      if (BayerThreshold(x, y) < 0.6) Plot(s, x, y, pal::kStoneArray[1]);
  // Roof seen from above, then the front wall.
  Paint(s, Slab(kBlockLeft, kRoof, kBlockRight, kWallTop, 1.0), pal::kMetal, {.bias = 2});
  Paint(s, Slab(kBlockLeft, kWallTop, kBlockRight, kFoot, 1.5), pal::kSuit,
        {.bias = -1, .seams = false});
  // The wall's last plate turns away from the light; grime gathers near the ground.
  for (int y = kWallTop + 1; y < kFoot; ++y)
    for (int x = kBlockLeft + 1; x < kBlockRight; ++x) {
      const bool turned = x >= kBlockLeft + 48;
      const bool grimy = y >= kFoot - 6 && BayerThreshold(x, y) < 0.25;
      if (turned || grimy) Plot(s, x, y, pal::kSuitArray[1]);
    }
  // Wall plates and a band of windows.
  for (int x = kBlockLeft + 8; x < kBlockRight; x += 10)
    for (int y = kWallTop + 2; y < kFoot; ++y) Plot(s, x, y, pal::kSuitArray[1]);
  for (int y : {kWallTop + 11, kWallTop + 22})
    for (int x = kBlockLeft + 1; x < kBlockRight; ++x) Plot(s, x, y, pal::kSuitArray[1]);
  for (int k = 0; k < 5; ++k) PaintWindow(s, kBlockLeft + 3 + 10 * k, kWallTop + 4, k % 3 != 1);
  // Hazard stripes along the foot.
  for (int x = kBlockLeft + 1; x < kBlockRight; ++x)
    for (int y = kFoot - 3; y < kFoot; ++y)
      Plot(s, x, y, ((x + y) / 2) % 2 ? pal::kOrangeArray[3] : pal::kMetalArray[0]);
  // The door, shut, with its lamp.
  FillBox(s, 52, kWallTop + 14, 61, kFoot - 4, pal::kMetalArray[1]);
  FillBox(s, 53, kWallTop + 15, 60, kFoot - 4, pal::kMetalArray[2]);
  Line(s, 56, kWallTop + 15, 56, kFoot - 4, pal::kMetalArray[0]);
  // The outpost's emblem, a ringed planet, and a lamp over the door.
  const Vec2 emblem{31.5, kWallTop + 16.5};
  Paint(s, Ball(emblem.x, emblem.y, 2.8, 2.8), pal::kOrange, {.bias = 0, .seams = false});
  for (double a = 0; a < 6.28; a += 0.05) {
    const double x = emblem.x + 5.0 * std::cos(a),
                 y = emblem.y + 1.3 * std::sin(a) - 0.4 * std::cos(a);
    if (std::sin(a) < 0 && std::abs(x - emblem.x) < 2.8) continue;  // behind the planet
    Plot(s, static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)), pal::kOrangeArray[4]);
  }
  Paint(s, Slab(54, kWallTop + 11, 59, kWallTop + 12, 0.5), pal::kMetal, {.bias = 1});
  Plot(s, 55, kWallTop + 13, pal::kOrangeArray[4]);
  Plot(s, 58, kWallTop + 13, pal::kOrangeArray[4]);
  // A pipe running down the wall.
  Paint(s, Limb({16, kWallTop + 1}, {16, kFoot - 1}, 1.2, 1.2), pal::kMetal, {.bias = 1});
}

void PaintHatch(Surface& s) {
  // The roof hatch the hero drops into: a dark well ringed with landing lights, its lid
  // swung open to the left.
  Paint(s, Plate({{11, 6}, {8, -0.5}, {20, -0.5}, {21, 6}}, 1.0), pal::kMetal, {.bias = 0});
  FillBox(s, 22, kRoof, 51, kWallTop - 1, pal::kMetalArray[0]);
  // Light rising from inside the well.
  FillBox(s, 24, kRoof + 1, 49, kRoof + 1, pal::kNightArray[1]);
  FillBox(s, 24, kRoof + 2, 49, kRoof + 2, pal::kCyanArray[0]);
  FillBox(s, 24, kRoof + 3, 49, kWallTop - 1, pal::kCyanArray[1]);
  for (int x = 24; x <= 49; x += 4) Plot(s, x, kRoof, pal::kCyanArray[4]);
  for (int x = 26; x <= 49; x += 4) Plot(s, x, kRoof, pal::kCyanArray[2]);
}

void PaintRoofGear(Surface& s) {
  // A vent box and a row of beacons along the roof's right end.
  Paint(s, Slab(56, 1, 65, kRoof + 1, 1.0), pal::kMetal, {.bias = 1});
  for (int x = 58; x <= 63; x += 2) Line(s, x, 2, x, kRoof, pal::kMetalArray[0]);
  Plot(s, 68, kRoof + 1, pal::kRedArray[3]);
}

void PaintMast(Surface& s) {
  // A radio mast with a dish and a red beacon.
  Paint(s, Slab(76, 6, 80, kFoot, 1.0), pal::kMetal, {.bias = 1});
  for (int y = 10; y < kFoot; y += 5) {
    Line(s, 76, y, 80, y + 4, pal::kMetalArray[0]);
    Line(s, 80, y, 76, y + 4, pal::kMetalArray[0]);
  }
  Paint(s, Slab(72, kFoot - 6, 84, kFoot, 1.0), pal::kSuit, {.bias = -1});
  Paint(s, Ball(86, 12, 5.0, 3.5), pal::kSuit, {.bias = 0});
  FillEllipse(s, 87, 11.5, 3.0, 2.0, pal::kSuitArray[1]);
  Line(s, 80, 14, 84, 12, pal::kMetalArray[2]);
  Paint(s, Ball(78.5, 3.5, 2.0, 2.0), pal::kRed, {.bias = 1, .seams = false});
  Plot(s, 77, 2, pal::kRedArray[4]);
}

void PaintDome(Surface& s) {
  // A glass dome on the left with a glimpse of plants inside.
  Paint(s, Slab(1, 33, 13, kFoot, 1.0), pal::kMetal, {.bias = 1});
  Shape dome = Ball(7, 33, 6.5, 9.0);
  const auto inDome = dome.contains;
  dome.contains = [inDome](double x, double y, Vec3& n) { return y < 33 && inDome(x, y, n); };
  dome.bottom = 33;
  Paint(s, dome, pal::kCyan, {.bias = -1, .contrast = 1.5});
  Plot(s, 5, 29, pal::kMossArray[3]);
  Plot(s, 6, 30, pal::kMossArray[2]);
  Plot(s, 8, 31, pal::kMossArray[3]);
  Plot(s, 4, 27, pal::kCyanArray[4]);
}

}  // namespace

Surface BuildingSheet() {
  Surface s(kW, kH);
  PaintLedge(s);
  PaintDome(s);
  PaintMast(s);
  PaintMainBlock(s);
  PaintRoofGear(s);
  PaintHatch(s);
  // Outline against the open sky only; the ledge's rows are solid except beyond its end.
  Surface copy = s;
  Outline(copy, pal::kOutline);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (y < kGroundTop || x > LedgeEnd(y) - 2) s.set(x, y, copy.at(x, y));
  return WithMaskBelow(s);
}

}  // namespace zendor::datagen
