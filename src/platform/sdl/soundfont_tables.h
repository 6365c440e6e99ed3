#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zendor {

// Every sample in a SoundFont's sample data is followed by this many zero points.
constexpr std::uint32_t kZeroPointsAfterSample = 46;
// Sample types (a sample header's last field).
constexpr std::uint32_t kMonoSample = 0x1, kRightSample = 0x2, kLeftSample = 0x4,
                        kLinkedSample = 0x8, kCompressedSample = 0x10, kRomSample = 0x8000;

// Why a SoundFont could not be read or cut.
struct SoundFontFailure {
  std::string why;
};

// A number stored least significant byte first in `bytes` bytes.
std::uint32_t LittleEndian(const std::uint8_t* p, int bytes);

// One table of a SoundFont 2's preset data: records of a fixed size, the last one closing it.
struct SoundFontTable {
  std::vector<std::uint8_t> bytes;
  std::size_t recordSize = 0;

  std::size_t count() const { return recordSize ? bytes.size() / recordSize : 0; }
  // Record `i`; throws SoundFontFailure past the end of the table.
  const std::uint8_t* at(std::size_t i) const;
  std::uint32_t field(std::size_t i, int offset, int size) const {
    return LittleEndian(at(i) + offset, size);
  }
};

// The nine preset tables of a SoundFont 2 ("pdta"), in the order a file holds them.
struct SoundFontTables {
  SoundFontTable phdr, pbag, pmod, pgen, inst, ibag, imod, igen, shdr;

  // Keeps the chunk `id` (its body `bytes`) if it is one of the nine; a table whose size is no
  // whole number of records is malformed.
  void Keep(const std::string& id, std::vector<std::uint8_t> bytes);
  // Throws SoundFontFailure naming the first table missing or malformed.
  void CheckComplete() const;
};

}  // namespace zendor
