#include <algorithm>
#include <cmath>

#include "datagen/art/art_random.h"
#include "datagen/art/canvas.h"
#include "datagen/art/painters.h"
#include "datagen/art/palette.h"
#include "datagen/art/shading.h"
#include "datagen/art/sheet_layout.h"
#include "datagen/art/sky.h"

// The night sky behind the level and the layer of stars drifting over it.
namespace zendor::datagen {
namespace {

constexpr int kSkyWidth = 240, kSkyHeight = 88;

// A position on the night ramp, dithered between its two neighbouring shades.
Pixel NightAt(double level, int x, int y) {
  level = std::clamp(level, 0.0, 8.0);
  const int base = static_cast<int>(std::floor(level));
  return Dither(pal::Shade(pal::kNight, base), pal::Shade(pal::kNight, base + 1), level - base, x,
                y);
}

}  // namespace

void PaintSkyBackdrop(Surface& s, int horizon) {
  // Black-violet overhead, the horizon colour at the bottom.
  for (int y = 0; y <= horizon && y < s.height(); ++y) {
    const double level = 0.2 + 4.8 * std::pow(y / static_cast<double>(horizon), 1.5);
    for (int x = 0; x < s.width(); ++x) Plot(s, x, y, NightAt(level, x, y));
  }
  // The nebula: a drifting band from the upper right down towards the middle.
  const double scale = horizon / static_cast<double>(kSkyHeight - 1);
  for (int y = 0; y < horizon * 2 / 3; ++y)
    for (int x = 0; x < s.width(); ++x) {
      const double along = (y / scale - (44 - 0.16 * x)) / 14.0;
      const double band = std::exp(-along * along);
      const double cloud = FractalNoise(x, y, 32, 4, 91) * band;
      if (cloud < 0.28) continue;
      const double t = std::min(1.0, (cloud - 0.28) * 3.2);
      const Pixel base = s.at(x, y);
      const Pixel tint = t > 0.6 ? pal::kMagentaArray[1] : pal::kMagentaArray[0];
      Plot(s, x, y, Dither(base, tint, t > 0.6 ? (t - 0.6) * 1.6 : t * 0.9, x, y));
    }
}

void PaintRingedPlanet(Surface& s, double cx, double cy, double r) {
  auto ring = [&](bool front) {
    for (double a = 0; a < 6.283; a += 0.01) {
      for (double k = 0; k < 3; k += 1) {
        const double rx = r * 1.75 + k, ry = r * 0.36 + k * 0.3;
        const double ux = std::cos(a) * rx, uy = std::sin(a) * ry;
        const double x = cx + ux * 0.97 - uy * 0.24, y = cy + ux * 0.24 + uy * 0.97;
        const bool isFront = std::sin(a) > 0;
        if (isFront != front) continue;
        const double dx = x - cx, dy = y - cy;
        if (!front && dx * dx + dy * dy < r * r) continue;  // hidden behind the planet
        const int lit = k == 1 ? 3 : 2;
        Plot(s, static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)),
             pal::Shade(pal::kOchre, lit + (ux < 0 ? 1 : 0)));
      }
    }
  };
  ring(false);
  // The planet's bands, shaded as a ball lit from the upper left.
  for (int y = static_cast<int>(cy - r) - 1; y <= static_cast<int>(cy + r) + 1; ++y)
    for (int x = static_cast<int>(cx - r) - 1; x <= static_cast<int>(cx + r) + 1; ++x) {
      const double u = (x + 0.5 - cx) / r, v = (y + 0.5 - cy) / r;
      const double d = u * u + v * v;
      if (d > 1.0) continue;
      const double light = -0.62 * u - 0.55 * v + 0.55 * std::sqrt(1 - d);
      const double band = std::sin((v * 1.1 + u * 0.25) * 9.0 + ValueNoise(x, y, 4, 5) * 1.5);
      const double level = 1.2 + light * 3.0 + band * 0.45;
      const int base = static_cast<int>(std::floor(std::clamp(level, 0.0, 4.0)));
      Pixel c = Dither(pal::Shade(pal::kOchre, base), pal::Shade(pal::kOchre, base + 1),
                       std::clamp(level, 0.0, 4.0) - base, x, y);
      if (light < -0.15) c = light < -0.35 ? pal::kNightArray[2] : pal::kOchreArray[0];
      Plot(s, x, y, c);
    }
  ring(true);
}

