#pragma once

// Small stand-in pictures for the world tests: every shipped sheet at its catalogue size, with
// figures that are not left-right symmetric (so a mirror shows), real masks, and colours that
// tell the sheets apart. They never change with the game's own artwork.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

#include "assets/sprite_catalogue.h"
#include "assets/sprite_sheets.h"
#include "platform/image_file.h"
#include "support/game_fixture.h"

namespace zendor::testing {

// A colour of its own for every sheet name and index.
inline Pixel SheetTint(std::string_view name, int index) {
  unsigned h = 2166136261u;
  for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  h = (h ^ static_cast<unsigned>(index + 7)) * 16777619u;
  return Rgb(96 + static_cast<int>(h % 160), 96 + static_cast<int>((h >> 8) % 160),
             96 + static_cast<int>((h >> 16) % 160));
}

inline Pixel Shade(Pixel p, int percent) {
  return Rgb(RedOf(p) * percent / 100, GreenOf(p) * percent / 100, BlueOf(p) * percent / 100);
}

// A figure in a w x h cell: a right-angled wedge leaning left with a notch, plus a stripe, so
// that no row reads the same backwards.
inline bool InFigure(int x, int y, int w, int h) {
  if (w < 3 || h < 3) return x == 0;
  const bool wedge = x * h <= (h - y) * w;
  const bool notch = y > h / 3 && y < h / 2 && x < w / 4;
  return (wedge && !notch) || (y == h - 1 && x < w / 2);
}

// A masked sheet: image above (or left of) its mask, one figure per frame.
inline Surface MaskedTestSheet(const SheetSpec& spec) {
  Surface s(spec.width, spec.height, kBlack);
  const bool beside = spec.layout == SheetLayout::MaskBeside;
  const int imageW = beside ? spec.width / 2 : spec.width;
  const int imageH = beside ? spec.height : spec.height / 2;
  const int frameW = imageW / spec.frames;
  const Pixel tint = SheetTint(spec.name, spec.index);
  for (int y = 0; y < imageH; ++y) {
    for (int x = 0; x < imageW; ++x) {
      const int fx = x % frameW;
      const int frame = x / frameW;
      const bool in = frame < spec.frames && InFigure(fx, y, frameW, imageH);
      const Pixel figure = Shade(tint, 55 + 45 * ((fx + y + frame * 3) % 7) / 6);
      s.set(x, y, in ? figure : kBlack);
      const int mx = beside ? x + imageW : x;
      const int my = beside ? y : y + imageH;
      s.set(mx, my, in ? kBlack : kWhite);
    }
  }
  return s;
}

// An opaque sheet: horizontal bands shaded by column, darker towards the bottom.
inline Surface OpaqueTestSheet(const SheetSpec& spec) {
  Surface s(spec.width, spec.height, kBlack);
  const Pixel tint = SheetTint(spec.name, spec.index);
  for (int y = 0; y < spec.height; ++y) {
    for (int x = 0; x < spec.width; ++x) {
      const int band = (y / 4) % 2 == 0 ? 100 : 70;
      s.set(x, y, Shade(tint, band * (60 + (x * 40) / std::max(1, spec.width - 1)) / 100));
    }
  }
  return s;
}

// The font: glyph k is a bar chart of k's bits in its 8 x 9 cell; the mask row holds each glyph
// grown by one pixel (black on white); colour row r paints the glyph in shade r on black.
inline bool InGlyph(int k, int x, int y) {
  if (x < 1 || x > 6 || y < 1 || y > 7) return false;
  const int bit = (x - 1) % 6;
  const int tall = ((k + 1) >> bit) & 1 ? 7 : 3;
  return y >= 8 - tall;
}

inline Surface FontTestSheet() {
  Surface s(304, 99, kBlack);
  for (int k = 0; k < 38; ++k) {
    for (int y = 0; y < 9; ++y) {
      for (int x = 0; x < 8; ++x) {
        bool grown = false;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) grown = grown || InGlyph(k, x + dx, y + dy);
        s.set(8 * k + x, y, grown ? kBlack : kWhite);
        for (int r = 1; r <= 10; ++r) {
          const Pixel ink = r == 10 ? kWhite : Rgb(120 + 13 * r, 40 + 20 * r, 10 + 2 * k);
          s.set(8 * k + x, 9 * r + y, InGlyph(k, x, y) ? ink : kBlack);
        }
      }
    }
  }
  return s;
}

// The shadow: a dark colour strip, then the scene mask (a black oval on white), then its
// opposite for the blended shadow.
inline Surface ShadowTestSheet() {
  Surface s(24, 24, kBlack);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 24; ++x) {
      const double dx = (x - 11.5) / 12.0, dy = (y - 3.5) / 4.0;
      const bool oval = dx * dx + dy * dy <= 1.0;
      s.set(x, y, Rgb(10, 10, 30));
      s.set(x, y + 8, oval ? kBlack : kWhite);
      s.set(x, y + 16, oval ? kWhite : kBlack);
    }
  }
  return s;
}

inline Surface TestSheet(const SheetSpec& spec) {
  switch (spec.layout) {
    case SheetLayout::Opaque:
      return OpaqueTestSheet(spec);
    case SheetLayout::Font:
      return FontTestSheet();
    case SheetLayout::Shadow:
      return ShadowTestSheet();
    default:
      return MaskedTestSheet(spec);
  }
}

// Writes every test picture into `artFolder` as the game's files.
inline void WriteTestArt(const std::filesystem::path& artFolder) {
  std::filesystem::create_directories(artFolder);
  for (const SheetSpec& spec : ShippedSheets()) {
    std::string error;
    if (!WriteImageFile(artFolder / SheetFileName(spec), TestSheet(spec), &error)) {
      ADD_FAILURE() << error;
    }
  }
}

// The art folder holding the test pictures, written once for the whole test run.
inline std::string TestArtFolder() {
  static const ScratchFolder folder;
  static const bool written = (WriteTestArt(folder.path() / kArtFolder), true);
  (void)written;
  return folder.folder() + kArtFolder + "/";
}

// The test pictures as the game's own loader reads them (once for the whole run), with fresh
// work surfaces.
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
