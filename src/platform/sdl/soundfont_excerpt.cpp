#include "platform/sdl/soundfont_excerpt.h"

#include "platform/sdl/soundfont_tables.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>

namespace zendor {
namespace {

// --- Reading ---------------------------------------------------------------------------------

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::vector<std::uint8_t> ReadAt(std::FILE* f, std::uint64_t offset, std::uint64_t count) {
  std::vector<std::uint8_t> bytes(count);
  if (fseeko(f, static_cast<off_t>(offset), SEEK_SET) != 0 ||
      std::fread(bytes.data(), 1, count, f) != count) {
    throw SoundFontFailure{"cannot read " + std::to_string(count) + " bytes at byte " +
                           std::to_string(offset)};
  }
  return bytes;
}

struct Chunk {
  std::string id;
  std::uint64_t body = 0;  // offset of the data
  std::uint32_t size = 0;
};

// The chunks between `from` and `to`, read from their headers.
std::vector<Chunk> ChunksIn(std::FILE* f, std::uint64_t from, std::uint64_t to) {
  std::vector<Chunk> chunks;
  while (from + 8 <= to) {
    const auto header = ReadAt(f, from, 8);
    Chunk c{std::string(header.begin(), header.begin() + 4), from + 8, LittleEndian(&header[4], 4)};
    if (c.body + c.size > to) throw SoundFontFailure{"chunk " + c.id + " runs past its container"};
    chunks.push_back(c);
    from = c.body + c.size + (c.size & 1);
  }
  return chunks;
}

using Table = SoundFontTable;

constexpr int kKeyRange = 43;
constexpr int kVelRange = 44;
constexpr int kInstrument = 41;
constexpr int kSampleId = 53;

// --- What the notes need ---------------------------------------------------------------------

struct Range {
  int lo = 0, hi = 127;
  bool holds(int v) const { return lo <= v && v <= hi; }
};

// A zone of a preset or an instrument: its generators and modulators, in the tables' indexes.
struct Zone {
  std::size_t gen0 = 0, gen1 = 0, mod0 = 0, mod1 = 0;
  Range keys, velocities;
  int target = -1;  // instrument (preset zone) or sample (instrument zone); -1 for a global zone
};

// The zones of item `item` of `headers` (phdr or inst), whose bags are in `bags`. The key and
// velocity ranges count only where the synthesizer reads them (key range first, velocity range
// first or after it); elsewhere the zone is taken to cover every note, which keeps it.
std::vector<Zone> ZonesOf(const Table& headers, int bagField, std::size_t item, const Table& bags,
                          const Table& gens, const Table& mods, int targetGen) {
  std::vector<Zone> zones;
  const std::size_t bag0 = headers.field(item, bagField, 2);
  const std::size_t bag1 = headers.field(item + 1, bagField, 2);
  if (bag0 > bag1 || bag1 >= bags.count()) throw SoundFontFailure{"bag index out of range"};
  for (std::size_t b = bag0; b < bag1; ++b) {
    Zone z{bags.field(b, 0, 2), bags.field(b + 1, 0, 2), bags.field(b, 2, 2),
           bags.field(b + 1, 2, 2)};
    if (z.gen0 > z.gen1 || z.gen1 >= gens.count())
      throw SoundFontFailure{"generator index out of range"};
    if (z.mod0 > z.mod1 || z.mod1 >= mods.count())
      throw SoundFontFailure{"modulator index out of range"};
    bool keysFirst = false;
    for (std::size_t g = z.gen0; g < z.gen1; ++g) {
      const int oper = static_cast<int>(gens.field(g, 0, 2));
      const std::uint8_t* amount = gens.at(g) + 2;
      const std::size_t position = g - z.gen0;
      if (oper == kKeyRange && position == 0) {
        z.keys = {amount[0], amount[1]};
        keysFirst = true;
      }
      if (oper == kVelRange && (position == 0 || (position == 1 && keysFirst))) {
        z.velocities = {amount[0], amount[1]};
      }
      if (oper == targetGen) z.target = static_cast<int>(gens.field(g, 2, 2));
    }
    zones.push_back(z);
  }
  return zones;
}

bool Sounds(const Zone& preset, const Zone& instrument,
            const std::set<std::pair<int, int>>& notes) {
  return std::any_of(notes.begin(), notes.end(), [&](const std::pair<int, int>& n) {
    return preset.keys.holds(n.first) && instrument.keys.holds(n.first) &&
           preset.velocities.holds(n.second) && instrument.velocities.holds(n.second);
  });
}

// --- Writing ---------------------------------------------------------------------------------

class Writer {
 public:
  std::vector<std::uint8_t> bytes;
  void Le(std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Text(const std::string& s) { bytes.insert(bytes.end(), s.begin(), s.end()); }
  void Raw(const std::uint8_t* p, std::size_t n) { bytes.insert(bytes.end(), p, p + n); }
  void Name20(const std::string& s) {
    std::array<std::uint8_t, 20> name{};
    std::memcpy(name.data(), s.data(), std::min<std::size_t>(s.size(), 19));
    Raw(name.data(), name.size());
  }
  // Starts a chunk; End fills in its size.
  std::size_t Begin(const char* id) {
    Text(id);
    Le(0, 4);
    return bytes.size();
  }
  void End(std::size_t body, std::uint64_t extra = 0) {
    const auto size = static_cast<std::uint32_t>(bytes.size() - body + extra);
    for (int i = 0; i < 4; ++i) bytes[body - 4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
  }
};

struct NewZone {
  const Table* gens;
  const Table* mods;
  Zone zone;
  std::vector<std::pair<int, int>> remap;  // generator operator whose amount is replaced, value
};

// Writes bag, modulator and generator tables for `items`, each a list of zones.
void WriteZones(Writer& out, const char* bagId, const char* modId, const char* genId,
                const std::vector<std::vector<NewZone>>& items, int targetGen,
                const std::map<int, int>& newTarget) {
  std::size_t gens = 0, mods = 0;
  const auto bags = out.Begin(bagId);
  for (const auto& zones : items) {
    for (const NewZone& z : zones) {
      out.Le(static_cast<std::uint32_t>(gens), 2);
      out.Le(static_cast<std::uint32_t>(mods), 2);
      gens += z.zone.gen1 - z.zone.gen0;
      mods += z.zone.mod1 - z.zone.mod0;
    }
  }
  out.Le(static_cast<std::uint32_t>(gens), 2);
  out.Le(static_cast<std::uint32_t>(mods), 2);
  out.End(bags);
  const auto modBody = out.Begin(modId);
  for (const auto& zones : items) {
    for (const NewZone& z : zones) {
      for (std::size_t m = z.zone.mod0; m < z.zone.mod1; ++m) out.Raw(z.mods->at(m), 10);
    }
  }
  out.Le(0, 4);
  out.Le(0, 4);
  out.Le(0, 2);
  out.End(modBody);
  const auto genBody = out.Begin(genId);
  for (const auto& zones : items) {
    for (const NewZone& z : zones) {
      for (std::size_t g = z.zone.gen0; g < z.zone.gen1; ++g) {
        const int oper = static_cast<int>(z.gens->field(g, 0, 2));
        if (oper == targetGen) {
          out.Le(static_cast<std::uint32_t>(oper), 2);
          out.Le(static_cast<std::uint32_t>(newTarget.at(z.zone.target)), 2);
        } else {
          out.Raw(z.gens->at(g), 4);
        }
      }
    }
  }
  out.Le(0, 4);
  out.End(genBody);
}

std::string NameOf(const Table& table, std::size_t i) {
  const auto* p = reinterpret_cast<const char*>(table.at(i));
  return std::string(p, strnlen(p, 20));
}

SoundFontExcerpt Cut(std::FILE* f, const std::filesystem::path& path, const InstrumentNotes& uses) {
  const auto riff = ReadAt(f, 0, 12);
  if (std::memcmp(riff.data(), "RIFF", 4) != 0 || std::memcmp(&riff[8], "sfbk", 4) != 0) {
    throw SoundFontFailure{"not a SoundFont file"};
  }
  if (fseeko(f, 0, SEEK_END) != 0) throw SoundFontFailure{"cannot find the end of the file"};
  const auto fileSize = static_cast<std::uint64_t>(ftello(f));
  const std::uint64_t end =
      std::min<std::uint64_t>(fileSize, 8 + std::uint64_t{LittleEndian(&riff[4], 4)});

  std::optional<Chunk> smpl;
  std::array<std::uint8_t, 4> version{};
  std::map<std::string, std::vector<std::uint8_t>> tables;
  for (const Chunk& list : ChunksIn(f, 12, end)) {
    if (list.id != "LIST" || list.size < 4) continue;
    const auto kind = ReadAt(f, list.body, 4);
    for (const Chunk& c : ChunksIn(f, list.body + 4, list.body + list.size)) {
      if (std::memcmp(kind.data(), "INFO", 4) == 0 && c.id == "ifil" && c.size == 4) {
        const auto v = ReadAt(f, c.body, 4);
        std::copy(v.begin(), v.end(), version.begin());
      } else if (std::memcmp(kind.data(), "sdta", 4) == 0) {
        if (c.id == "smpl") smpl = c;
        if (c.id == "sm24" && c.size > 0) throw SoundFontFailure{"24-bit samples are not cut"};
      } else if (std::memcmp(kind.data(), "pdta", 4) == 0) {
        tables[c.id] = ReadAt(f, c.body, c.size);
      }
    }
  }
  if (LittleEndian(version.data(), 2) != 2) throw SoundFontFailure{"not a version 2 SoundFont"};
  if (!smpl) throw SoundFontFailure{"no sample data"};
  SoundFontTables h;
  for (auto& [id, table] : tables) h.Keep(id, std::move(table));
  h.CheckComplete();
  if (h.phdr.count() < 2 || h.inst.count() < 1) throw SoundFontFailure{"no presets"};
  const std::uint64_t smplWords = smpl->size / 2;

  // The presets the themes reach, with every note each will sound.
  const std::size_t presetCount = h.phdr.count() - 1;
  const auto find = [&](int bank, int program) -> int {
    for (std::size_t p = 0; p < presetCount; ++p) {
      if (static_cast<int>(h.phdr.field(p, 22, 2)) == bank &&
          static_cast<int>(h.phdr.field(p, 20, 2)) == program) {
        return static_cast<int>(p);
      }
    }
    return -1;
  };
  std::map<int, std::set<std::pair<int, int>>> presetNotes;
  for (const auto& [instrument, notes] : uses) {
    for (const Instrument place : PlacesToLookFor(instrument)) {
      if (const int p = find(place.bank, place.program); p >= 0) {
        presetNotes[p].insert(notes.begin(), notes.end());
        break;
      }
    }
  }

  // Preset zones that sound, and the instrument zones they sound through.
  std::vector<std::vector<NewZone>> presets;
  std::map<int, std::set<std::size_t>> instrumentZones;  // instrument -> zones kept (by position)
  std::map<int, std::vector<Zone>> instrumentZoneList;
  for (const auto& [p, notes] : presetNotes) {
    std::vector<NewZone> kept;
    const auto zones =
        ZonesOf(h.phdr, 24, static_cast<std::size_t>(p), h.pbag, h.pgen, h.pmod, kInstrument);
    for (std::size_t zi = 0; zi < zones.size(); ++zi) {
      const Zone& pz = zones[zi];
      if (pz.target < 0) {
        if (zi == 0) kept.push_back({&h.pgen, &h.pmod, pz, {}});  // the global zone
        continue;
      }
      if (static_cast<std::size_t>(pz.target) + 1 >= h.inst.count()) {
        throw SoundFontFailure{"instrument index out of range"};
      }
      auto& izones = instrumentZoneList[pz.target];
      if (izones.empty()) {
        izones = ZonesOf(h.inst, 20, static_cast<std::size_t>(pz.target), h.ibag, h.igen, h.imod,
                         kSampleId);
      }
      bool sounds = false;
      for (std::size_t ii = 0; ii < izones.size(); ++ii) {
        const Zone& iz = izones[ii];
        if (iz.target < 0) {
          if (ii == 0) instrumentZones[pz.target].insert(ii);
          continue;
        }
        if (Sounds(pz, iz, notes)) {
          instrumentZones[pz.target].insert(ii);
          sounds = true;
        }
      }
      if (sounds) kept.push_back({&h.pgen, &h.pmod, pz, {}});
    }
    presets.push_back(std::move(kept));
  }

  // Instruments and samples, renumbered in the file's order.
  std::map<int, int> newInstrument, newSample;
  std::vector<std::vector<NewZone>> instruments;
  std::vector<int> instrumentOrder;
  for (const auto& [i, positions] : instrumentZones) {
    bool any = false;
    std::vector<NewZone> kept;
    for (const std::size_t position : positions) {
      const Zone& z = instrumentZoneList[i][position];
      if (z.target >= 0) {
        any = true;
        newSample.emplace(z.target, 0);
      }
      kept.push_back({&h.igen, &h.imod, z, {}});
    }
    if (!any) continue;
    newInstrument[i] = static_cast<int>(instruments.size());
    instrumentOrder.push_back(i);
    instruments.push_back(std::move(kept));
  }
  for (auto& zones : presets) {  // a preset zone whose instrument kept nothing goes too
    std::erase_if(zones, [&](const NewZone& z) {
      return z.zone.target >= 0 && !newInstrument.contains(z.zone.target);
    });
  }
  int next = 0;
  for (auto& [s, index] : newSample) {
    if (static_cast<std::size_t>(s) + 1 >= h.shdr.count())
      throw SoundFontFailure{"sample index out of range"};
    const std::uint32_t type = h.shdr.field(static_cast<std::size_t>(s), 44, 2);
    if (type & kRomSample) throw SoundFontFailure{"ROM samples are not cut"};
    if (type & kCompressedSample) throw SoundFontFailure{"compressed samples are not cut"};
    index = next++;
  }

  // The new file: INFO, the sample data as pieces of the old file, then the preset tables.
  SoundFontExcerpt excerpt;
  excerpt.file = path;
  Writer head;
  const auto riffBody = head.Begin("RIFF");
  head.Text("sfbk");
  const auto info = head.Begin("LIST");
  head.Text("INFO");
  const auto ifil = head.Begin("ifil");
  head.Raw(version.data(), 4);
  head.End(ifil);
  const auto isng = head.Begin("isng");
  head.Text(std::string("EMU8000\0", 8));
  head.End(isng);
  const auto inam = head.Begin("INAM");
  head.Text(std::string("themes excerpt\0\0", 16));
  head.End(inam);
  head.End(info);

  Writer shdr;
  const auto shdrBody = shdr.Begin("shdr");
  std::uint64_t at = 0;  // in words
  for (const auto& [s, index] : newSample) {
    const auto i = static_cast<std::size_t>(s);
    const std::uint64_t start = h.shdr.field(i, 20, 4), stop = h.shdr.field(i, 24, 4);
    if (start > stop || stop > smplWords)
      throw SoundFontFailure{"sample " + NameOf(h.shdr, i) + " lies outside the sample data"};
    const std::uint64_t words = stop - start + kZeroPointsAfterSample;
    const std::uint64_t fromFile = std::min(words, smplWords - start);
    excerpt.samples.push_back({smpl->body + 2 * start, 2 * fromFile});
    if (fromFile < words)
      excerpt.samples.push_back({SoundFontExcerpt::kZeros, 2 * (words - fromFile)});
    const auto moved = [&](std::uint64_t point) {
      const auto offset = std::clamp<std::int64_t>(
          static_cast<std::int64_t>(point) - static_cast<std::int64_t>(start), 0,
          static_cast<std::int64_t>(words));
      return static_cast<std::uint32_t>(at + static_cast<std::uint64_t>(offset));
    };
    shdr.Raw(h.shdr.at(i), 20);
    shdr.Le(static_cast<std::uint32_t>(at), 4);
    shdr.Le(moved(stop), 4);
    shdr.Le(moved(h.shdr.field(i, 28, 4)), 4);
    shdr.Le(moved(h.shdr.field(i, 32, 4)), 4);
    shdr.Raw(h.shdr.at(i) + 36, 6);  // rate, original pitch, correction
    const int link = static_cast<int>(h.shdr.field(i, 42, 2));
    shdr.Le(newSample.contains(link) ? static_cast<std::uint32_t>(newSample.at(link)) : 0, 2);
    shdr.Raw(h.shdr.at(i) + 44, 2);
    at += words;
  }
  shdr.Name20("EOS");
  shdr.bytes.resize(shdr.bytes.size() + 26, 0);
  shdr.End(shdrBody);

  const auto sdta = head.Begin("LIST");
  head.Text("sdta");
  head.Text("smpl");
  head.Le(static_cast<std::uint32_t>(2 * at), 4);
  head.End(sdta, 2 * at);

  Writer tail;
  const auto pdta = tail.Begin("LIST");
  tail.Text("pdta");
  const auto phdr = tail.Begin("phdr");
  std::size_t bag = 0, item = 0;
  for (const auto& [p, notes] : presetNotes) {
    const auto i = static_cast<std::size_t>(p);
    tail.Raw(h.phdr.at(i), 24);  // name, program, bank
    tail.Le(static_cast<std::uint32_t>(bag), 2);
    tail.Raw(h.phdr.at(i) + 26, 12);
    bag += presets[item++].size();
  }
  tail.Name20("EOP");
  tail.Le(0, 4);
  tail.Le(static_cast<std::uint32_t>(bag), 2);
  tail.bytes.resize(tail.bytes.size() + 12, 0);
  tail.End(phdr);
  WriteZones(tail, "pbag", "pmod", "pgen", presets, kInstrument, newInstrument);
  const auto inst = tail.Begin("inst");
  bag = 0;
  for (std::size_t n = 0; n < instruments.size(); ++n) {
    tail.Raw(h.inst.at(static_cast<std::size_t>(instrumentOrder[n])), 20);
    tail.Le(static_cast<std::uint32_t>(bag), 2);
    bag += instruments[n].size();
  }
  tail.Name20("EOI");
  tail.Le(static_cast<std::uint32_t>(bag), 2);
  tail.End(inst);
  WriteZones(tail, "ibag", "imod", "igen", instruments, kSampleId, newSample);
  tail.Raw(shdr.bytes.data(), shdr.bytes.size());
  tail.End(pdta);

  head.End(riffBody, 2 * at + tail.bytes.size());
  excerpt.head = std::move(head.bytes);
  excerpt.tail = std::move(tail.bytes);
  return excerpt;
}

}  // namespace

std::uint64_t SoundFontExcerpt::sampleBytes() const {
  std::uint64_t total = 0;
  for (const Piece& p : samples) total += p.length;
  return total;
}

bool SoundFontExcerpt::Read(std::FILE* opened, std::uint64_t offset, std::uint64_t count,
                            std::uint8_t* out) const {
  if (offset > size() || count > size() - offset) return false;
  const auto copyFrom = [&](const std::vector<std::uint8_t>& part, std::uint64_t partStart) {
    const std::uint64_t partEnd = partStart + part.size();
    if (count == 0 || offset >= partEnd || offset < partStart) return;
    const std::uint64_t n = std::min(count, partEnd - offset);
    std::memcpy(out, part.data() + (offset - partStart), n);
    out += n;
    offset += n;
    count -= n;
  };
  copyFrom(head, 0);
  std::uint64_t pieceStart = head.size();
  for (const Piece& piece : samples) {
    const std::uint64_t pieceEnd = pieceStart + piece.length;
    if (count > 0 && offset >= pieceStart && offset < pieceEnd) {
      const std::uint64_t n = std::min(count, pieceEnd - offset);
      if (piece.fileOffset == kZeros) {
        std::memset(out, 0, n);
      } else if (fseeko(opened, static_cast<off_t>(piece.fileOffset + (offset - pieceStart)),
                        SEEK_SET) != 0 ||
                 std::fread(out, 1, n, opened) != n) {
        return false;
      }
      out += n;
      offset += n;
      count -= n;
    }
    pieceStart = pieceEnd;
  }
  copyFrom(tail, pieceStart);
  return count == 0;
}

std::optional<SoundFontExcerpt> CutSoundFont(const std::filesystem::path& file,
                                             const InstrumentNotes& uses, std::string* error) {
  const File f(std::fopen(file.c_str(), "rb"));
  try {
    if (!f) throw SoundFontFailure{"cannot be opened"};
    return Cut(f.get(), file, uses);
  } catch (const SoundFontFailure& failure) {
    if (error) *error = failure.why;
    return std::nullopt;
  }
}

}  // namespace zendor
