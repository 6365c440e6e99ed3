#include "platform/blit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

namespace zendor {
namespace {

// A surface whose every pixel names its own position, so any copy can be traced back.
Surface Numbered(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.set(x, y, Rgb(x + 1, y + 1, 7));
  return s;
}

TEST(BlockTransfer, CopiesClipToBothSurfacesAndTouchNothingElse) {
  struct Case {
    const char* what;
    int x, y, w, h, sx, sy;
    bool withinOneSurface;
  };
  const Case cases[] = {
      {"left of the destination, past the source's right edge", -1, 4, 6, 6, 1, 0, false},
      {"from above and left of the source", 0, 0, 4, 4, -2, -2, false},
      {"past the destination's bottom-right corner", 3, 4, 4, 4, 0, 0, false},
      {"overlapping rightwards in one surface", 2, 0, 4, 6, 0, 0, true},
      {"overlapping downwards in one surface", 0, 1, 6, 5, 0, 0, true},
  };
  const Surface src = Numbered(4, 4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Surface dst = c.withinOneSurface ? Numbered(6, 6) : Surface(6, 6, Rgb(9, 9, 9));
    const Surface before = dst;
    const Surface& from = c.withinOneSurface ? before : src;
    BitBlt(dst, c.x, c.y, c.w, c.h, c.withinOneSurface ? dst : src, c.sx, c.sy, Rop::SrcCopy);
    // Each pixel of the block whose source lies inside the source takes it; the rest stays.
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) {
        const int fx = x - c.x + c.sx, fy = y - c.y + c.sy;
        const bool inBlock = x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
        const Pixel want = inBlock && from.contains(fx, fy) ? from.at(fx, fy) : before.at(x, y);
        EXPECT_EQ(dst.at(x, y), want) << x << "," << y;
      }
  }
}

TEST(BlockTransfer, MirroringCoversExactlyTheSourceCell) {
  // Three cells of width 4, each mirrored into its own place as the sprite preparation does.
  const Surface src = Numbered(12, 3);
  Surface mirrored(12, 3);
  for (int k = 0; k < 3; ++k) {
    StretchBlt(mirrored, (k + 1) * 4 - 1, 0, -4, 3, src, k * 4, 0, 4, 3, Rop::SrcCopy);
  }
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(mirrored.at(x, y), src.at(x / 4 * 4 + 3 - x % 4, y)) << x << "," << y;
    }
}

TEST(BlockTransfer, MaskThenImageDrawsATransparentSpriteAndTheOnePassDrawAgreesWhereverClipped) {
  // A 4-frame sheet: images (figure on black) in the upper half, masks (black figure on white)
  // in the lower half.
  const auto figure = [](int x, int y) { return (x + 2 * y) % 3 != 0; };
  Surface sheet(16, 6);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 16; ++x) {
      sheet.set(x, y, figure(x, y) ? Rgb(10 * x, 40 * y, 200) : kBlack);
      sheet.set(x, y + 3, figure(x, y) ? kBlack : kWhite);
    }
  const Surface scene = Numbered(10, 5);
  Surface drawn = scene;
  BitBlt(drawn, 2, 1, 4, 3, sheet, 4, 3, Rop::SrcAnd);
  BitBlt(drawn, 2, 1, 4, 3, sheet, 4, 0, Rop::SrcPaint);
  for (int y = 0; y < 3; ++y)
    for (int x = 4; x < 8; ++x) {
      EXPECT_EQ(drawn.at(x - 2, y + 1), figure(x, y) ? sheet.at(x, y) : scene.at(x - 2, y + 1));
    }

  struct Case {
    int x, y, w, h, imageX, imageY, maskX, maskY;
  };
  const Case cases[] = {
      {2, 1, 4, 3, 4, 0, 4, 3},    // wholly inside
      {-2, -1, 4, 3, 8, 0, 8, 3},  // off the top-left corner
      {8, 3, 4, 3, 12, 0, 12, 3},  // off the bottom-right corner
      {1, 1, 4, 3, 12, 0, 14, 3},  // the mask reads past the sheet's right edge
      {1, 1, 4, 3, 0, 5, 0, 3},    // the image rows lie below the sheet
      {3, 0, -4, 3, 0, 0, 0, 3},   // a mirrored extent
  };
  for (const Case& c : cases) {
    Surface fused = scene;
    MaskedBlt(fused, c.x, c.y, c.w, c.h, sheet, c.imageX, c.imageY, c.maskX, c.maskY);
    Surface twoPasses = scene;
    BitBlt(twoPasses, c.x, c.y, c.w, c.h, sheet, c.maskX, c.maskY, Rop::SrcAnd);
    BitBlt(twoPasses, c.x, c.y, c.w, c.h, sheet, c.imageX, c.imageY, Rop::SrcPaint);
    EXPECT_EQ(fused, twoPasses) << c.x << "," << c.y;
  }
}

