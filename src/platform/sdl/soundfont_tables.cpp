#include "platform/sdl/soundfont_tables.h"

#include <utility>

namespace zendor {
namespace {

struct Layout {
  const char* id;
  SoundFontTable SoundFontTables::*table;
  std::size_t recordSize;
};
constexpr Layout kLayout[] = {
    {"phdr", &SoundFontTables::phdr, 38}, {"pbag", &SoundFontTables::pbag, 4},
    {"pmod", &SoundFontTables::pmod, 10}, {"pgen", &SoundFontTables::pgen, 4},
    {"inst", &SoundFontTables::inst, 22}, {"ibag", &SoundFontTables::ibag, 4},
    {"imod", &SoundFontTables::imod, 10}, {"igen", &SoundFontTables::igen, 4},
    {"shdr", &SoundFontTables::shdr, 46}};

}  // namespace

std::uint32_t LittleEndian(const std::uint8_t* p, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

const std::uint8_t* SoundFontTable::at(std::size_t i) const {
  if (i >= count()) throw SoundFontFailure{"a preset table index is out of range"};
  return bytes.data() + i * recordSize;
}

void SoundFontTables::Keep(const std::string& id, std::vector<std::uint8_t> bytes) {
  for (const Layout& layout : kLayout) {
    if (id == layout.id) this->*layout.table = {std::move(bytes), layout.recordSize};
  }
}

void SoundFontTables::CheckComplete() const {
  for (const Layout& layout : kLayout) {
    const SoundFontTable& t = this->*layout.table;
    if (t.recordSize == 0 || t.bytes.size() % t.recordSize != 0 || t.count() < 1) {
      throw SoundFontFailure{std::string("preset table ") + layout.id + " is malformed"};
    }
  }
}

}  // namespace zendor
