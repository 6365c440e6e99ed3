#include "frontend/text_writer.h"

#include <cstdlib>

#include "common/int16.h"
#include "common/settings.h"
#include "platform/blit.h"
#include "platform/platform.h"

namespace zendor {
namespace {

constexpr int kCell = 8;      // glyph width and character column
constexpr int kRowPitch = 9;  // the font sheet's rows: mask, then ten colour rows
constexpr std::int16_t kDefaultHeight = 9;
constexpr std::int16_t kComposed = -1;  // fondo: the line is built on borrador first
constexpr std::int16_t kDirect = 0;     // fondo: glyphs go straight onto the window

// The font sheet's column for a character: letters, then digits, then "." and "-". Anything
// else lands by the same arithmetic on some column, or beyond the sheet where nothing is drawn.
int GlyphColumn(unsigned char ch) {
  int c = ch - 65;
  if (c == -20) c = 37;  // "-"
  if (c == -19) c = 36;  // "."
  if (c < 0) c += 43;    // digits
  return c;
}

// Arithmetic on the game's 16-bit whole numbers: any result that does not fit spoils the rest.
struct Int16Sums {
  bool overflowed = false;
  int operator()(long long value) {
    if (!Fit16(static_cast<double>(value))) overflowed = true;
    return static_cast<int>(value);
  }
};

// Draws the line; returns early, leaving what is drawn so far, when a coordinate overflows.
void WriteLine(Ventana& v, std::int16_t x, std::int16_t y, std::string_view mensaje,
               std::int16_t colour, std::int16_t fondo, const TextBackground& background,
               std::int16_t alto) {
  const Settings& st = v.settings;
  const Surface& font = v.sheets.Letras;
  Surface& line = v.sheets.borrador;
  Surface& screen = v.platform.window().target();
  Int16Sums f;
  const int scale = st.DisplayScale;
  const int row = std::abs(colour);

  for (std::size_t n = 0; n < mensaje.size(); ++n) {
    const auto ch = static_cast<unsigned char>(mensaje[n]);
    if (ch == ' ') continue;  // the cell keeps what is under it
    const int i = f(static_cast<long long>(n));
    const int c = GlyphColumn(ch);
    const int glyphX = f(kCell * c);
    const int colourY = f(kRowPitch * row);
    if (fondo == kDirect) {
      const int left = f(f(f(st.DisplayOffsetX + f(kCell * x)) + f(kCell * i)) * scale);
      const int top = f(f(st.DisplayOffsetY + y) * scale);
      const int width = f(kCell * scale);
      // Mirrored text is stretched upwards from the given row.
      const int height = f(f(colour > 0 ? alto : -alto) * scale);
      if (f.overflowed) return;
      StretchBlt(screen, left, top, width, height, font, glyphX, 0, kCell, alto, Rop::SrcAnd);
      StretchBlt(screen, left, top, width, height, font, glyphX, colourY, kCell, alto,
                 Rop::SrcPaint);
    } else if (fondo == kComposed) {
      const int cellX = f(kCell * i);
      if (background.source) {
        const int bgX = f(background.x + cellX);
        if (f.overflowed) return;
        BitBlt(line, cellX, 0, kCell, alto, *background.source, bgX, background.y, Rop::SrcCopy);
      }
      if (colour > 0) {
        if (f.overflowed) return;
        BitBlt(line, cellX, 0, kCell, alto, font, glyphX, 0, Rop::SrcAnd);
        BitBlt(line, cellX, 0, kCell, alto, font, glyphX, colourY, Rop::SrcPaint);
      } else {
        // The reflection: the bottom rows of each cell, read from the bottom row up.
        const int colourBottom = f(colourY + kRowPitch - 1);
        if (f.overflowed) return;
        StretchBlt(line, cellX, 0, kCell, alto, font, glyphX, kRowPitch - 1, kCell, -alto,
                   Rop::SrcAnd);
        StretchBlt(line, cellX, 0, kCell, alto, font, glyphX, colourBottom, kCell, -alto,
                   Rop::SrcPaint);
      }
    }
  }

  if (fondo == kComposed) {
    const int length = f(kCell * static_cast<long long>(mensaje.size()));
    const int left = f(f(st.DisplayOffsetX + f(kCell * x)) * scale);
    const int top = f(f(st.DisplayOffsetY + y) * scale);
    const int width = f(length * scale);
    const int height = f(alto * scale);
    if (f.overflowed) return;
    StretchBlt(screen, left, top, width, height, line, 0, 0, length, alto, Rop::SrcCopy);
    line.fill(kBlack);
  }
}

}  // namespace

void Escribe(Ventana& v, std::int16_t x, std::int16_t y, std::string_view mensaje,
             std::int16_t colour, std::int16_t fondo, const TextBackground& background,
             std::int16_t& alto) {
  if (alto == 0) alto = kDefaultHeight;
  WriteLine(v, x, y, mensaje, colour, fondo, background, alto);
  Window& w = v.platform.window();
  if (!w.persistentMode()) w.touchScreen();
}

void Escribe(Ventana& v, std::int16_t x, std::int16_t y, std::string_view mensaje,
             std::int16_t colour, std::int16_t fondo, const TextBackground& background) {
  std::int16_t alto = 0;
  Escribe(v, x, y, mensaje, colour, fondo, background, alto);
}

}  // namespace zendor
