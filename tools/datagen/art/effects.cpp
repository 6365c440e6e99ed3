#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "datagen/art/art_random.h"
#include "datagen/art/painters.h"
#include "datagen/art/palette.h"
#include "datagen/art/shading.h"
#include "datagen/art/sheet_layout.h"

// Laser shots, explosions and the ground shadow.
namespace zendor::datagen {
namespace {

constexpr double kPi = std::numbers::pi;

// The laser's colours from its faint fringe to its white-hot core.
constexpr Pixel kBeam[] = {pal::kCyanArray[1], pal::kCyanArray[2], pal::kCyanArray[3],
                           pal::kCyanArray[4], pal::kWhite};

// A bolt flying right: a white core with a cyan glow, thickest at its head, fading to a
// broken trail behind. `core` is the row of the bolt's centre line (it may be a half row).
Surface Bolt(int w, int h, double core, double trail) {
  Surface f(w, h);
  for (int x = 0; x < w; ++x) {
    const double t = static_cast<double>(x) / (w - 1);  // 0 at the tail, 1 at the head
    const double headRound = x >= w - 3 ? (w - 1 - x) * 0.5 : 1.2;
    const double reach = std::min(headRound, 0.6 + t * (h / 2.0 - 0.3));
    for (int y = 0; y < h; ++y) {
      const double d = std::abs(y + 0.5 - (core + 0.5)) / std::max(reach, 0.35);
      if (d > 1.6) continue;
      double heat = (1.6 - d) / 1.6 * (0.35 + 0.65 * t);
      if (t < trail && BayerThreshold(x, y) > t / trail) continue;  // the trail breaks up
      const int level = std::clamp(static_cast<int>(heat * 5.4), 0, 4);
      Plot(f, x, y, kBeam[level]);
    }
  }
  return f;
}

// The shot hitting and fizzling out: a star of sparks that shrinks with each picture.
Surface Fizzle(int w, int h, int stage, std::uint64_t seed) {
  Surface f(w, h);
  ArtRandom rng(seed);
  const double cx = w / 2.0, cy = h / 2.0;
  const double radius = std::min(cx, cy);
  // Glow core.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
      const double core = stage == 0 ? 0.55 : (stage == 1 ? 0.45 : 0.0);
      if (d < core) Plot(f, x, y, kBeam[std::clamp(static_cast<int>((1 - d / core) * 5), 1, 4)]);
    }
  // Rays.
  const int rays = stage == 0 ? 8 : (stage == 1 ? 6 : 4);
  for (int r = 0; r < rays; ++r) {
    const double a = 2 * kPi * r / rays + rng.Between(-0.3, 0.3);
    const double len = radius * (stage == 2 ? rng.Between(0.6, 1.0) : rng.Between(0.75, 1.05));
    for (double s = (stage == 2 ? 0.3 : 0.5) * radius; s < len; s += 0.5) {
      const int x = static_cast<int>(std::floor(cx + std::cos(a) * s));
      const int y = static_cast<int>(std::floor(cy + std::sin(a) * s));
      const int level = std::clamp(static_cast<int>((1 - s / len) * 4 + 1 - stage * 0.7), 0, 4);
      if (!IsFigure(f, x, y)) Plot(f, x, y, kBeam[level]);
    }
  }
  return f;
}

// A fireball frame: a ragged ball hot at its heart, with flying debris and sparks.
// `age` runs 0 (flash) to 1 (smoke); fire and debris take their colours from two ramps.
Surface Blast(int w, int h, Vec2 centre, double radius, double age, pal::Ramp debris,
              std::uint32_t seed) {
  Surface f(w, h);
  ArtRandom rng(seed);
  // Everything stays inside a circle clear of the frame's edges, room for the outline left.
  const double reach = std::min({centre.x, w - centre.x, centre.y, h - centre.y}) - 1.6;
  auto inFrame = [&](double x, double y) {
    return std::hypot(x - centre.x, y - centre.y) <= reach;
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double dx = x + 0.5 - centre.x, dy = y + 0.5 - centre.y;
      const double wobble = 0.72 + 0.56 * ValueNoise(x, y, 3.0, seed);
      const double d = std::hypot(dx, dy * 1.1) / (radius * wobble);
      if (age > 0.6 || d > 1.0 || !inFrame(x + 0.5, y + 0.5)) continue;  // smoke comes below
      const double heat = (1.0 - d) * (1.2 - age) + 0.1;
      Plot(f, x, y, pal::Shade(pal::kLava, 1 + static_cast<int>(heat * 7.5)));
    }
  if (age > 0.6) {
    // Smoke: puffs drifting apart, lit from the upper left, with dying embers.
    for (int k = 0; k < 6; ++k) {
      const double a = 2 * kPi * (k + rng.Between(0.0, 0.5)) / 6;
      const double dist = std::min(reach - 3.5, radius * 0.45);
      const double r = rng.Between(2.4, 3.6);
      Paint(f, Ball(centre.x + std::cos(a) * dist, centre.y + std::sin(a) * dist, r, r * 0.9),
            pal::kStone, {.bias = -1, .seams = false});
    }
    for (int k = 0; k < 5; ++k)
      Plot(f, static_cast<int>(centre.x) + rng.Between(-4, 4),
           static_cast<int>(centre.y) + rng.Between(-4, 4), pal::kLavaArray[rng.Between(2, 4)]);
  }
  // Debris flung outwards, in the creature's own colours.
  const int pieces = 7;
  for (int k = 0; k < pieces; ++k) {
    const double a = 2 * kPi * (k + rng.Between(0.0, 0.7)) / pieces;
    const double dist = std::min(reach - 1.5, radius * (0.5 + age * 0.9) * rng.Between(0.8, 1.15));
    const int x = static_cast<int>(std::floor(centre.x + std::cos(a) * dist));
    const int y = static_cast<int>(std::floor(centre.y + std::sin(a) * dist));
    const int size = rng.Between(1, 2);
    FillBox(f, x, y, x + size - 1, y + size - 1, pal::Shade(debris, rng.Between(2, 4)));
    if (size == 2) Plot(f, x + 1, y + 1, pal::Shade(debris, 1));
  }
  Outline(f, pal::kOutline);
  // Sparks outside the outline.
  for (int k = 0; k < 6; ++k) {
    const double a = rng.Between(0.0, 2 * kPi);
    const double dist = std::min(reach + 0.5, radius * (0.9 + age) * rng.Between(0.9, 1.3));
    const int x = static_cast<int>(std::floor(centre.x + std::cos(a) * dist));
    const int y = static_cast<int>(std::floor(centre.y + std::sin(a) * dist));
    if (!IsFigure(f, x, y)) Plot(f, x, y, age < 0.5 ? pal::kLavaArray[5] : pal::kLavaArray[3]);
  }
  return f;
}

}  // namespace

