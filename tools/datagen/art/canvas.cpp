#include "datagen/art/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "datagen/art/art_random.h"
#include "datagen/art/palette.h"

namespace zendor::datagen {

void Plot(Surface& s, int x, int y, Pixel colour) {
  if (s.contains(x, y)) s.set(x, y, colour == kBlack ? pal::kOutline : colour);
}

void FillBox(Surface& s, int x0, int y0, int x1, int y1, Pixel colour) {
  for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) Plot(s, x, y, colour);
}

void Line(Surface& s, int x0, int y0, int x1, int y1, Pixel colour) {
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Plot(s, x0, y0, colour);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void FillEllipse(Surface& s, double cx, double cy, double rx, double ry, Pixel colour) {
  if (rx <= 0 || ry <= 0) return;
  for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry));
       ++y)
    for (int x = static_cast<int>(std::floor(cx - rx)); x <= static_cast<int>(std::ceil(cx + rx));
         ++x) {
      const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
      if (u * u + v * v <= 1.0) Plot(s, x, y, colour);
    }
}

void FillPolygon(Surface& s, std::span<const Vec2> points, Pixel colour) {
  if (points.size() < 3) return;
  double top = points[0].y, bottom = points[0].y;
  for (const Vec2& p : points) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  std::vector<double> crossings;
  for (int y = static_cast<int>(std::floor(top)); y <= static_cast<int>(std::ceil(bottom)); ++y) {
    const double py = y + 0.5;
    crossings.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Vec2 a = points[i], b = points[(i + 1) % points.size()];
      if ((a.y <= py && b.y > py) || (b.y <= py && a.y > py))
        crossings.push_back(a.x + (py - a.y) / (b.y - a.y) * (b.x - a.x));
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
      for (int x = static_cast<int>(std::ceil(crossings[i] - 0.5)); x + 0.5 < crossings[i + 1]; ++x)
        Plot(s, x, y, colour);
  }
}

Pixel Dither(Pixel from, Pixel to, double t, int x, int y) {
  return t > BayerThreshold(x, y) ? to : from;
}

void Outline(Surface& s, Pixel colour, bool corners) {
  const Surface before = s;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) {
      if (before.at(x, y) != kBlack) continue;
      bool touches = IsFigure(before, x - 1, y) || IsFigure(before, x + 1, y) ||
                     IsFigure(before, x, y - 1) || IsFigure(before, x, y + 1);
      if (corners)
        touches = touches || IsFigure(before, x - 1, y - 1) || IsFigure(before, x + 1, y - 1) ||
                  IsFigure(before, x - 1, y + 1) || IsFigure(before, x + 1, y + 1);
      if (touches) Plot(s, x, y, colour);
    }
}

void Stamp(Surface& dst, const Surface& src, int x, int y) {
  for (int sy = 0; sy < src.height(); ++sy)
    for (int sx = 0; sx < src.width(); ++sx)
      if (src.at(sx, sy) != kBlack) Plot(dst, x + sx, y + sy, src.at(sx, sy));
}

void StampScaled(Surface& dst, const Surface& src, int x, int y, int scale) {
  for (int sy = 0; sy < src.height(); ++sy)
    for (int sx = 0; sx < src.width(); ++sx)
      if (src.at(sx, sy) != kBlack)
        FillBox(dst, x + sx * scale, y + sy * scale, x + sx * scale + scale - 1,
                y + sy * scale + scale - 1, src.at(sx, sy));
}

Surface MirrorX(const Surface& src) {
  Surface out(src.width(), src.height());
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x) out.set(src.width() - 1 - x, y, src.at(x, y));
  return out;
}

void Recolour(Surface& s, Pixel from, Pixel to) {
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      if (s.at(x, y) == from) s.set(x, y, to);
}

}  // namespace zendor::datagen
