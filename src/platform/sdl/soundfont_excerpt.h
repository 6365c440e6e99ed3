#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/sdl/theme_instruments.h"

namespace zendor {

// A SoundFont 2 file cut down to what the themes play: only the presets they select (after the
// synthesizer's fallbacks for presets the file lacks: another bank's program to bank 0, a
// missing program to program 0, a missing kit to kit 0), and within those only the zones their
// notes sound, with the samples of those zones. Every note the themes play sounds exactly as
// from the whole file; the file itself is never copied: the excerpt is a small header and
// preset tables in memory, and a map of where its sample data lies in the file.
struct SoundFontExcerpt {
  // A stretch of the excerpt's bytes: `length` bytes from `fileOffset` of the file, or zeros
  // when fileOffset is kZeros.
  struct Piece {
    std::uint64_t fileOffset = 0;
    std::uint64_t length = 0;
  };
  static constexpr std::uint64_t kZeros = ~std::uint64_t{0};

  std::filesystem::path file;
  std::vector<std::uint8_t> head;  // up to the first sample
  std::vector<Piece> samples;      // the sample data, in order
  std::vector<std::uint8_t> tail;  // the preset tables after the sample data

  std::uint64_t sampleBytes() const;
  std::uint64_t size() const { return head.size() + sampleBytes() + tail.size(); }
  // Copies `count` bytes from `offset` of the excerpt into `out`, reading sample data from
  // `opened` (the file, open for reading); false if it cannot be read or the range runs past
  // the end.
  bool Read(std::FILE* opened, std::uint64_t offset, std::uint64_t count, std::uint8_t* out) const;
};

// Cuts the excerpt for `uses` out of `file`; nullopt with the reason in `error` when the file is
// not a SoundFont 2 with plain 16-bit samples (compressed, 24-bit and ROM samples are not cut).
std::optional<SoundFontExcerpt> CutSoundFont(const std::filesystem::path& file,
                                             const InstrumentNotes& uses, std::string* error);

}  // namespace zendor
