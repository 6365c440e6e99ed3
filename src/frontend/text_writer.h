#pragma once

#include <cstdint>
#include <string_view>

#include "common/ventana.h"

namespace zendor {

// Where a line's background comes from when it is composed before being copied to the window.
struct TextBackground {
  const Surface* source = nullptr;  // nullptr: the cells stay black
  std::int16_t x = 0;               // top-left corner of the strip to copy, in source pixels
  std::int16_t y = 0;
};

// Writes a line of text with the font sheet at column x (8-pixel cells) and row y of the logical
// screen. colour 1..10 draws upright with that colour row, 0 or less mirrored with row |colour|.
// fondo -1 (true) composes the line on borrador over the background and copies it to the window
// in one piece; 0 (false) draws each glyph straight onto the window; any other value draws
// nothing. alto is the glyph height; 0 means 9 and is set to 9.
void Escribe(Ventana& v, std::int16_t x, std::int16_t y, std::string_view mensaje,
             std::int16_t colour, std::int16_t fondo, const TextBackground& background,
             std::int16_t& alto);

// The common case with the default height.
void Escribe(Ventana& v, std::int16_t x, std::int16_t y, std::string_view mensaje,
             std::int16_t colour, std::int16_t fondo, const TextBackground& background = {});

}  // namespace zendor
