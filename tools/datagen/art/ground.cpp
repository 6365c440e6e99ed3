#include "datagen/art/ground.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "datagen/art/canvas.h"
#include "datagen/art/painters.h"
#include "datagen/art/palette.h"
#include "datagen/art/shading.h"

namespace zendor::datagen {
namespace {

// Grain of a repeating texture: a fixed value per (column mod period, row).
double Grain(int column, int row, int period, std::uint32_t seed) {
  const int c = ((column % period) + period) % period;
  return LatticeValue(c, row, seed);
}

// A stone shade with sparse grain: mostly the row's own shade, with a few darker and lighter
// specks.
Pixel Speckled(int level, double grain) {
  if (grain < 0.10) return pal::Shade(pal::kStone, level - 1);
  if (grain > 0.93) return pal::Shade(pal::kStone, level + 1);
  return pal::Shade(pal::kStone, level);
}

// Shade (on the stone ramp) of each row of the top surface: dim at the far edge, brighter
// towards the viewer, with a bright lip along the front. Half steps are dithered.
double TopLevel(int row) {
  static constexpr double kLevels[kGroundTopRows] = {2.0, 2.0, 2.5, 3.0, 3.0, 3.0, 3.0, 3.0, 3.0,
                                                     3.0, 3.0, 3.0, 3.5, 3.5, 4.0, 5.0, 4.0};
  return kLevels[row];
}

// The cliff face: shadow under the lip, then layered rock darkening downwards.
double FaceLevel(int row) {
  static constexpr double kLevels[kGroundFaceRows] = {0.6, 1.4, 2.2, 2.0, 1.6, 2.1, 1.9, 1.5,
                                                      1.9, 1.7, 1.3, 1.6, 1.3, 1.0, 0.8};
  return kLevels[row];
}

Pixel RampAt(double level, double jitter, int x, int y) {
  const double v = level + jitter;
  const int base = static_cast<int>(std::floor(v));
  return Dither(pal::Shade(pal::kStone, base), pal::Shade(pal::kStone, base + 1), v - base, x, y);
}

void PaintPatch(Surface& s, double cx, double cy, double rx, double ry, int shift) {
  for (int y = static_cast<int>(cy - ry); y <= static_cast<int>(cy + ry); ++y)
    for (int x = static_cast<int>(cx - rx); x <= static_cast<int>(cx + rx); ++x) {
      if (!s.contains(x, y)) continue;
      const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry, d = u * u + v * v;
      if (d > 1.0 || (d > 0.55 && BayerThreshold(x, y) < (d - 0.55) / 0.45)) continue;
      for (int i = 0; i < static_cast<int>(pal::kStone.size()); ++i)
        if (s.at(x, y) == pal::kStone[i]) {
          Plot(s, x, y, pal::Shade(pal::kStone, i + shift));
          break;
        }
    }
}

void PaintCrack(Surface& s, ArtRandom& rng, int x, int top, int length) {
  int y = top;
  for (int k = 0; k < length; ++k) {
    Plot(s, x, y, pal::kStoneArray[0]);
    Plot(s, x + 1, y, pal::kStoneArray[2]);
    x += rng.Between(-1, 1);
    ++y;
  }
}

}  // namespace

void PaintGroundTop(Surface& s, int x0, int x1, int top, int phase) {
  for (int row = 0; row < kGroundTopRows; ++row)
    for (int x = x0; x <= x1; ++x) {
      const int column = x - x0 + phase;
      const double level = TopLevel(row);
      const int base = static_cast<int>(level) +
                       (level - static_cast<int>(level) > BayerThreshold(column, row) ? 1 : 0);
      const double grain = row >= 15 ? 0.5 : Grain(column, row, kGroundTopPeriod, 11);
      Plot(s, x, top + row, Speckled(base, grain));
    }
}

void PaintGroundFace(Surface& s, int x0, int x1, int top, int phase) {
  for (int row = 0; row < kGroundFaceRows; ++row)
    for (int x = x0; x <= x1; ++x) {
      const int column = x - x0 + phase;
      const double jitter = (Grain(column, row, kGroundFacePeriod, 23) - 0.5) * 0.8;
      Plot(s, x, top + row, RampAt(FaceLevel(row), row == 0 ? 0 : jitter, column, row));
    }
}

void ScatterPebbles(Surface& s, ArtRandom& rng, int x0, int x1, int top, int count) {
  for (int k = 0; k < count; ++k) {
    const int row = rng.Between(2, 13);
    const int w = rng.Between(1, row > 8 ? 3 : 2);
    const int x = rng.Between(x0, x1 - w);
    const int lit = row > 8 ? 5 : 4;
    for (int i = 0; i < w; ++i)
      Plot(s, x + i, top + row, pal::Shade(pal::kStone, lit - (i == w - 1)));
    if (w >= 2) Plot(s, x + w - 1, top + row + 1, pal::kStoneArray[1]);  // shadow, lower right
    if (w == 3) Plot(s, x + 1, top + row - 1, pal::Shade(pal::kStone, lit));
  }
}

void PaintMoss(Surface& s, ArtRandom& rng, int cx, int cy, int radius) {
  const std::uint32_t seed = static_cast<std::uint32_t>(rng.Next());
  for (int y = cy - radius; y <= cy + radius; ++y)
    for (int x = cx - 2 * radius; x <= cx + 2 * radius; ++x) {
      const double u = (x - cx) / (2.0 * radius), v = (y - cy) / static_cast<double>(radius);
      const double d = u * u + v * v + (LatticeValue(x, y, seed) - 0.5) * 0.6;
      if (d > 1.0) continue;
      const int level = d < 0.3 ? 2 : 1;
      Plot(s, x, y,
           Dither(pal::Shade(pal::kMoss, level - 1), pal::Shade(pal::kMoss, level), 0.5, x, y));
    }
}

void PaintCrystal(Surface& s, int x, int baseY, int height) {
  for (int k = 0; k < height; ++k) {
    Plot(s, x, baseY - k, k == height - 1 ? pal::kCyanArray[4] : pal::kCyanArray[3]);
    if (k < height - 2) Plot(s, x + 1, baseY - k, pal::kCyanArray[1]);
  }
  Plot(s, x - 1, baseY, pal::kCyanArray[2]);
}

void ScatterFaceDetails(Surface& s, ArtRandom& rng, int x0, int x1, int top, int count) {
  for (int k = 0; k < count; ++k) {
    const int kind = rng.Between(0, 5);
    const int x = rng.Between(x0 + 1, x1 - 3);
    if (kind <= 2) {  // a boulder in the rock, lit from the upper left
      const int y = top + rng.Between(3, 11), w = rng.Between(3, 5);
      for (int i = 0; i < w; ++i) {
        Plot(s, x + i, y, pal::kStoneArray[i == 0 ? 4 : 3]);
        Plot(s, x + i, y + 1, pal::kStoneArray[i == 0 ? 3 : 2]);
      }
      for (int i = 0; i < w; ++i) Plot(s, x + i, y + 2, pal::kStoneArray[0]);
    } else if (kind <= 4) {  // a vertical crack
      int cx = x;
      for (int y = top + rng.Between(1, 4), end = y + rng.Between(4, 9);
           y < std::min(end, top + 14); ++y) {
        Plot(s, cx, y, pal::kStoneArray[0]);
        if (rng.Chance(0.3)) cx += rng.Between(-1, 1);
        cx = std::clamp(cx, x0, x1);
      }
    } else {  // a glint of crystal
      const int y = top + rng.Between(4, 12);
      Plot(s, x, y, pal::kCyanArray[3]);
      Plot(s, x + 1, y, pal::kCyanArray[1]);
    }
  }
}

Pixel ChasmShade(int row, int x) {
  // A faint far rim, then darkness deepening downwards.
  if (row == 0) return pal::kNightArray[3];
  const double depth = std::min(1.0, row / 22.0);
  const double level = 2.6 - depth * 2.6;
  const int base = static_cast<int>(std::floor(level));
  return Dither(pal::Shade(pal::kNight, base), pal::Shade(pal::kNight, base + 1), level - base, x,
                row);
}

Pixel ChasmColour(int row, int x) {
  // Mist glowing far below, drifting in slow waves across the screen.
  if (row >= 22) {
    const double mist = (row - 22) / 9.0 * (0.35 + 0.65 * FractalNoise(x, row * 2.0, 24.0, 3, 77));
    if (mist > 0.5)
      return Dither(pal::kMagentaArray[0], pal::kMagentaArray[1], (mist - 0.5) * 2, x, row);
    if (mist > 0.15)
      return Dither(pal::kNightArray[1], pal::kMagentaArray[0], (mist - 0.15) / 0.35, x, row);
  }
  return ChasmShade(row, x);
}

Surface ChasmSheet() {
  Surface s(240, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 240; ++x) Plot(s, x, y, ChasmColour(y, x));
  // A few lava lights deep down.
  ArtRandom rng(606);
  for (int k = 0; k < 7; ++k) {
    const int x = rng.Between(4, 235), y = rng.Between(26, 30);
    Plot(s, x, y, pal::kLavaArray[rng.Between(2, 3)]);
  }
  return s;
}

Surface GroundTileSheet(int index) {
  Surface s(48, 17);
  PaintGroundTop(s, 0, 47, 0);
  ArtRandom rng(100 + index);
  switch (index) {
    case 1:  // plain ground, worn smooth in places, a few pebbles
      PaintPatch(s, 14, 9, 9, 3.5, 1);
      PaintPatch(s, 36, 5, 6, 2.2, -1);
      ScatterPebbles(s, rng, 2, 45, 0, 9);
      PaintCrack(s, rng, 30, 5, 6);
      break;
    case 2:  // mossy patch
      PaintPatch(s, 30, 10, 10, 3.5, -1);
      PaintMoss(s, rng, 16, 8, 3);
      PaintMoss(s, rng, 34, 11, 2);
      ScatterPebbles(s, rng, 2, 45, 0, 5);
      break;
    default:  // glowing crystals among stones
      PaintPatch(s, 22, 8, 11, 4, 1);
      ScatterPebbles(s, rng, 2, 45, 0, 6);
      PaintCrack(s, rng, 12, 3, 9);
      PaintCrystal(s, 24, 10, 4);
      PaintCrystal(s, 27, 11, 3);
      PaintCrystal(s, 38, 7, 3);
      break;
  }
  return s;
}

Surface GroundFaceSheet(int index) {
  const int width = index == 0 ? 48 : (index == 1 ? 72 : 16);
  Surface s(width, 15);
  PaintGroundFace(s, 0, width - 1, 0);
  ArtRandom rng(200 + index);
  if (index == 0) ScatterFaceDetails(s, rng, 3, 44, 0, 6);
  if (index == 1) {
    // Details stay inside the columns 8..55 that also serve as a 48-wide piece, and inside
    // 59..68, so that every 48-wide window and the whole piece join their neighbours.
    ScatterFaceDetails(s, rng, 11, 52, 0, 6);
    ScatterFaceDetails(s, rng, 59, 68, 0, 1);
  }
  if (index == 2) {
    // The end of a stretch: the cliff face turns into the chasm on the left, undercut below.
    for (int row = 0; row < 15; ++row) {
      const int edge = 3 + row / 3 + (row % 4 == 1 ? 1 : 0);
      for (int x = 0; x < edge; ++x) Plot(s, x, row, ChasmShade(17 + row, x));
      Plot(s, edge, row, pal::kStoneArray[row < 2 ? 3 : 2]);
    }
  }
  return s;
}

Surface GroundEndSheet() {
  // The left end of a stretch of ground: the top surface crumbles into the chasm on its left,
  // showing a sliver of the lit end face of the rock.
  // It is followed by an ordinary tile, so its last column ends a repeat of the texture.
  Surface s(16, 17);
  PaintGroundTop(s, 0, 15, 0, kGroundTopPeriod - 16);
  static constexpr int kEdge[17] = {5, 5, 4, 4, 5, 5, 4, 3, 3, 4, 4, 3, 3, 3, 2, 2, 3};
  for (int row = 0; row < 17; ++row) {
    for (int x = 0; x < kEdge[row]; ++x) Plot(s, x, row, ChasmShade(row, x));
    // The end face of the rock, facing the light.
    const int face = kEdge[row];
    Plot(s, face, row, pal::kStoneArray[row >= 15 ? 6 : 5]);
    Plot(s, face + 1, row, pal::kStoneArray[4]);
  }
  // Loose stones at the brink.
  Plot(s, 8, 4, pal::kStoneArray[5]);
  Plot(s, 9, 5, pal::kStoneArray[1]);
  Plot(s, 1, 9, pal::kStoneArray[3]);
  Plot(s, 10, 11, pal::kStoneArray[5]);
  Plot(s, 11, 11, pal::kStoneArray[2]);
  return s;
}

}  // namespace zendor::datagen
