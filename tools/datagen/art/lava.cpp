#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "datagen/art/art_random.h"
#include "datagen/art/canvas.h"
#include "datagen/art/ground.h"
#include "datagen/art/painters.h"
#include "datagen/art/palette.h"
#include "datagen/art/sheet_layout.h"

// The lava pool set into the ground: four frames of 72 x 25. Rows 0..7 rise above the ground
// line (embers and heat glow over the sky), rows 8..24 are the ground with the pool in it.
// Frame 0 is the calm pool painted into the level at load; frames 1, 2, 3 loop while it
// bubbles.
namespace zendor::datagen {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kWidth = 72, kHeight = 25, kGroundRow = 8;
constexpr double kPoolX = 35.5, kPoolY = 16.6, kPoolHalfWidth = 31.0, kPoolHalfHeight = 5.6;

// How far a point lies inside the pool: below 1 inside, 1 on the shore.
double PoolDistance(double x, double y) {
  const double u = (x - kPoolX) / kPoolHalfWidth, v = (y - kPoolY) / kPoolHalfHeight;
  return std::pow(u * u, 2.0) + v * v;
}

struct Bubble {
  double x, y, radius;
  bool bursting;
};

Pixel LavaPixel(int x, int y, int frame) {
  // The crust drifts on a small circle through the noise field, so frames 1-3 loop.
  const double a = 2 * kPi * (frame - 1) / 3.0;
  const double ox = frame == 0 ? 0 : 2.0 * std::cos(a), oy = frame == 0 ? 0 : 1.2 * std::sin(a);
  const double n = FractalNoise(x * 0.8 + ox, y * 2.0 + oy, 12, 3, 313);
  const double crustFrom = frame == 0 ? 0.52 : 0.6;
  // Cooler at the shore.
  const double shore = PoolDistance(x + 0.5, y + 0.5);
  const double v = n + shore * 0.12;
  if (v > crustFrom) {
    const double seam = std::abs(FractalNoise(x * 0.7 - ox, y * 1.6 - oy, 7, 2, 929) - 0.5);
    if (seam < 0.035) return pal::kLavaArray[3];  // glowing cracks in the crust
    return v > crustFrom + 0.12 ? pal::kLavaArray[0] : pal::kLavaArray[1];
  }
  if (v > crustFrom - 0.05) return pal::kLavaArray[2];
  if (v > crustFrom - 0.14) return pal::kLavaArray[3];
  return Dither(pal::kLavaArray[4], pal::kLavaArray[5], (crustFrom - 0.14 - v) * 5, x, y);
}

void PaintBubble(Surface& s, const Bubble& b) {
  for (int y = static_cast<int>(b.y - b.radius) - 1; y <= static_cast<int>(b.y + b.radius) + 1; ++y)
    for (int x = static_cast<int>(b.x - b.radius * 2) - 1;
         x <= static_cast<int>(b.x + b.radius * 2) + 1; ++x) {
      const double u = (x + 0.5 - b.x) / (b.radius * 1.6), v = (y + 0.5 - b.y) / b.radius;
      const double d = u * u + v * v;
      if (d > 1.0) continue;
      if (b.bursting) {
        if (d > 0.45)
          Plot(s, x, y, pal::kLavaArray[5]);  // a ring of splashes
        else
          Plot(s, x, y, pal::kLavaArray[2]);
      } else {
        Plot(s, x, y, d < 0.3 && u < 0 && v < 0 ? pal::kLavaArray[6] : pal::kLavaArray[4]);
      }
    }
}

Surface LavaFrame(int frame) {
  Surface s(kWidth, kHeight);
  PaintGroundTop(s, 0, kWidth - 1, kGroundRow);
  ArtRandom rng(500);
  ScatterPebbles(s, rng, 3, 66, kGroundRow, 5);
  // Shore: the stone round the pool glows red, strongest on the far bank, which faces the lava.
  for (int y = kGroundRow; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const double d = PoolDistance(x + 0.5, y + 0.5);
      if (d <= 1.0) {
        Plot(s, x, y, LavaPixel(x, y, frame));
      } else if (d < 1.5) {
        // The bank: a dark edge, then the far bank lit red by the glow and the near bank's
        // lip catching the light.
        const bool farBank = y < kPoolY;
        const double glow = (1.5 - d) / 0.5;
        Pixel c = s.at(x, y);
        if (farBank)
          c = Dither(c, glow > 0.5 ? pal::kLavaArray[2] : pal::kLavaArray[1], glow, x, y);
        else if (d < 1.2)
          c = pal::kStoneArray[5];
        Plot(s, x, y, c);
      }
    }
  // Bubbles: frame 1 a bubble rises, frame 2 it swells while another starts, frame 3 the first
  // bursts and the second swells; frame 0 has only a lazy blister.
  std::vector<Bubble> bubbles;
  switch (frame) {
    case 0:
      bubbles = {{48.0, 18.0, 1.0, false}};
      break;
    case 1:
      bubbles = {{20.0, 17.0, 1.0, false}, {47.0, 15.0, 1.6, true}};
      break;
    case 2:
      bubbles = {{20.0, 16.5, 1.7, false}, {46.0, 18.5, 1.0, false}};
      break;
    default:
      bubbles = {{20.0, 16.5, 2.2, true}, {46.0, 18.0, 1.6, false}};
      break;
  }
  for (const Bubble& b : bubbles) PaintBubble(s, b);
  // Heat glow over the ground line and embers rising from the pool.
  if (frame != 0) {
    for (int y = 3; y < kGroundRow; ++y)
      for (int x = 6; x < 66; ++x) {
        const double strength = (y - 2) / 6.0 * (1.0 - std::pow((x - kPoolX) / 31.0, 4.0));
        if (BayerThreshold(x + frame, y) < strength * 0.22) Plot(s, x, y, pal::kLavaArray[1]);
      }
    static constexpr int kEmberX[] = {12, 23, 31, 40, 52, 60};
    for (int k = 0; k < 6; ++k) {
      const int rise = (k * 5 + frame * 3) % 9;
      const int x = kEmberX[k] + ((rise / 3) % 2), y = kGroundRow + 4 - rise;
      Plot(s, x, y,
           rise > 6 ? pal::kLavaArray[2] : (rise > 3 ? pal::kLavaArray[4] : pal::kLavaArray[5]));
    }
  }
  return s;
}

}  // namespace

Surface LavaSheet() {
  std::vector<Surface> frames;
  for (int frame = 0; frame < 4; ++frame) frames.push_back(LavaFrame(frame));
  return WithMaskBelow(JoinFrames(frames));
}

}  // namespace zendor::datagen
