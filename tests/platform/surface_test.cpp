#include "platform/surface.h"

#include <gtest/gtest.h>

#include <set>

namespace zendor {
namespace {

// A picture that grows step by step, as the level strip does item by item, keeps what it holds,
// shows the background in every column that comes (back) into view, and moves its pixels only a
// handful of times however many steps it takes.
TEST(GrowingSurface, KeepsItsContentAndMovesRarely) {
  Surface strip(240, 4, Rgb(1, 2, 3));
  strip.set(5, 2, kWhite);
  std::set<const Pixel*> places;
  for (int width = 288; width <= 32767 + 240; width += 48) {
    strip.reserveWidth(width);
    strip.resize(width, 4);
    strip.set(width - 1, 3, kWhite);  // drawn at the far end, then cut away below
    strip.resize(width - 10, 4);
    strip.resize(width, 4);
    ASSERT_EQ(strip.at(width - 1, 3), Rgb(1, 2, 3)) << width;
    places.insert(strip.pixels().data());
  }
  EXPECT_LE(places.size(), 10u);
  EXPECT_EQ(strip.at(5, 2), kWhite);
  const Surface copy = strip;
  strip.releaseSpareWidth();
  EXPECT_EQ(strip, copy);
  EXPECT_EQ(strip.pixels().size(), static_cast<std::size_t>(strip.width()) * 4);
}

}  // namespace
}  // namespace zendor
