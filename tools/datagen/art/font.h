#pragma once

#include <functional>
#include <string_view>

#include "platform/surface.h"

// The game's bitmap font: bold 6 x 7 capitals, digits, "." and "-". The font sheet, the panel
// label and the title lettering all use these glyph shapes.
namespace zendor::datagen {

inline constexpr int kGlyphWidth = 6, kGlyphHeight = 7;
inline constexpr int kFontCell = 8;  // advance per character

// Whether the font has a glyph for c (upper-case letters, digits, '.', '-').
bool HasGlyph(char c);
// Pixel (x, y) of the 6 x 7 glyph of c; false outside it or for characters without a glyph.
bool GlyphPixel(char c, int x, int y);

// Writes text with the glyph shapes, each glyph pixel enlarged to scale x scale, advancing
// 8 x scale per character (spaces and unknown characters leave a gap). `colour` gives the
// colour of glyph pixel (x, y) of each glyph.
void DrawGlyphText(Surface& s, int x, int y, std::string_view text, int scale,
                   const std::function<Pixel(int gx, int gy)>& colour);
// The same in one colour.
void DrawGlyphText(Surface& s, int x, int y, std::string_view text, int scale, Pixel colour);

}  // namespace zendor::datagen
