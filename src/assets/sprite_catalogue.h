#pragma once

#include <span>
#include <string>

namespace zendor {

// How a picture encodes its transparency.
enum class SheetLayout {
  Opaque,      // plain picture, copied with SRCCOPY
  MaskBelow,   // image in the upper half, its black-on-white mask in the lower half
  MaskBeside,  // image in the left half, mask in the right half
  Font,        // the text writer's glyph sheet: mask row, then colour rows
  Shadow,      // three 24 x 8 strips: shadow colour, scene mask, shadow mask
};

// One picture that ships with the game, as the drawing code addresses it.
struct ShippedSheet {
  const char* name;  // holder name, e.g. "Zendor"
  int index;         // index within its family, or -1 for a single sheet
  int width;
  int height;
  int frames;  // frames side by side (1 for a single picture)
  SheetLayout layout;
  bool sixteenColours;  // stored as a 16-colour bitmap and expanded on load
};

// Every picture the game loads from its program folder.
std::span<const ShippedSheet> ShippedSheets();

// "Zendor3.bmp", "Panel.bmp": the file name of a shipped sheet inside the art folder.
std::string SheetFileName(const ShippedSheet& entry);

// Folder of the artwork inside the program folder.
inline constexpr const char* kArtFolder = "ART";

}  // namespace zendor
