#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace zendor {

// Raster operations of the block transfers, with their classic codes.
enum class Rop : std::uint32_t {
  SrcCopy = 0xCC0020,   // destination = source
  SrcAnd = 0x8800C6,    // destination = destination AND source (masks)
  SrcPaint = 0xEE0086,  // destination = destination OR source (images over masks)
};

// Copies a w x h block. Negative extents address the block leftwards/upwards from (x, y), so a
// block at x with width -w covers x-w+1..x in both surfaces (the orientation is kept).
// Clipped to both surfaces: source pixels outside the source leave the destination unchanged.
void BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Rop rop);

// Nearest-neighbour stretch of the source rectangle onto the destination rectangle. An extent
// whose sign differs between source and destination mirrors along that axis: a destination at x
// with width -w covers x-w+1..x, its column x receiving the first source column. Clipped to both
// surfaces as BitBlt.
void StretchBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                int sw, int sh, Rop rop);

// A masked sprite drawn at (x, y): its mask block (black figure on white) ANDed onto the
// destination, then its image block (figure on black) ORed over it; both blocks are w x h.
// Clipped as BitBlt, each block on its own.
void MaskedBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int imageX, int imageY,
               int maskX, int maskY);

// Constant-alpha blend of a w x h block: dst = src * a / 255 + dst * (255 - a) / 255, rounded,
// per channel. Clipped to both surfaces; non-positive extents draw nothing.
void AlphaBlend(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                std::uint8_t alpha);

// Fills the rectangle, clipped to the surface.
void FillRect(Surface& dst, int x, int y, int w, int h, Pixel colour);

}  // namespace zendor
