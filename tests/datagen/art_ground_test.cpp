// Ground pieces join in any order: every piece that shows the ground's top surface or its
// cliff face starts with the same column and ends with the same column, and the step from any
// piece's last column to any piece's first column is no harsher than the steps inside a piece.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "datagen/art/painters.h"

namespace zendor {
namespace {

// Rows top..top+rows-1 of column x.
std::vector<Pixel> Column(const Surface& s, int x, int top, int rows) {
  std::vector<Pixel> c;
  for (int y = top; y < top + rows; ++y) c.push_back(s.at(x, y));
  return c;
}

double Step(const std::vector<Pixel>& a, const std::vector<Pixel>& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    sum += std::abs(RedOf(a[i]) - RedOf(b[i])) + std::abs(GreenOf(a[i]) - GreenOf(b[i])) +
           std::abs(BlueOf(a[i]) - BlueOf(b[i]));
  return sum / a.size();
}

double MeanInnerStep(const Surface& s, int top, int rows) {
  double sum = 0;
  for (int x = 0; x + 1 < s.width(); ++x)
    sum += Step(Column(s, x, top, rows), Column(s, x + 1, top, rows));
  return sum / (s.width() - 1);
}

// A stretch of ground as it appears in some piece: columns first..last of rows top..top+rows-1.
struct Stretch {
  std::string name;
  const Surface* sheet;
  int first, last, top;
};

void ExpectJoinsInAnyOrder(const std::vector<Stretch>& pieces, int rows) {
  const Stretch& ref = pieces.front();
  const auto left = Column(*ref.sheet, ref.first, ref.top, rows);
  const auto right = Column(*ref.sheet, ref.last, ref.top, rows);
  for (const Stretch& p : pieces) {
    if (p.first >= 0) {
      EXPECT_EQ(Column(*p.sheet, p.first, p.top, rows), left) << p.name << " first column";
    }
    if (p.last >= 0) {
      EXPECT_EQ(Column(*p.sheet, p.last, p.top, rows), right) << p.name << " last column";
    }
  }
  EXPECT_LE(Step(right, left), MeanInnerStep(*ref.sheet, ref.top, rows) * 1.25)
      << "seam between pieces";
}

TEST(GroundJoins, TopSurfacePiecesJoinInAnyOrder) {
  const Surface tiles[] = {datagen::GroundTileSheet(1), datagen::GroundTileSheet(2),
                           datagen::GroundTileSheet(3)};
  const Surface lava = datagen::LavaSheet(), column = datagen::RockColumnSheet();
  const Surface edge = datagen::GroundEndSheet(), ship = datagen::CrashedShipSheet();
  const Surface building = datagen::BuildingSheet();
  std::vector<Stretch> pieces = {
      {"Mapa1", &tiles[0], 0, 47, 0},         {"Mapa2", &tiles[1], 0, 47, 0},
      {"Mapa3", &tiles[2], 0, 47, 0},         {"Mapa8", &column, 0, 47, 40},
      {"Mapa5 (left end)", &edge, -1, 15, 0}, {"Mapa0 (start)", &ship, -1, 91, 88},
      {"Mapa9 (end)", &building, 0, -1, 29}};
  for (int f = 0; f < 4; ++f)
    pieces.push_back({"Mapa4 frame " + std::to_string(f), &lava, 72 * f, 72 * f + 71, 8});
  ExpectJoinsInAnyOrder(pieces, 17);
}

TEST(GroundJoins, CliffFacesJoinInAnyOrderIncludingTheCroppedPiece) {
  const Surface face0 = datagen::GroundFaceSheet(0), face1 = datagen::GroundFaceSheet(1);
  const Surface face2 = datagen::GroundFaceSheet(2), ship = datagen::CrashedShipSheet();
  const Surface building = datagen::BuildingSheet();
  // Suelo(4) is Suelo(1) columns 8..55.
  ExpectJoinsInAnyOrder({{"Suelo0", &face0, 0, 47, 0},
                         {"Suelo1", &face1, 0, 71, 0},
                         {"Suelo4", &face1, 8, 55, 0},
                         {"Suelo2 (left end)", &face2, -1, 15, 0},
                         {"Mapa0 (start)", &ship, -1, 91, 105},
                         {"Mapa9 (end)", &building, 0, -1, 46}},
                        15);
}

TEST(GroundJoins, ChasmLooksTheSameAtEveryCutOnItsUpperRows) {
  // Pits copy the chasm at any width from any column, next to the ground ends' own chasm
  // colours: the depth gradient is the same in every column above the mist.
  const Surface chasm = datagen::ChasmSheet();
  for (int y = 0; y < 20; ++y) {
    double sum = 0;
    for (int x = 0; x < chasm.width(); ++x)
      sum += RedOf(chasm.at(x, y)) + GreenOf(chasm.at(x, y)) + BlueOf(chasm.at(x, y));
    const double mean = sum / chasm.width();
    for (int x = 0; x + 8 <= chasm.width(); x += 8) {
      double block = 0;
      for (int k = 0; k < 8; ++k)
        block +=
            RedOf(chasm.at(x + k, y)) + GreenOf(chasm.at(x + k, y)) + BlueOf(chasm.at(x + k, y));
      EXPECT_NEAR(block / 8, mean, 12.0) << "row " << y << " column " << x;
    }
  }
}

}  // namespace
}  // namespace zendor