void PaintMoon(Surface& s, double cx, double cy, double r) {
  Paint(s, Ball(cx, cy, r, r), pal::kStone, {.bias = 2, .seams = false, .contrast = 1.4});
  Plot(s, static_cast<int>(cx), static_cast<int>(cy + 1), pal::kStoneArray[3]);
  Plot(s, static_cast<int>(cx - 2), static_cast<int>(cy - 1), pal::kStoneArray[4]);
}

void PaintMountains(Surface& s, int horizon, std::uint32_t seed) {
  for (int x = 0; x < s.width(); ++x) {
    const double ridge = FractalNoise(x, 0, 48, 3, seed);
    const double far =
        horizon - 23 + 10 * (1 - ridge) - 6 * std::exp(-std::pow((x - 170) / 14.0, 2));
    const double near = horizon - 12 + 8 * FractalNoise(x, 0, 30, 3, seed + 12);
    const bool litSlope =
        FractalNoise(x + 1, 0, 48, 3, seed) > ridge;  // rises to the right: faces the light
    for (int y = 0; y <= horizon && y < s.height(); ++y) {
      const double haze = std::clamp((y - (horizon - 13)) / 13.0, 0.0, 1.0);
      double level = -1;
      if (y >= near)
        level = 2.2;
      else if (y >= far)
        level = 2.8 + (y - far < 1.5 && litSlope ? 1.4 : 0);
      if (level < 0) continue;
      level = level + (5.0 - level) * haze;
      Plot(s, x, y, NightAt(level, x, y));
    }
  }
}

void PaintStarField(Surface& s, int top, int bottom, int count, std::uint64_t seed) {
  ArtRandom rng(seed);
  const int w = s.width();
  auto put = [&](int x, int y, Pixel c) {
    if (y >= top && y <= bottom) Plot(s, ((x % w) + w) % w, y, c);
  };
  const Pixel tints[] = {pal::kStarWhite, pal::kCyanArray[4], pal::kLavaArray[6],
                         pal::kMagentaArray[4]};
  for (int k = 0; k < count; ++k) {
    const int x = rng.Between(0, w - 1), y = rng.Between(top + 1, bottom - 2);
    const Pixel tint = tints[rng.Between(0, 3)];
    const double size = rng.Real();
    if (size < 0.62) {  // a faint point
      put(x, y, rng.Chance(0.5) ? pal::kNightArray[7] : pal::kNightArray[8]);
    } else if (size < 0.88) {  // a bright point
      put(x, y, tint);
    } else if (size < 0.97) {  // a small cross
      put(x, y, pal::kWhite);
      put(x - 1, y, pal::kNightArray[7]);
      put(x + 1, y, pal::kNightArray[7]);
      put(x, y - 1, pal::kNightArray[7]);
      put(x, y + 1, pal::kNightArray[7]);
    } else {  // a twinkling star with long rays
      put(x, y, pal::kWhite);
      for (int d = 1; d <= 2; ++d) {
        const Pixel c = d == 1 ? tint : pal::kNightArray[7];
        put(x - d, y, c);
        put(x + d, y, c);
        put(x, y - d, c);
        put(x, y + d, c);
      }
    }
  }
}

Surface SkySheet() {
  Surface s(kSkyWidth, kSkyHeight);
  PaintSkyBackdrop(s, kSkyHeight - 1);
  PaintRingedPlanet(s, 52, 27, 11);
  PaintMoon(s, 197, 15, 4);
  PaintMountains(s, kSkyHeight - 1, 17);
  // The last rows are exactly the colour of the ground-level clear colour below them.
  for (int y = kSkyHeight - 2; y < kSkyHeight; ++y)
    for (int x = 0; x < kSkyWidth; ++x) Plot(s, x, y, pal::kHorizon);
  return s;
}

Surface StarSheet() {
  // Stars wrap round the sides, so copies laid side by side join.
  Surface s(kSkyWidth, 50);
  PaintStarField(s, 0, 49, 70, 4242);
  return WithMaskBelow(s);
}

}  // namespace zendor::datagen