TEST(BlockTransfer, AlphaBlendIsExactAtTheExtremesAndRoundsBetween) {
  const Surface src(1, 1, Rgb(255, 100, 1));
  // At 48: 48; (100*48 + 50*207)/255 = 59.4 -> 59; (1*48 + 200*207)/255 = 162.5 -> 163.
  const std::pair<std::uint8_t, Pixel> cases[] = {
      {0, Rgb(0, 50, 200)}, {255, Rgb(255, 100, 1)}, {48, Rgb(48, 59, 163)}};
  for (const auto& [alpha, blended] : cases) {
    Surface dst(1, 1, Rgb(0, 50, 200));
    AlphaBlend(dst, 0, 0, 1, 1, src, 0, 0, alpha);
    EXPECT_EQ(dst.at(0, 0), blended) << int{alpha};
  }
}

// Rectangles of every kind: inside, straddling an edge, far outside, empty, inverted, and at the
// ends of the int range where a careless sum overflows.
class AnyRectangle {
 public:
  int Coordinate() {
    static constexpr int kEdges[] = {INT_MIN, INT_MIN + 1, -100000, -9, -1,     0,
                                     1,       4,           6,       9,  100000, INT_MAX};
    return Pick() ? kEdges[Below(std::size(kEdges))] : static_cast<int>(Below(15)) - 5;
  }

 private:
  bool Pick() { return Below(3) == 0; }
  std::size_t Below(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
  }
  std::mt19937 random_{20261206};
};

// The pixels a same-size transfer writes: the block (x-w+1..x for a negative extent) wherever
// both its destination and its source pixel lie inside their surfaces.
bool Copied(long long px, long long py, int x, int y, int w, int h, int sx, int sy,
            const Surface& src, long long& fx, long long& fy) {
  long long x0 = x, y0 = y, ww = w, hh = h, sx0 = sx, sy0 = sy;
  if (ww < 0) ww = -ww, x0 -= ww - 1, sx0 -= ww - 1;
  if (hh < 0) hh = -hh, y0 -= hh - 1, sy0 -= hh - 1;
  if (px < x0 || px >= x0 + ww || py < y0 || py >= y0 + hh) return false;
  fx = px - x0 + sx0;
  fy = py - y0 + sy0;
  return fx >= 0 && fy >= 0 && fx < src.width() && fy < src.height();
}

TEST(BlockTransfer, EveryTransferStaysInsideBothSurfacesWhateverTheRectangle) {
  AnyRectangle any;
  const Surface src = Numbered(4, 4);
  const Surface scene(6, 5, Rgb(9, 9, 9));
  for (int round = 0; round < 3000; ++round) {
    const int x = any.Coordinate(), y = any.Coordinate(), w = any.Coordinate(),
              h = any.Coordinate(), sx = any.Coordinate(), sy = any.Coordinate();
    SCOPED_TRACE(::testing::Message() << "x " << x << " y " << y << " w " << w << " h " << h
                                      << " sx " << sx << " sy " << sy);
    Surface filled = scene, copied = scene, blended = scene, masked = scene;
    FillRect(filled, x, y, w, h, kWhite);
    BitBlt(copied, x, y, w, h, src, sx, sy, Rop::SrcCopy);
    AlphaBlend(blended, x, y, w, h, src, sx, sy, 255);
    MaskedBlt(masked, x, y, w, h, src, sx, sy, sx, sy);
    for (int py = 0; py < scene.height(); ++py)
      for (int px = 0; px < scene.width(); ++px) {
        const bool inFill = w > 0 && h > 0 && px >= x && px - static_cast<long long>(x) < w &&
                            py >= y && py - static_cast<long long>(y) < h;
        ASSERT_EQ(filled.at(px, py), inFill ? kWhite : scene.at(px, py)) << px << "," << py;
        long long fx = 0, fy = 0;
        const bool inCopy = Copied(px, py, x, y, w, h, sx, sy, src, fx, fy);
        const Pixel source = inCopy ? src.at(static_cast<int>(fx), static_cast<int>(fy)) : 0;
        ASSERT_EQ(copied.at(px, py), inCopy ? source : scene.at(px, py)) << px << "," << py;
        ASSERT_EQ(masked.at(px, py),
                  inCopy ? ((scene.at(px, py) & source) | source) : scene.at(px, py));
        const bool inBlend = inCopy && w > 0 && h > 0;
        ASSERT_EQ(blended.at(px, py), inBlend ? source : scene.at(px, py)) << px << "," << py;
      }
    // Stretching reads and writes only inside both surfaces, at any scale and orientation.
    Surface stretched = scene;
    StretchBlt(stretched, x, y, w, h, src, sx, sy, any.Coordinate(), any.Coordinate(),
               Rop::SrcPaint);
    for (Pixel p : stretched.pixels()) ASSERT_EQ(p & ~0xFFFFFFu, 0u);
  }
}

TEST(BlockTransfer, TheEndingBoxBeyondAClippedWindowFillsNothing) {
  // Zoom 50 in a window of 4096 x 4096: the box at logical x 88 starts at 4400.
  Surface window(4096, 4096, Rgb(1, 2, 3));
  FillRect(window, 88 * 50, 64 * 50, 74 * 50, 9 * 50, kBlack);
  EXPECT_EQ(std::count(window.pixels().begin(), window.pixels().end(), kBlack), 0);
  FillRect(window, 4000, 4000, 500, 500, kBlack);
  EXPECT_EQ(std::count(window.pixels().begin(), window.pixels().end(), kBlack), 96 * 96);
}

}  // namespace
}  // namespace zendor
