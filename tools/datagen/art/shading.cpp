#include "datagen/art/shading.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zendor::datagen {
namespace {

// Direction towards the light: up and to the left, a little in front of the picture.
constexpr Vec3 kLight{-0.50, -0.60, 0.62};

int Floor(double v) {
  return static_cast<int>(std::floor(v));
}
int Ceil(double v) {
  return static_cast<int>(std::ceil(v));
}

Vec3 Normalised(double x, double y, double z) {
  const double len = std::sqrt(x * x + y * y + z * z);
  return len > 0 ? Vec3{x / len, y / len, z / len} : Vec3{};
}

// Surface direction of a rounded rim: flat inside, tilting outwards over the last `bevel` pixels.
Vec3 RimNormal(double outX, double outY, double depth, double bevel) {
  if (bevel <= 0 || depth >= bevel) return Vec3{};
  const double tilt = 1.0 - depth / bevel;
  return Normalised(outX * tilt, outY * tilt, 1.0 - 0.7 * tilt);
}

}  // namespace

Shape Ball(double cx, double cy, double rx, double ry) {
  Shape s;
  s.contains = [=](double x, double y, Vec3& n) {
    const double u = (x - cx) / rx, v = (y - cy) / ry, d = u * u + v * v;
    if (d > 1.0) return false;
    n = Normalised(u, v, std::sqrt(std::max(0.0, 1.0 - d)) + 0.15);
    return true;
  };
  s.left = Floor(cx - rx);
  s.right = Ceil(cx + rx);
  s.top = Floor(cy - ry);
  s.bottom = Ceil(cy + ry);
  return s;
}

Shape Limb(Vec2 a, Vec2 b, double ra, double rb) {
  Shape s;
  s.contains = [=](double x, double y, Vec3& n) {
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double r = ra + (rb - ra) * t;
    const double ox = x - (a.x + dx * t), oy = y - (a.y + dy * t);
    const double d2 = (ox * ox + oy * oy) / (r * r);
    if (d2 > 1.0) return false;
    n = Normalised(ox / r, oy / r, std::sqrt(std::max(0.0, 1.0 - d2)) + 0.15);
    return true;
  };
  const double r = std::max(ra, rb);
  s.left = Floor(std::min(a.x, b.x) - r);
  s.right = Ceil(std::max(a.x, b.x) + r);
  s.top = Floor(std::min(a.y, b.y) - r);
  s.bottom = Ceil(std::max(a.y, b.y) + r);
  return s;
}

Shape Slab(double x0, double y0, double x1, double y1, double bevel) {
  Shape s;
  s.contains = [=](double x, double y, Vec3& n) {
    if (x < x0 || x > x1 || y < y0 || y > y1) return false;
    const double l = x - x0, r = x1 - x, t = y - y0, b = y1 - y;
    const double depth = std::min({l, r, t, b});
    if (depth == l)
      n = RimNormal(-1, 0, depth, bevel);
    else if (depth == r)
      n = RimNormal(1, 0, depth, bevel);
    else if (depth == t)
      n = RimNormal(0, -1, depth, bevel);
    else
      n = RimNormal(0, 1, depth, bevel);
    return true;
  };
  s.left = Floor(x0);
  s.right = Ceil(x1);
  s.top = Floor(y0);
  s.bottom = Ceil(y1);
  return s;
}

Shape Plate(std::vector<Vec2> outline, double bevel) {
  Shape s;
  double l = std::numeric_limits<double>::max(), t = l, r = -l, b = -l;
  for (const Vec2& p : outline) {
    l = std::min(l, p.x);
    r = std::max(r, p.x);
    t = std::min(t, p.y);
    b = std::max(b, p.y);
  }
  s.left = Floor(l);
  s.right = Ceil(r);
  s.top = Floor(t);
  s.bottom = Ceil(b);
  s.contains = [pts = std::move(outline), bevel](double x, double y, Vec3& n) {
    bool inside = false;
    double best = std::numeric_limits<double>::max(), outX = 0, outY = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
      const Vec2 a = pts[i], c = pts[(i + 1) % pts.size()];
      if ((a.y <= y && c.y > y) || (c.y <= y && a.y > y))
        if (x < a.x + (y - a.y) / (c.y - a.y) * (c.x - a.x)) inside = !inside;
      const double dx = c.x - a.x, dy = c.y - a.y, len2 = dx * dx + dy * dy;
      const double k =
          len2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0, 1.0) : 0;
      const double ex = x - (a.x + dx * k), ey = y - (a.y + dy * k);
      const double d = std::sqrt(ex * ex + ey * ey);
      if (d < best) {
        best = d;
        outX = d > 0 ? -ex / d : 0;
        outY = d > 0 ? -ey / d : 0;
      }
    }
    if (!inside) return false;
    n = RimNormal(outX, outY, best, bevel);
    return true;
  };
  return s;
}

int LightLevel(const Vec3& normal, int levels, double contrast) {
  const double lightLen =
      std::sqrt(kLight.x * kLight.x + kLight.y * kLight.y + kLight.z * kLight.z);
  const double flat = kLight.z / lightLen;
  const double b = (normal.x * kLight.x + normal.y * kLight.y + normal.z * kLight.z) / lightLen;
  const double t = std::clamp((flat + (b - flat) * contrast + 0.25) / 1.2, 0.0, 0.999);
  return static_cast<int>(t * levels);
}

void Paint(Surface& s, const Shape& shape, pal::Ramp ramp, const Finish& finish) {
  const int w = shape.right - shape.left + 1, h = shape.bottom - shape.top + 1;
  if (w <= 0 || h <= 0) return;
  std::vector<char> inside(static_cast<std::size_t>(w) * h, 0);
  std::vector<Vec3> normals(inside.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Vec3 n;
      if (shape.contains(shape.left + x + 0.5, shape.top + y + 0.5, n)) {
        inside[y * w + x] = 1;
        normals[y * w + x] = n;
      }
    }
  auto in = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && inside[y * w + x]; };
  const Surface before = s;
  const int levels = static_cast<int>(ramp.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!in(x, y)) continue;
      const int px = shape.left + x, py = shape.top + y;
      bool seam = false;
      if (finish.seams) {
        const int nx[4] = {-1, 1, 0, 0}, ny[4] = {0, 0, -1, 1};
        for (int k = 0; k < 4; ++k)
          if (!in(x + nx[k], y + ny[k]) && IsFigure(before, px + nx[k], py + ny[k])) seam = true;
      }
      if (seam) {
        Plot(s, px, py, finish.seam != kBlack ? finish.seam : ramp[0]);
      } else {
        const int level = LightLevel(normals[y * w + x], levels, finish.contrast) + finish.bias;
        Plot(s, px, py, pal::Shade(ramp, level));
      }
    }
}

}  // namespace zendor::datagen
