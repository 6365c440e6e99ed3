#include "platform/blit.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zendor
