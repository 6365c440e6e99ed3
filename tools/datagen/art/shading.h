#pragma once

#include <functional>
#include <vector>

#include "datagen/art/canvas.h"
#include "datagen/art/palette.h"

// Shaded solids for figures: each part is a shape that knows its surface direction at every
// pixel, lit by the one light of the game's world (upper left, slightly in front), and painted
// with the shades of one palette ramp.
namespace zendor::datagen {

struct Vec3 {
  double x = 0, y = 0, z = 1;
};

// Inside test of a shape at a point; on success also its surface direction there.
struct Shape {
  std::function<bool(double x, double y, Vec3& normal)> contains;
  int left = 0, top = 0, right = -1, bottom = -1;  // pixel bounds, inclusive
};

// An ellipsoid seen from the front.
Shape Ball(double cx, double cy, double rx, double ry);
// A rounded limb from a to b whose radius tapers from ra to rb.
Shape Limb(Vec2 a, Vec2 b, double ra, double rb);
// A box with bevelled edges `bevel` pixels wide, corners inclusive of the pixel grid's edges.
Shape Slab(double x0, double y0, double x1, double y1, double bevel);
// A flat plate of any outline with bevelled rims.
Shape Plate(std::vector<Vec2> outline, double bevel);

struct Finish {
  int bias = 0;           // shifts every shade up (lighter) or down
  bool seams = true;      // a dark line where the part lies over parts painted before it
  Pixel seam = kBlack;    // colour of that line; black means the ramp's darkest shade
  double contrast = 1.0;  // how strongly the surface direction changes the shade
};

// Light level of a surface direction on a ramp of `levels` shades.
int LightLevel(const Vec3& normal, int levels, double contrast = 1.0);

// Paints the shape with shades of the ramp.
void Paint(Surface& s, const Shape& shape, pal::Ramp ramp, const Finish& finish = {});

}  // namespace zendor::datagen
