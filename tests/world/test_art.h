#pragma once

// Stand-in pictures for the world tests, at the catalogue's sizes: lopsided figures (so that a
// mirror shows) with real masks, a font whose glyphs all differ, and a shadow with an oval mask.
// They never change with the game's own artwork.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "assets/sprite_catalogue.h"
#include "assets/sprite_sheets.h"
#include "platform/image_file.h"
#include "support/game_fixture.h"

namespace zendor::testing {

// A wedge leaning left with a notch, so that no row reads the same backwards.
inline bool InFigure(int x, int y, int w, int h) {
  return (x * h <= (h - y) * w && !(y > h / 3 && y < h / 2 && x < w / 4)) || x == 0;
}

// Glyph k: bars whose heights spell k + 1 in binary, inside its 8 x 9 cell.
inline bool InGlyph(int k, int x, int y) {
  return x >= 1 && x <= 6 && y >= 1 && y <= 7 && y >= 8 - (((k + 1) >> (x - 1)) & 1 ? 7 : 3);
}

inline Surface TestSheet(const ShippedSheet& entry) {
  Surface s(entry.width, entry.height);
  const Pixel tint =
      Rgb(60 + 37 * (entry.index + 2) % 190, 60 + entry.width % 190, 60 + entry.height % 190);
  const int w = entry.width, h = entry.height;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Pixel p = (y / 4) % 2 ? tint : tint - 0x202020;  // opaque: shaded bands
      if (entry.layout == SheetLayout::MaskBelow || entry.layout == SheetLayout::MaskBeside) {
        const bool below = entry.layout == SheetLayout::MaskBelow;
        const int iw = below ? w : w / 2, ih = below ? h / 2 : h;
        const int fw = iw / entry.frames, ix = x % iw, iy = y % ih;
        const bool in = InFigure(ix % fw, iy, fw, ih) && ix / fw < entry.frames;
        const bool mask = below ? y >= ih : x >= iw;
        const Pixel figure = Rgb(RedOf(tint), GreenOf(tint) + 5 * (ix % fw), BlueOf(tint) + 7 * iy);
        p = mask ? (in ? kBlack : kWhite) : (in ? figure : kBlack);
      } else if (entry.layout == SheetLayout::Font) {
        const int k = x / 8, gx = x % 8, gy = y % 9, row = y / 9;
        bool grown = false;
        for (int d = 0; d < 9; ++d) grown = grown || InGlyph(k, gx + d % 3 - 1, gy + d / 3 - 1);
        const Pixel ink = row == 10 ? kWhite : Rgb(120 + 13 * row, 40 + 20 * row, 10 + 2 * k);
        p = row == 0 ? (grown ? kBlack : kWhite) : (InGlyph(k, gx, gy) ? ink : kBlack);
      } else if (entry.layout == SheetLayout::Shadow) {
        const double dx = (x - 11.5) / 12.0, dy = (y % 8 - 3.5) / 4.0;
        const bool oval = dx * dx + dy * dy <= 1.0;
        p = y < 8 ? Rgb(10, 10, 30) : (oval == (y < 16)) ? kBlack : kWhite;
      }
      s.set(x, y, p);
    }
  return s;
}

// The art folder holding the test pictures, written once for the whole test run.
inline std::string TestArtFolder() {
  static const ScratchFolder folder;
  static const bool written = [] {
    std::filesystem::create_directories(folder.path() / kArtFolder);
    for (const ShippedSheet& entry : ShippedSheets()) {
      std::string error;
      if (!WriteImageFile(folder.path() / kArtFolder / SheetFileName(entry), TestSheet(entry),
                          &error)) {
        ADD_FAILURE() << error;
      }
    }
    return true;
  }();
  (void)written;
  return folder.folder() + kArtFolder + "/";
}

// The test pictures as the game's own loader reads them (once), with fresh work surfaces.
inline void LoadTestArt(GameFixture& f) {
  static const SpriteSheets loaded = [] {
    SpriteSheets sheets;
    std::string error;
    if (!LoadSpriteSheets(sheets, TestArtFolder(), &error)) ADD_FAILURE() << error;
    return sheets;
  }();
  f.v.sheets = loaded;
}

}  // namespace zendor::testing
