// The painting toolkit behind the artwork: sprites never get pure black inside a figure,
// outlines hug the figure, the one light makes surfaces facing it brighter, parts laid over
// others get a dividing line, sheets get masks that match their images, and the random numbers
// repeat for a seed.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <vector>

#include "datagen/art/art_random.h"
#include "datagen/art/canvas.h"
#include "datagen/art/palette.h"
#include "datagen/art/shading.h"
#include "datagen/art/sheet_layout.h"

namespace zendor::datagen {
namespace {

int Count(const Surface& s, Pixel p) {
  int n = 0;
  for (Pixel q : s.pixels()) n += q == p;
  return n;
}

TEST(ArtCanvas, PaintingBlackInsideAFigureGivesTheOutlineColourInstead) {
  Surface s(4, 4);
  Plot(s, 1, 1, kBlack);
  FillBox(s, 2, 2, 3, 3, kBlack);
  EXPECT_EQ(s.at(1, 1), pal::kOutline);
  EXPECT_EQ(Count(s, pal::kOutline), 5);
  Plot(s, 9, 9, kWhite);  // off the picture: ignored
  EXPECT_EQ(Count(s, kWhite), 0);
}

TEST(ArtCanvas, OutlineRingsTheFigureWithoutTouchingIt) {
  Surface s(7, 7);
  FillBox(s, 2, 2, 4, 4, kWhite);
  Surface cross = s;
  Outline(cross, pal::kOutline);
  EXPECT_EQ(Count(cross, kWhite), 9);
  EXPECT_EQ(Count(cross, pal::kOutline), 12);  // the four sides, no corners
  EXPECT_EQ(cross.at(1, 1), kBlack);
  EXPECT_EQ(cross.at(1, 2), pal::kOutline);
  Surface square = s;
  Outline(square, pal::kOutline, true);
  EXPECT_EQ(Count(square, pal::kOutline), 16);
  EXPECT_EQ(square.at(1, 1), pal::kOutline);
}

TEST(ArtCanvas, ShapesCoverThePixelsWhoseCentresLieInside) {
  Surface s(10, 10);
  const std::vector<Vec2> square = {{2, 2}, {6, 2}, {6, 6}, {2, 6}};
  FillPolygon(s, square, kWhite);
  EXPECT_EQ(Count(s, kWhite), 16);
  EXPECT_EQ(s.at(2, 2), kWhite);
  EXPECT_EQ(s.at(6, 6), kBlack);
  Surface e(10, 10);
  FillEllipse(e, 5, 5, 3, 3, kWhite);
  EXPECT_EQ(e.at(5, 5), kWhite);
  EXPECT_EQ(e.at(2, 5), kWhite);
  EXPECT_EQ(e.at(2, 2), kBlack);
}

TEST(ArtCanvas, MirrorAndStampKeepTransparentPixelsTransparent) {
  Surface sprite(3, 1);
  sprite.set(0, 0, kWhite);
  const Surface mirrored = MirrorX(sprite);
  EXPECT_EQ(mirrored.at(2, 0), kWhite);
  EXPECT_EQ(mirrored.at(0, 0), kBlack);
  Surface page(8, 4, pal::kHorizon);
  page.fill(pal::kHorizon);
  StampScaled(page, mirrored, 1, 1, 2);
  EXPECT_EQ(page.at(5, 1), kWhite);
  EXPECT_EQ(page.at(6, 2), kWhite);
  EXPECT_EQ(page.at(1, 1), pal::kHorizon);
}

TEST(ArtShading, SurfacesFacingTheUpperLeftAreLitAndTheOthersShaded) {
  const Vec3 towards{-0.6, -0.6, 0.5}, away{0.6, 0.6, 0.5}, flat{0, 0, 1};
  EXPECT_GT(LightLevel(towards, 5), LightLevel(flat, 5));
  EXPECT_GT(LightLevel(flat, 5), LightLevel(away, 5));
  EXPECT_EQ(LightLevel(away, 5), 0);
  EXPECT_EQ(LightLevel(towards, 5), 4);
  // A painted ball is lighter on its upper left than on its lower right.
  Surface s(12, 12);
  Paint(s, Ball(6, 6, 5, 5), pal::kStone);
  auto level = [&](int x, int y) {
    for (int i = 0; i < static_cast<int>(pal::kStone.size()); ++i)
      if (s.at(x, y) == pal::kStone[i]) return i;
    return -1;
  };
  EXPECT_GT(level(3, 3), level(8, 8));
  EXPECT_GE(level(8, 8), 0);
}

TEST(ArtShading, APartLaidOverAnotherIsEdgedWhereItCoversIt) {
  Surface s(12, 6);
  Paint(s, Slab(0, 0, 6, 6, 0), pal::kSuit);
  Paint(s, Slab(4, 0, 12, 6, 0), pal::kMetal, {.seams = true, .seam = pal::kOutline});
  EXPECT_EQ(s.at(4, 3), pal::kOutline);   // the front part's edge over the back part
  EXPECT_NE(s.at(11, 3), pal::kOutline);  // its edge against empty space is left to the outline
  EXPECT_NE(s.at(5, 3), pal::kOutline);
}

TEST(ArtSheets, MasksFollowTheImageAndFramesSitSideBySide) {
  Surface a(2, 2), b(2, 2);
  a.set(0, 0, pal::kOutline);
  b.set(1, 1, kWhite);
  const std::vector<Surface> frames = {a, b};
  const Surface joined = JoinFrames(frames);
  ASSERT_EQ(joined.width(), 4);
  EXPECT_EQ(joined.at(3, 1), kWhite);
  const Surface below = WithMaskBelow(joined);
  ASSERT_EQ(below.height(), 4);
  EXPECT_EQ(below.at(0, 2), kBlack);
  EXPECT_EQ(below.at(1, 2), kWhite);
  EXPECT_EQ(below.at(3, 3), kBlack);
  const Surface beside = WithMaskBeside(joined);
  ASSERT_EQ(beside.width(), 8);
  EXPECT_EQ(beside.at(4, 0), kBlack);
  EXPECT_EQ(beside.at(5, 0), kWhite);
  const std::vector<Surface> uneven = {a, Surface(3, 2)};
  EXPECT_THROW(JoinFrames(uneven), std::logic_error);
}

TEST(ArtRandomNumbers, RepeatForASeedAndStayInRange) {
  ArtRandom first(7), second(7), other(8);
  std::vector<int> a, b, c;
  for (int i = 0; i < 50; ++i) {
    a.push_back(first.Between(-3, 3));
    b.push_back(second.Between(-3, 3));
    c.push_back(other.Between(-3, 3));
  }
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_EQ(std::set<int>(a.begin(), a.end()), (std::set<int>{-3, -2, -1, 0, 1, 2, 3}));
  for (int i = 0; i < 1000; ++i) {
    const double r = first.Real();
    ASSERT_TRUE(r >= 0 && r < 1);
  }
}

TEST(ArtRandomNumbers, NoiseIsSmoothAndDitherCoversEveryLevel) {
  EXPECT_EQ(LatticeValue(3, 4, 9), LatticeValue(3, 4, 9));
  EXPECT_NE(LatticeValue(3, 4, 9), LatticeValue(4, 3, 9));
  // Neighbouring pixels of coarse noise differ only a little.
  for (int x = 0; x < 64; ++x)
    EXPECT_LT(std::abs(ValueNoise(x, 5, 16, 1) - ValueNoise(x + 1, 5, 16, 1)), 0.15);
  // Every 4 x 4 block holds all sixteen dither thresholds once.
  std::set<double> thresholds;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) thresholds.insert(BayerThreshold(x + 8, y + 4));
  EXPECT_EQ(thresholds.size(), 16u);
  EXPECT_GT(*thresholds.begin(), 0.0);
  EXPECT_LT(*thresholds.rbegin(), 1.0);
}

}  // namespace
}  // namespace zendor::datagen
