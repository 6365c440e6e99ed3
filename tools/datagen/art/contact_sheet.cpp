#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>
#include <vector>

#include "assets/sprite_catalogue.h"
#include "datagen/art/canvas.h"
#include "datagen/art/font.h"
#include "datagen/datagen.h"
#include "platform/image_file.h"

// The contact sheet: every shipped picture read back from the program folder, enlarged three
// times on grey, each labelled with its name, index and size in the game's own font.
namespace zendor::datagen {
namespace {

constexpr int kZoom = 3, kLabelScale = 2, kGap = 24, kPageWidth = 1900;
constexpr Pixel kBackdrop = Rgb(118, 118, 122);

// "Zendor 3 264X82": upper case, with characters the font lacks shown as spaces.
std::string Label(const ShippedSheet& entry) {
  std::string text = entry.name;
  if (entry.index >= 0) {
    text += ' ';
    text += std::to_string(entry.index);
  }
  text += "  ";
  text += std::to_string(entry.width);
  text += 'X';
  text += std::to_string(entry.height);
  for (char& c : text) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!HasGlyph(c)) c = c == '_' ? '-' : ' ';
  }
  return text;
}

struct Placed {
  const ShippedSheet* entry;
  Surface picture;
  int x = 0, y = 0;
};

int LabelHeight() {
  return kGlyphHeight * kLabelScale + 6;
}
int BoxWidth(const Placed& p) {
  return std::max(p.picture.width() * kZoom,
                  static_cast<int>(Label(*p.entry).size()) * kFontCell * kLabelScale);
}
int BoxHeight(const Placed& p) {
  return LabelHeight() + p.picture.height() * kZoom;
}

}  // namespace

void WriteContactSheet(const std::filesystem::path& artDir, const std::filesystem::path& pngPath) {
  std::vector<Placed> placed;
  for (const ShippedSheet& entry : ShippedSheets()) {
    ImageReadResult read = ReadImageFile(artDir / SheetFileName(entry));
    if (!read.ok()) throw std::runtime_error(read.error);
    placed.push_back({&entry, std::move(read.surface)});
  }
  // Shelves, left to right in catalogue order.
  int x = kGap, y = kGap, shelf = 0;
  for (Placed& p : placed) {
    if (x > kGap && x + BoxWidth(p) > kPageWidth - kGap) {
      x = kGap;
      y += shelf + kGap;
      shelf = 0;
    }
    p.x = x;
    p.y = y;
    x += BoxWidth(p) + kGap;
    shelf = std::max(shelf, BoxHeight(p));
  }
  Surface page(kPageWidth, y + shelf + kGap, kBackdrop);
  page.fill(kBackdrop);
  for (const Placed& p : placed) {
    const std::string label = Label(*p.entry);
    DrawGlyphText(page, p.x + 1, p.y + 1, label, kLabelScale, Rgb(40, 40, 44));
    DrawGlyphText(page, p.x, p.y, label, kLabelScale, Rgb(250, 250, 250));
    const int top = p.y + LabelHeight();
    for (int py = 0; py < p.picture.height() * kZoom; ++py)
      for (int px = 0; px < p.picture.width() * kZoom; ++px)
        page.set(p.x + px, top + py, p.picture.at(px / kZoom, py / kZoom));
  }
  std::string error;
  if (!WriteImageFile(pngPath, page, &error)) throw std::runtime_error(error);
}

}  // namespace zendor::datagen
