// The painting rules behind the artwork that the shipped sheets cannot show by themselves: pure
// black inside a figure would be a hole, so it becomes the outline colour; the one light makes
// surfaces facing the upper left brighter; and parts laid over others get a dividing line.
// Masks, frame layout and repeatable randomness are proved on the shipped sheets.
#include <gtest/gtest.h>

#include <algorithm>

#include "datagen/art/canvas.h"
#include "datagen/art/palette.h"
#include "datagen/art/shading.h"

namespace zendor::datagen {
namespace {

TEST(ArtCanvas, PaintingBlackInsideAFigureGivesTheOutlineColourInstead) {
  Surface s(4, 4);
  Plot(s, 1, 1, kBlack);
  FillBox(s, 2, 2, 3, 3, kBlack);
  EXPECT_EQ(s.at(1, 1), pal::kOutline);
  EXPECT_EQ(std::ranges::count(s.pixels(), pal::kOutline), 5);
  Plot(s, 9, 9, kWhite);  // off the picture: ignored
  EXPECT_EQ(std::ranges::count(s.pixels(), kWhite), 0);
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
  const auto level = [&](int x, int y) {  // the shade's place on the ramp, -1 for none
    const auto at = std::ranges::find(pal::kStone, s.at(x, y));
    return at == pal::kStone.end() ? -1L : at - pal::kStone.begin();
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

}  // namespace
}  // namespace zendor::datagen
