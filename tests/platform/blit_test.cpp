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

TEST(BlockTransfer, CopyClipsToBothSurfacesWithoutTouchingOutside) {
  const Surface src = Numbered(4, 4);
  Surface dst(6, 6, Rgb(9, 9, 9));
  dst.fill(Rgb(9, 9, 9));
  // Starts left of the destination and reads past the source's right edge.
  BitBlt(dst, -1, 4, 6, 6, src, 1, 0, Rop::SrcCopy);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool written = y >= 4 && x <= 1;  // source columns 2..3, rows 0..1
      EXPECT_EQ(dst.at(x, y), written ? src.at(x + 2, y - 4) : Rgb(9, 9, 9)) << x << "," << y;
    }
}

TEST(BlockTransfer, SourceOutsideTheSourceContributesNothing) {
  const Surface src = Numbered(2, 2);
  Surface dst(4, 4, Rgb(5, 5, 5));
  BitBlt(dst, 0, 0, 4, 4, src, -2, -2, Rop::SrcCopy);
  EXPECT_EQ(dst.at(0, 0), Rgb(5, 5, 5));
  EXPECT_EQ(dst.at(2, 2), src.at(0, 0));
  EXPECT_EQ(dst.at(3, 3), src.at(1, 1));
  EXPECT_EQ(dst.at(1, 3), Rgb(5, 5, 5));
}

TEST(BlockTransfer, MirroredCellCoversExactlyTheSourceCell) {
  // Three cells of width 4; mirror each into its own place as the sprite preparation does.
  const Surface src = Numbered(12, 3);
  Surface dst(12, 3, Rgb(1, 1, 1));
  for (int k = 0; k < 3; ++k) {
    StretchBlt(dst, (k + 1) * 4 - 1, 0, -4, 3, src, k * 4, 0, 4, 3, Rop::SrcCopy);
  }
  for (int k = 0; k < 3; ++k)
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.at(k * 4 + x, y), src.at(k * 4 + 3 - x, y));
}

TEST(BlockTransfer, NegativeHeightMirrorsRowsAnchoredAtTheGivenRow) {
  const Surface src = Numbered(2, 4);
  Surface dst(2, 8);
  StretchBlt(dst, 0, 5, 2, -4, src, 0, 0, 2, 4, Rop::SrcCopy);  // covers rows 2..5
  EXPECT_EQ(dst.at(0, 5), src.at(0, 0));
  EXPECT_EQ(dst.at(0, 2), src.at(0, 3));
  EXPECT_EQ(dst.at(0, 1), kBlack);
  EXPECT_EQ(dst.at(0, 6), kBlack);
  // A negative source height reads the rows above the anchor, bottom row first.
  Surface flipped(2, 3);
  StretchBlt(flipped, 0, 0, 2, 3, src, 0, 3, 2, -3, Rop::SrcCopy);
  EXPECT_EQ(flipped.at(1, 0), src.at(1, 3));
  EXPECT_EQ(flipped.at(1, 2), src.at(1, 1));
}

TEST(BlockTransfer, MaskAndThenImageDrawsATransparentSprite) {
  // Sprite: a 2x1 picture whose left pixel is figure and right pixel is background.
  Surface sprite(2, 2);
  sprite.set(0, 0, Rgb(200, 10, 10));  // image: figure
  sprite.set(1, 0, kBlack);            // image: background is black
  sprite.set(0, 1, kBlack);            // mask: figure black
  sprite.set(1, 1, kWhite);            // mask: background white
  Surface scene(2, 1, Rgb(30, 60, 90));
  scene.fill(Rgb(30, 60, 90));
  BitBlt(scene, 0, 0, 2, 1, sprite, 0, 1, Rop::SrcAnd);
  BitBlt(scene, 0, 0, 2, 1, sprite, 0, 0, Rop::SrcPaint);
  EXPECT_EQ(scene.at(0, 0), Rgb(200, 10, 10));
  EXPECT_EQ(scene.at(1, 0), Rgb(30, 60, 90));
}

TEST(BlockTransfer, StretchEnlargesByWholeFactorsAndShrinks) {
  const Surface src = Numbered(3, 2);
  Surface big(9, 6);
  StretchBlt(big, 0, 0, 9, 6, src, 0, 0, 3, 2, Rop::SrcCopy);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(big.at(x, y), src.at(x / 3, y / 3));
  Surface small(3, 2);
  StretchBlt(small, 0, 0, 3, 2, big, 0, 0, 9, 6, Rop::SrcCopy);
  EXPECT_EQ(small, src);
}

TEST(BlockTransfer, OverlappingCopyWithinOneSurface) {
  Surface s = Numbered(6, 1);
  const Surface before = s;
  BitBlt(s, 2, 0, 4, 1, s, 0, 0, Rop::SrcCopy);
  for (int x = 2; x < 6; ++x) EXPECT_EQ(s.at(x, 0), before.at(x - 2, 0));
}

TEST(BlockTransfer, MaskedDrawEqualsMaskThenImageWhereverItIsClipped) {
  // A 4-frame sheet: images in the upper half, masks (black figure on white) in the lower half.
  Surface sheet(16, 6);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool figure = (x + 2 * y) % 3 != 0;
      sheet.set(x, y, figure ? Rgb(10 * x, 40 * y, 200) : kBlack);
      sheet.set(x, y + 3, figure ? kBlack : kWhite);
    }
  const Surface scene = Numbered(10, 5);
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

TEST(AlphaBlendTest, ExtremesAreExactAndMidpointsRound) {
  Surface src(1, 1, Rgb(255, 100, 1));
  src.fill(Rgb(255, 100, 1));
  Surface dst(1, 1);
  dst.fill(Rgb(0, 50, 200));
  Surface a = dst;
  AlphaBlend(a, 0, 0, 1, 1, src, 0, 0, 0);
  EXPECT_EQ(a.at(0, 0), Rgb(0, 50, 200));
  Surface b = dst;
  AlphaBlend(b, 0, 0, 1, 1, src, 0, 0, 255);
  EXPECT_EQ(b.at(0, 0), Rgb(255, 100, 1));
  Surface c = dst;
  AlphaBlend(c, 0, 0, 1, 1, src, 0, 0, 48);
  // 255*48/255 = 48; (100*48 + 50*207)/255 = 59.4 -> 59; (1*48 + 200*207)/255 = 162.5 -> 163.
  EXPECT_EQ(c.at(0, 0), Rgb(48, 59, 163));
}

TEST(SurfaceTest, ResizeKeepsContentAndFillsWithBackground) {
  Surface s(2, 2, Rgb(50, 0, 152));
  s.set(1, 1, kWhite);
  s.resize(4, 3);
  EXPECT_EQ(s.at(1, 1), kWhite);
  EXPECT_EQ(s.at(3, 2), Rgb(50, 0, 152));
  s.resize(1, 1);
  EXPECT_EQ(s.width(), 1);
  EXPECT_EQ(s.at(0, 0), Rgb(50, 0, 152));
}

}  // namespace
}  // namespace zendor
