#include "datagen/art/font.h"

#include <array>
#include <vector>

#include "datagen/art/art_random.h"
#include "datagen/art/canvas.h"
#include "datagen/art/painters.h"
#include "datagen/art/palette.h"

namespace zendor::datagen {
namespace {

using GlyphBits = std::array<const char*, kGlyphHeight>;

// The 38 glyphs in sheet order: A-Z, 0-9, ".", "-".
constexpr std::array<GlyphBits, 38> kGlyphs = {{
    {".####.", "##..##", "##..##", "######", "##..##", "##..##", "##..##"},  // A
    {"#####.", "##..##", "##..##", "#####.", "##..##", "##..##", "#####."},  // B
    {".####.", "##..##", "##....", "##....", "##....", "##..##", ".####."},  // C
    {"####..", "##.##.", "##..##", "##..##", "##..##", "##.##.", "####.."},  // D
    {"######", "##....", "##....", "#####.", "##....", "##....", "######"},  // E
    {"######", "##....", "##....", "#####.", "##....", "##....", "##...."},  // F
    {".####.", "##..##", "##....", "##.###", "##..##", "##..##", ".#####"},  // G
    {"##..##", "##..##", "##..##", "######", "##..##", "##..##", "##..##"},  // H
    {"######", "..##..", "..##..", "..##..", "..##..", "..##..", "######"},  // I
    {"...###", "....##", "....##", "....##", "##..##", "##..##", ".####."},  // J
    {"##..##", "##.##.", "####..", "###...", "####..", "##.##.", "##..##"},  // K
    {"##....", "##....", "##....", "##....", "##....", "##....", "######"},  // L
    {"##..##", "######", "######", "##..##", "##..##", "##..##", "##..##"},  // M
    {"##..##", "###.##", "######", "##.###", "##..##", "##..##", "##..##"},  // N
    {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."},  // O
    {"#####.", "##..##", "##..##", "#####.", "##....", "##....", "##...."},  // P
    {".####.", "##..##", "##..##", "##..##", "##.###", ".####.", "....##"},  // Q
    {"#####.", "##..##", "##..##", "#####.", "####..", "##.##.", "##..##"},  // R
    {".####.", "##..##", "##....", ".####.", "....##", "##..##", ".####."},  // S
    {"######", "..##..", "..##..", "..##..", "..##..", "..##..", "..##.."},  // T
    {"##..##", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."},  // U
    {"##..##", "##..##", "##..##", "##..##", "##..##", ".####.", "..##.."},  // V
    {"##..##", "##..##", "##..##", "##..##", "######", "######", "##..##"},  // W
    {"##..##", "##..##", ".####.", "..##..", ".####.", "##..##", "##..##"},  // X
    {"##..##", "##..##", "##..##", ".####.", "..##..", "..##..", "..##.."},  // Y
    {"######", "....##", "...##.", "..##..", ".##...", "##....", "######"},  // Z
    {".####.", "##..##", "##.###", "######", "###.##", "##..##", ".####."},  // 0
    {"..##..", ".###..", "####..", "..##..", "..##..", "..##..", "######"},  // 1
    {".####.", "##..##", "....##", "..###.", ".##...", "##....", "######"},  // 2
    {".####.", "##..##", "....##", "..###.", "....##", "##..##", ".####."},  // 3
    {"...##.", "..###.", ".####.", "##.##.", "######", "...##.", "...##."},  // 4
    {"######", "##....", "#####.", "....##", "....##", "##..##", ".####."},  // 5
    {".####.", "##....", "##....", "#####.", "##..##", "##..##", ".####."},  // 6
    {"######", "....##", "...##.", "..##..", "..##..", "..##..", "..##.."},  // 7
    {".####.", "##..##", "##..##", ".####.", "##..##", "##..##", ".####."},  // 8
    {".####.", "##..##", "##..##", ".#####", "....##", "...##.", ".###.."},  // 9
    {"......", "......", "......", "......", "......", "..##..", "..##.."},  // .
    {"......", "......", "......", ".####.", "......", "......", "......"},  // -
}};

constexpr const char* kOrder = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-";

int GlyphIndex(char c) {
  for (int i = 0; kOrder[i] != '\0'; ++i)
    if (kOrder[i] == c) return i;
  return -1;
}

// The fade-in ramp, from the palette's dark orange to its palest gold; each step is brighter
// in every channel.
constexpr Pixel kFadeRamp[] = {pal::kOrangeArray[0], pal::kOrangeArray[1], pal::kOrangeArray[2],
                               pal::kOrangeArray[3], pal::kOrangeArray[4], pal::kLavaArray[5],
                               pal::kLavaArray[6]};

// Glyph row gy of colour row r (1..6): the top of a letter shines one step lighter.
Pixel FadeColour(int r, int gy) {
  return kFadeRamp[r - 1 + (gy <= 1 ? 1 : 0)];
}

}  // namespace

bool HasGlyph(char c) {
  return GlyphIndex(c) >= 0;
}

bool GlyphPixel(char c, int x, int y) {
  const int i = GlyphIndex(c);
  if (i < 0 || x < 0 || y < 0 || x >= kGlyphWidth || y >= kGlyphHeight) return false;
  return kGlyphs[i][y][x] == '#';
}

void DrawGlyphText(Surface& s, int x, int y, std::string_view text, int scale,
                   const std::function<Pixel(int gx, int gy)>& colour) {
  for (std::size_t i = 0; i < text.size(); ++i)
    for (int gy = 0; gy < kGlyphHeight; ++gy)
      for (int gx = 0; gx < kGlyphWidth; ++gx)
        if (GlyphPixel(text[i], gx, gy)) {
          const int px = x + static_cast<int>(i) * kFontCell * scale + gx * scale,
                    py = y + gy * scale;
          FillBox(s, px, py, px + scale - 1, py + scale - 1, colour(gx, gy));
        }
}

void DrawGlyphText(Surface& s, int x, int y, std::string_view text, int scale, Pixel colour) {
  DrawGlyphText(s, x, y, text, scale, [colour](int, int) { return colour; });
}

Surface FontSheet() {
  // 38 columns of 8 pixels by 11 rows of 9: the outline mask, six brightening rows used to fade
  // text in, three rows where the glyph breaks up, and white. Glyphs sit at (1, 1) in their cell.
  Surface s(38 * kFontCell, 11 * 9);
  FillBox(s, 0, 0, s.width() - 1, 8, kWhite);
  ArtRandom rng(3838);
  for (int c = 0; c < 38; ++c) {
    const char ch = kOrder[c];
    const int left = c * kFontCell;
    // Rows 7-9 keep fewer and fewer of the glyph's pixels; each keeps a subset of the one above.
    std::vector<double> survival(kGlyphWidth * kGlyphHeight);
    for (double& v : survival) v = rng.Real();
    for (int gy = 0; gy < kGlyphHeight; ++gy)
      for (int gx = 0; gx < kGlyphWidth; ++gx) {
        if (!GlyphPixel(ch, gx, gy)) continue;
        const int x = left + 1 + gx, y = 1 + gy;
        FillBox(s, x - 1, y - 1, x + 1, y + 1, pal::kOutline);
        for (int r = 1; r <= 6; ++r) s.set(x, 9 * r + y, FadeColour(r, gy));
        const double keep = survival[gy * kGlyphWidth + gx];
        if (keep < 0.7) s.set(x, 9 * 7 + y, FadeColour(6, gy));
        if (keep < 0.4) s.set(x, 9 * 8 + y, FadeColour(5, gy));
        if (keep < 0.15) s.set(x, 9 * 9 + y, pal::kOrangeArray[3]);
        s.set(x, 9 * 10 + y, kWhite);
      }
  }
  // The mask row is pure black and white.
  Recolour(s, pal::kOutline, kBlack);
  return s;
}

}  // namespace zendor::datagen
