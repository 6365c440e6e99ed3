#pragma once

#include <span>

#include "platform/surface.h"

// Plain pixel operations for painting pictures. In sprites pure black means "no figure here",
// so Plot never writes pure black: it writes the outline colour instead.
namespace zendor::datagen {

struct Vec2 {
  double x = 0, y = 0;
};

inline bool IsFigure(const Surface& s, int x, int y) {
  return s.contains(x, y) && s.at(x, y) != kBlack;
}

// Clipped single pixel.
void Plot(Surface& s, int x, int y, Pixel colour);
// Clipped filled box, corners inclusive.
void FillBox(Surface& s, int x0, int y0, int x1, int y1, Pixel colour);
// One-pixel line from (x0, y0) to (x1, y1), both ends drawn.
void Line(Surface& s, int x0, int y0, int x1, int y1, Pixel colour);
// Filled ellipse sampled at pixel centres (pixel x covers x..x+1).
void FillEllipse(Surface& s, double cx, double cy, double rx, double ry, Pixel colour);
// Filled polygon sampled at pixel centres (even-odd rule).
void FillPolygon(Surface& s, std::span<const Vec2> points, Pixel colour);
// Ordered dither between two colours: t = 0 gives `from`, t = 1 gives `to`.
Pixel Dither(Pixel from, Pixel to, double t, int x, int y);

// Adds a one-pixel outline around the figure (pure-black pixels touching it become `colour`).
// With `corners` the diagonal neighbours count too.
void Outline(Surface& s, Pixel colour, bool corners = false);
// Copies the figure pixels (not pure black) of `src` onto `dst` with its top-left at (x, y).
void Stamp(Surface& dst, const Surface& src, int x, int y);
// As Stamp, every source pixel enlarged to scale x scale.
void StampScaled(Surface& dst, const Surface& src, int x, int y, int scale);
// The picture flipped left to right.
Surface MirrorX(const Surface& src);
// Replaces every pixel of one colour by another.
void Recolour(Surface& s, Pixel from, Pixel to);

}  // namespace zendor::datagen