Surface LaserSheet(int index) {
  switch (index) {
    case 1:
      return WithMaskBelow(Bolt(31, 6, 2.5, 0.45));
    case 2:
      return WithMaskBelow(Bolt(30, 5, 2.0, 0.35));
    case 3:
      return WithMaskBelow(Bolt(30, 5, 2.0, 0.25));
    case 4:
      return WithMaskBelow(Fizzle(11, 13, 0, 41));
    case 5:
      return WithMaskBelow(Fizzle(8, 8, 1, 42));
    default:
      return WithMaskBelow(Fizzle(6, 4, 2, 43));
  }
}

Surface HeroExplosionSheet() {
  std::vector<Surface> frames;
  const double ages[] = {0.1, 0.45, 0.8};
  const double radii[] = {7.0, 10.5, 11.0};
  for (int k = 0; k < 3; ++k)
    frames.push_back(Blast(24, 32, {12.0, 17.0}, radii[k], ages[k], pal::kSuit, 900u + k));
  return WithMaskBelow(JoinFrames(frames));
}

Surface EnemyExplosionSheet(int kind) {
  // Where each kind's body sits in the explosion frame, and what it is made of.
  const Vec2 centres[] = {{12.0, 22.0}, {11.0, 16.0}, {12.0, 17.0}, {12.0, 17.0}, {12.0, 16.0}};
  const pal::Ramp debris[] = {pal::kGreen, pal::kSteel, pal::kMagenta, pal::kOchre, pal::kCyan};
  const double size = kind == 1 ? 8.5 : 10.0;
  std::vector<Surface> frames;
  for (int k = 0; k < 2; ++k)
    frames.push_back(Blast(24, 32, centres[kind], size * (k == 0 ? 0.72 : 0.92),
                           k == 0 ? 0.15 : 0.55, debris[kind], 700u + 10u * kind + k));
  return WithMaskBelow(JoinFrames(frames));
}

Surface ShadowSheet() {
  // Shadow colour, then the mask that cuts the ellipse out of the scene, then the one that keeps
  // only the ellipse of the darkened copy.
  Surface s(24, 24);
  FillBox(s, 0, 0, 23, 7, pal::kDeepShadow);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 24; ++x) {
      const double u = (x + 0.5 - 12.0) / 12.0, v = (y + 0.5 - 4.0) / 4.0;
      const bool inside = u * u + v * v <= 1.0;
      s.set(x, 8 + y, inside ? kBlack : kWhite);
      s.set(x, 16 + y, inside ? kWhite : kBlack);
    }
  return s;
}

}  // namespace zendor::datagen
