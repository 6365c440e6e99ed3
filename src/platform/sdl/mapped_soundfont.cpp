#include "platform/sdl/mapped_soundfont.h"

#include <fcntl.h>
#include <fluidsynth.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/sdl/soundfont_tables.h"

namespace zendor {
namespace {

// --- The SoundFont's numbers -----------------------------------------------------------------

constexpr int kFileGenerators = 61;        // generators 0 to 60 are the ones a file can hold
constexpr float kAttenuationScale = 0.4f;  // applied to stored attenuations, as FluidSynth does
constexpr int kMaxModulators = 64;         // FluidSynth's limit per zone and per voice
constexpr std::uint32_t kKnownSampleTypes =
    kMonoSample | kRightSample | kLeftSample | kLinkedSample | kRomSample;
constexpr std::uint32_t kLinkedModulatorDestination = 0x8000;
constexpr int kHighestMidiKey = 127;

bool UnusedGenerator(int oper) {
  return oper == GEN_UNUSED1 || oper == GEN_UNUSED2 || oper == GEN_UNUSED3 || oper == GEN_UNUSED4 ||
         oper == GEN_RESERVED1 || oper == GEN_RESERVED2 || oper == GEN_RESERVED3;
}

// Generators that mean something only in an instrument; a preset's are ignored.
bool InstrumentOnlyGenerator(int oper) {
  switch (oper) {
    case GEN_STARTADDROFS:
    case GEN_ENDADDROFS:
    case GEN_STARTLOOPADDROFS:
    case GEN_ENDLOOPADDROFS:
    case GEN_STARTADDRCOARSEOFS:
    case GEN_ENDADDRCOARSEOFS:
    case GEN_STARTLOOPADDRCOARSEOFS:
    case GEN_KEYNUM:
    case GEN_VELOCITY:
    case GEN_ENDLOOPADDRCOARSEOFS:
    case GEN_SAMPLEMODE:
    case GEN_EXCLUSIVECLASS:
    case GEN_OVERRIDEROOTKEY:
      return true;
    default:
      return false;
  }
}

// How far a SoundFont may move a note's pitch, generator by generator: the ranges the format
// allows. FluidSynth takes any value, and a far-out tuning makes it spin for seconds on every
// block (it steps a voice around its loop one loop length at a time), so values and the
// modulators that drive these generators are held within them.
struct PitchRange {
  int generator;
  float lowest;
  float highest;
};
constexpr PitchRange kPitchRanges[] = {{GEN_COARSETUNE, -120, 120}, {GEN_FINETUNE, -99, 99},
                                       {GEN_SCALETUNE, 0, 1200},    {GEN_OVERRIDEROOTKEY, -1, 127},
                                       {GEN_KEYNUM, -1, 127},       {GEN_PITCH, -12700, 12700}};
// The sample rates a sample may have; others would let one voice run millions of points a block.
constexpr std::uint32_t kLowestSampleRate = 400, kHighestSampleRate = 192000;

float WithinPitchRange(int generator, float value) {
  for (const PitchRange& range : kPitchRanges) {
    if (range.generator == generator) return std::clamp(value, range.lowest, range.highest);
  }
  return value;
}

using Failure = SoundFontFailure;
using Table = SoundFontTable;

SoundFontTables ReadTables(const std::vector<std::uint8_t>& tail) {
  if (tail.size() < 12 || std::memcmp(tail.data() + 8, "pdta", 4) != 0) {
    throw Failure{"the excerpt has no preset tables"};
  }
  SoundFontTables tables;
  std::size_t at = 12;
  while (at + 8 <= tail.size()) {
    const std::uint32_t size = LittleEndian(&tail[at + 4], 4);
    if (at + 8 + size > tail.size()) throw Failure{"a preset table runs past the excerpt"};
    tables.Keep(
        std::string(reinterpret_cast<const char*>(&tail[at]), 4),
        std::vector<std::uint8_t>(tail.begin() + static_cast<std::ptrdiff_t>(at) + 8,
                                  tail.begin() + static_cast<std::ptrdiff_t>(at + 8 + size)));
    at += 8 + size + (size & 1);
  }
  tables.CheckComplete();
  return tables;
}

// --- Zones as FluidSynth keeps them ----------------------------------------------------------

struct KeysAndVelocities {
  int keyLo = 0, keyHi = 128, velLo = 0, velHi = 128;
  bool Holds(int key, int vel) const {
    return keyLo <= key && key <= keyHi && velLo <= vel && vel <= velHi;
  }
  KeysAndVelocities Within(const KeysAndVelocities& outer) const {
    return {std::max(keyLo, outer.keyLo), std::min(keyHi, outer.keyHi),
            std::max(velLo, outer.velLo), std::min(velHi, outer.velHi)};
  }
};

struct ModulatorDeleter {
  void operator()(fluid_mod_t* mod) const { delete_fluid_mod(mod); }
};
using Modulator = std::unique_ptr<fluid_mod_t, ModulatorDeleter>;

struct Zone {
  std::array<float, kFileGenerators> value{};
  std::array<bool, kFileGenerators> set{};
  std::vector<Modulator> modulators;
  KeysAndVelocities range;
  int target = -1;  // the instrument (preset zone) or sample (instrument zone); -1 for none
};

struct InstrumentZones {
  std::optional<Zone> global;
  std::vector<Zone> zones;  // in the order FluidSynth tries them: the file's, reversed
};

struct VoiceZone {
  const Zone* zone;
  fluid_sample_t* sample;
  KeysAndVelocities range;  // where both the preset zone and the instrument zone sound
};

struct PresetZone {
  Zone zone;
  const InstrumentZones* instrument = nullptr;
  std::vector<VoiceZone> voices;
};

struct Preset {
  std::string name;
  int bank = 0;
  int program = 0;
  std::optional<Zone> global;
  std::vector<PresetZone> zones;  // the file's order, reversed
  fluid_preset_t* handle = nullptr;

  Preset() = default;
  Preset(const Preset&) = delete;
  Preset& operator=(const Preset&) = delete;
  ~Preset() { delete_fluid_preset(handle); }
};

// A modulator source as FluidSynth reads it from the file's 16 bits; false for an unknown
// mapping curve.
bool ReadSource(std::uint32_t bits, int& source, int& flags) {
  source = static_cast<int>(bits & 127);
  flags = ((bits & (1u << 7)) ? FLUID_MOD_CC : FLUID_MOD_GC) |
          ((bits & (1u << 8)) ? FLUID_MOD_NEGATIVE : FLUID_MOD_POSITIVE) |
          ((bits & (1u << 9)) ? FLUID_MOD_BIPOLAR : FLUID_MOD_UNIPOLAR);
  static constexpr int kCurves[] = {FLUID_MOD_LINEAR, FLUID_MOD_CONCAVE, FLUID_MOD_CONVEX,
                                    FLUID_MOD_SWITCH};
  const std::uint32_t curve = (bits >> 10) & 63;
  if (curve >= std::size(kCurves)) return false;
  flags |= kCurves[curve];
  return true;
}

// Whether a source may drive a modulator: the general controllers FluidSynth knows, or a
// controller that is not a bank select, data entry, parameter number or channel mode message.
bool UsableSource(int source, int flags) {
  if (flags & FLUID_MOD_CC) {
    constexpr int kBankSelect = 0, kDataEntry = 6, kBankSelectLsb = 32, kDataEntryLsb = 38;
    constexpr int kFirstParameterNumber = 98, kLastParameterNumber = 101, kAllSoundOff = 120;
    return source != kBankSelect && source != kBankSelectLsb && source != kDataEntry &&
           source != kDataEntryLsb &&
           (source < kFirstParameterNumber || source > kLastParameterNumber) &&
           source < kAllSoundOff;
  }
  return source == FLUID_MOD_NONE || source == FLUID_MOD_VELOCITY || source == FLUID_MOD_KEY ||
         source == FLUID_MOD_KEYPRESSURE || source == FLUID_MOD_CHANNELPRESSURE ||
         source == FLUID_MOD_PITCHWHEEL || source == FLUID_MOD_PITCHWHEELSENS;
}

// The zone's modulators, with the ones FluidSynth drops left out: unusable sources, a first
// source of "none", and any that a later one of the zone repeats.
std::vector<Modulator> ReadModulators(const Table& mods, std::size_t first, std::size_t end) {
  std::vector<Modulator> read;
  for (std::size_t m = first; m < end; ++m) {
    const std::uint32_t dest = mods.field(m, 2, 2);
    if (dest & kLinkedModulatorDestination) throw Failure{"linked modulators are not read"};
    double amount = static_cast<std::int16_t>(mods.field(m, 4, 2));
    int src1 = 0, flags1 = 0, src2 = 0, flags2 = 0;
    if (!ReadSource(mods.field(m, 0, 2), src1, flags1)) amount = 0;
    if (!ReadSource(mods.field(m, 6, 2), src2, flags2)) amount = 0;
    if ((flags2 & FLUID_MOD_CC) == 0 && src2 == FLUID_MOD_NONE) flags2 &= ~FLUID_MOD_BIPOLAR;
    if (mods.field(m, 8, 2) != 0) amount = 0;  // a transform other than linear
    Modulator mod(new_fluid_mod());
    if (!mod) throw Failure{"out of memory"};
    fluid_mod_set_source1(mod.get(), src1, flags1);
    fluid_mod_set_source2(mod.get(), src2, flags2);
    fluid_mod_set_dest(mod.get(), static_cast<int>(dest));
    // A modulator's output is at most its amount: one that tunes is held to the tuning's range.
    const double most = std::fabs(WithinPitchRange(static_cast<int>(dest), 1e9f));
    fluid_mod_set_amount(mod.get(), std::clamp(amount, -most, most));
    read.push_back(std::move(mod));
  }
  std::vector<Modulator> kept;
  for (std::size_t i = 0; i < read.size(); ++i) {
    const fluid_mod_t* mod = read[i].get();
    const int src1 = fluid_mod_get_source1(mod), flags1 = fluid_mod_get_flags1(mod);
    // A destination that is no generator would make FluidSynth write outside a voice.
    const bool usable = fluid_mod_get_dest(mod) < kFileGenerators && UsableSource(src1, flags1) &&
                        UsableSource(fluid_mod_get_source2(mod), fluid_mod_get_flags2(mod)) &&
                        !((flags1 & FLUID_MOD_CC) == 0 && src1 == FLUID_MOD_NONE);
    const bool repeated = std::any_of(
        read.begin() + static_cast<std::ptrdiff_t>(i) + 1, read.end(),
        [&](const Modulator& later) { return fluid_mod_test_identity(mod, later.get()); });
    if (usable && !repeated) kept.push_back(std::move(read[i]));
  }
  if (kept.size() > kMaxModulators) kept.resize(kMaxModulators);
  return kept;
}

// The zones of item `item` of `headers` (phdr or inst), read generator by generator as
// FluidSynth reads them: a key range only first, a velocity range only first or after the key
// range, nothing after the instrument or sample, a repeated generator replacing the earlier one,
// generators that do not belong at this level ignored. A zone without a target is the global
// zone when it comes first and is dropped anywhere else.
struct ZoneList {
  std::optional<Zone> global;
  std::vector<Zone> zones;  // the file's order
};
ZoneList ReadZones(const Table& headers, int bagField, std::size_t item, const Table& bags,
                   const Table& gens, const Table& mods, int targetGen) {
  const bool presetLevel = targetGen == GEN_INSTRUMENT;
  ZoneList list;
  const std::size_t bag0 = headers.field(item, bagField, 2);
  const std::size_t bag1 = headers.field(item + 1, bagField, 2);
  for (std::size_t b = bag0; b < bag1; ++b) {
    Zone zone;
    int level = 0;
    for (std::size_t g = bags.field(b, 0, 2), gEnd = bags.field(b + 1, 0, 2); g < gEnd; ++g) {
      const int oper = static_cast<int>(gens.field(g, 0, 2));
      const std::uint8_t* amount = gens.at(g) + 2;
      if (oper == GEN_KEYRANGE) {
        if (level == 0) {
          level = 1;
          zone.range.keyLo = amount[0];
          zone.range.keyHi = amount[1];
        }
      } else if (oper == GEN_VELRANGE) {
        if (level <= 1) {
          level = 2;
          zone.range.velLo = amount[0];
          zone.range.velHi = amount[1];
        }
      } else if (oper == targetGen) {
        level = 3;
        zone.target = static_cast<int>(LittleEndian(amount, 2));
        break;
      } else {
        level = 2;
        if (oper >= kFileGenerators || UnusedGenerator(oper) || oper == GEN_INSTRUMENT ||
            oper == GEN_SAMPLEID || (presetLevel && InstrumentOnlyGenerator(oper))) {
          continue;
        }
        const auto stored = static_cast<float>(static_cast<std::int16_t>(LittleEndian(amount, 2)));
        zone.value[static_cast<std::size_t>(oper)] =
            oper == GEN_ATTENUATION ? stored * kAttenuationScale : WithinPitchRange(oper, stored);
        zone.set[static_cast<std::size_t>(oper)] = true;
      }
    }
    zone.modulators = ReadModulators(mods, bags.field(b, 2, 2), bags.field(b + 1, 2, 2));
    if (level < 3) {
      if (b == bag0) list.global = std::move(zone);
      continue;
    }
    list.zones.push_back(std::move(zone));
  }
  return list;
}

// --- The font --------------------------------------------------------------------------------

// The SoundFont file, mapped read-only.
class Mapping {
 public:
  explicit Mapping(const std::filesystem::path& file);
  ~Mapping() {
    if (bytes_ != MAP_FAILED) munmap(bytes_, size_);
  }
  Mapping(const Mapping&) = delete;
  Mapping& operator=(const Mapping&) = delete;
  const std::uint8_t* bytes() const { return static_cast<const std::uint8_t*>(bytes_); }
  std::size_t size() const { return size_; }

 private:
  void* bytes_ = MAP_FAILED;
  std::size_t size_ = 0;
};

Mapping::Mapping(const std::filesystem::path& file) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw Failure{"cannot be opened"};
  struct stat status {};
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
    size_ = static_cast<std::size_t>(status.st_size);
    bytes_ = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
  }
  close(fd);
  if (bytes_ == MAP_FAILED) throw Failure{"cannot be mapped into memory"};
}

struct SampleDeleter {
  void operator()(fluid_sample_t* sample) const { delete_fluid_sample(sample); }
};

class Font {
 public:
  Font(const SoundFontExcerpt& excerpt, fluid_sfont_t* handle);

  const char* name() const { return name_.c_str(); }
  fluid_preset_t* Find(int bank, int program) const;
  void StartIteration() { iteration_ = 0; }
  fluid_preset_t* Next() {
    return iteration_ < presets_.size() ? presets_[iteration_++]->handle : nullptr;
  }
  MappedSampleMemory Memory() const;

 private:
  struct Span {
    const std::uint8_t* at;
    std::size_t length;
  };

  const std::uint8_t* FileBytesOf(const SoundFontExcerpt& excerpt, std::uint64_t offset,
                                  std::uint64_t length) const;
  void ReadSamples(const SoundFontExcerpt& excerpt, const Table& shdr);
  const InstrumentZones& InstrumentAt(const SoundFontTables& h, int index);
  void ReadPresets(const SoundFontTables& h);
  void BringIn();

  std::string name_;
  fluid_sfont_t* handle_;
  Mapping file_;  // outlives the samples that view it
  std::vector<std::unique_ptr<fluid_sample_t, SampleDeleter>> samples_;  // nullptr: unusable
  std::vector<Span> spans_;
  std::vector<std::unique_ptr<InstrumentZones>> instruments_;
  std::vector<std::unique_ptr<Preset>> presets_;
  std::size_t iteration_ = 0;
  std::uint64_t locked_ = 0;
};

Font* FontOf(fluid_sfont_t* sfont) {
  return static_cast<Font*>(fluid_sfont_get_data(sfont));
}
const Preset& PresetOf(fluid_preset_t* preset) {
  return *static_cast<const Preset*>(fluid_preset_get_data(preset));
}

// Local modulators first, then the global ones no local one replaces; at instrument level they
// overwrite the synthesizer's default modulators, at preset level they add to what is there.
void AddModulators(fluid_voice_t* voice, const Zone* global, const Zone& local, int mode) {
  std::vector<fluid_mod_t*> list;
  for (const Modulator& mod : local.modulators) list.push_back(mod.get());
  const std::size_t locals = list.size();
  if (global) {
    for (const Modulator& mod : global->modulators) {
      const bool replaced =
          std::any_of(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(locals),
                      [&](const fluid_mod_t* l) { return fluid_mod_test_identity(mod.get(), l); });
      if (replaced) continue;
      if (list.size() >= kMaxModulators) break;
      list.push_back(mod.get());
    }
  }
  for (fluid_mod_t* mod : list) {
    if (mode == FLUID_VOICE_OVERWRITE || fluid_mod_get_amount(mod) != 0) {
      fluid_voice_add_mod(voice, mod, mode);
    }
  }
}

int NoteOn(fluid_preset_t* handle, fluid_synth_t* synth, int chan, int key, int vel) {
  const Preset& preset = PresetOf(handle);
  const Zone* globalPreset = preset.global ? &*preset.global : nullptr;
  for (const PresetZone& presetZone : preset.zones) {
    if (!presetZone.zone.range.Holds(key, vel)) continue;
    const Zone* globalInstrument =
        presetZone.instrument->global ? &*presetZone.instrument->global : nullptr;
    for (const VoiceZone& voiceZone : presetZone.voices) {
      if (!voiceZone.range.Holds(key, vel)) continue;
      fluid_voice_t* voice = fluid_synth_alloc_voice(synth, voiceZone.sample, chan, key, vel);
      if (!voice) return FLUID_FAILED;
      const Zone& zone = *voiceZone.zone;
      for (std::size_t g = 0; g < kFileGenerators; ++g) {
        if (zone.set[g]) {
          fluid_voice_gen_set(voice, static_cast<int>(g), zone.value[g]);
        } else if (globalInstrument && globalInstrument->set[g]) {
          fluid_voice_gen_set(voice, static_cast<int>(g), globalInstrument->value[g]);
        }
      }
      AddModulators(voice, globalInstrument, zone, FLUID_VOICE_OVERWRITE);
      for (std::size_t g = 0; g < kFileGenerators; ++g) {
        if (presetZone.zone.set[g]) {
          fluid_voice_gen_incr(voice, static_cast<int>(g), presetZone.zone.value[g]);
        } else if (globalPreset && globalPreset->set[g]) {
          fluid_voice_gen_incr(voice, static_cast<int>(g), globalPreset->value[g]);
        }
      }
      AddModulators(voice, globalPreset, presetZone.zone, FLUID_VOICE_ADD);
      fluid_synth_start_voice(synth, voice);
    }
  }
  return FLUID_OK;
}

Font::Font(const SoundFontExcerpt& excerpt, fluid_sfont_t* handle)
    : name_("mapped:" + excerpt.file.string()), handle_(handle), file_(excerpt.file) {
  const SoundFontTables h = ReadTables(excerpt.tail);
  ReadSamples(excerpt, h.shdr);
  ReadPresets(h);
  BringIn();
}

// Where `length` bytes from `offset` of the excerpt lie in the mapped file; they must all be
// the file's own bytes.
const std::uint8_t* Font::FileBytesOf(const SoundFontExcerpt& excerpt, std::uint64_t offset,
                                      std::uint64_t length) const {
  std::uint64_t pieceStart = excerpt.head.size();
  for (const SoundFontExcerpt::Piece& piece : excerpt.samples) {
    if (offset >= pieceStart && offset - pieceStart + length <= piece.length) {
      if (piece.fileOffset == SoundFontExcerpt::kZeros ||
          piece.fileOffset + piece.length > file_.size()) {
        break;
      }
      return file_.bytes() + piece.fileOffset + (offset - pieceStart);
    }
    pieceStart += piece.length;
  }
  throw Failure{"a sample does not lie whole in the file"};
}

// Each sample as FluidSynth's own loader prepares it when it reads one sample at a time: its
// points and the 46 words after it, the loop moved into that stretch, the level at which a
// looping voice falls below hearing worked out once.
void Font::ReadSamples(const SoundFontExcerpt& excerpt, const Table& shdr) {
  const std::uint64_t words = excerpt.sampleBytes() / 2;
  for (std::size_t i = 0; i + 1 < shdr.count(); ++i) {
    const std::uint32_t start = shdr.field(i, 20, 4), end = shdr.field(i, 24, 4);
    const std::uint32_t type = shdr.field(i, 44, 2);
    // FluidSynth disables a ROM sample, one of an unknown kind, one that runs past the data
    // or one shorter than four points (its arithmetic wraps as FluidSynth's does); the zones
    // that use it sound nothing. So do samples at a rate no sample has (FluidSynth would play
    // them, slowly).
    const std::uint32_t lastPoint = end > 0 ? end - 1 : 0;
    const std::uint32_t rate = shdr.field(i, 36, 4);
    if ((type & kRomSample) || (type & ~kKnownSampleTypes) || end > words || start > end - 4 ||
        lastPoint > words || start >= lastPoint || rate < kLowestSampleRate ||
        rate > kHighestSampleRate) {
      samples_.emplace_back();
      continue;
    }
    const std::uint32_t last = lastPoint + kZeroPointsAfterSample;
    if (last >= words) throw Failure{"a sample lacks the zeros that follow it"};
    const std::uint32_t frames = last - start + 1;
    const int rootKey = static_cast<int>(shdr.field(i, 40, 1));
    if (rootKey > kHighestMidiKey) throw Failure{"a sample's pitch is outside the MIDI keys"};
    const auto* data =
        FileBytesOf(excerpt, excerpt.head.size() + 2 * std::uint64_t{start}, 2ull * frames);
    spans_.push_back({data, 2ull * frames});

    std::unique_ptr<fluid_sample_t, SampleDeleter> sample(new_fluid_sample());
    if (!sample) throw Failure{"out of memory"};
    const auto* name = reinterpret_cast<const char*>(shdr.at(i));
    fluid_sample_set_name(sample.get(), std::string(name, strnlen(name, 20)).c_str());
    // The data is only read; FluidSynth takes it as writable words but never writes them.
    fluid_sample_set_sound_data(sample.get(),
                                reinterpret_cast<short*>(const_cast<std::uint8_t*>(data)), nullptr,
                                frames, rate, 0);
    std::uint32_t loopStart = shdr.field(i, 28, 4) - start;
    std::uint32_t loopEnd = shdr.field(i, 32, 4) - start;
    if (loopStart > loopEnd) std::swap(loopStart, loopEnd);
    if (loopStart > frames) loopStart = 0;
    if (loopEnd > frames) loopEnd = frames;
    fluid_sample_set_loop(sample.get(), loopStart, loopEnd);
    fluid_sample_set_pitch(sample.get(), rootKey, static_cast<std::int8_t>(shdr.field(i, 41, 1)));
    fluid_voice_optimize_sample(sample.get());
    samples_.push_back(std::move(sample));
  }
}

const InstrumentZones& Font::InstrumentAt(const SoundFontTables& h, int index) {
  if (index < 0 || static_cast<std::size_t>(index) + 1 >= h.inst.count()) {
    throw Failure{"a preset names an instrument that is not there"};
  }
  if (instruments_.size() < h.inst.count()) instruments_.resize(h.inst.count());
  auto& instrument = instruments_[static_cast<std::size_t>(index)];
  if (!instrument) {
    ZoneList list = ReadZones(h.inst, 20, static_cast<std::size_t>(index), h.ibag, h.igen, h.imod,
                              GEN_SAMPLEID);
    instrument = std::make_unique<InstrumentZones>();
    for (Zone& zone : list.zones) {
      if (zone.target < 0 || static_cast<std::size_t>(zone.target) >= samples_.size()) {
        throw Failure{"an instrument names a sample that is not there"};
      }
    }
    // A first zone whose sample is unusable counts as the global zone, as in FluidSynth.
    if (!list.global && !list.zones.empty() &&
        !samples_[static_cast<std::size_t>(list.zones.front().target)]) {
      list.global = std::move(list.zones.front());
      list.zones.erase(list.zones.begin());
    }
    instrument->global = std::move(list.global);
    std::move(list.zones.rbegin(), list.zones.rend(), std::back_inserter(instrument->zones));
  }
  return *instrument;
}

void Font::ReadPresets(const SoundFontTables& h) {
  for (std::size_t p = 0; p + 1 < h.phdr.count(); ++p) {
    auto preset = std::make_unique<Preset>();
    const auto* name = reinterpret_cast<const char*>(h.phdr.at(p));
    preset->name = std::string(name, strnlen(name, 20));
    preset->program = static_cast<int>(h.phdr.field(p, 20, 2));
    preset->bank = static_cast<int>(h.phdr.field(p, 22, 2));
    ZoneList list = ReadZones(h.phdr, 24, p, h.pbag, h.pgen, h.pmod, GEN_INSTRUMENT);
    preset->global = std::move(list.global);
    for (auto zone = list.zones.rbegin(); zone != list.zones.rend(); ++zone) {
      PresetZone presetZone;
      presetZone.instrument = &InstrumentAt(h, zone->target);
      presetZone.zone = std::move(*zone);
      for (const Zone& instrumentZone : presetZone.instrument->zones) {
        if (fluid_sample_t* sample =
                samples_[static_cast<std::size_t>(instrumentZone.target)].get()) {
          presetZone.voices.push_back(
              {&instrumentZone, sample, instrumentZone.range.Within(presetZone.zone.range)});
        }
      }
      preset->zones.push_back(std::move(presetZone));
    }
    preset->handle = new_fluid_preset(
        handle_, [](fluid_preset_t* self) { return PresetOf(self).name.c_str(); },
        [](fluid_preset_t* self) { return PresetOf(self).bank; },
        [](fluid_preset_t* self) { return PresetOf(self).program; }, NoteOn,
        [](fluid_preset_t*) {});  // the font deletes its presets
    if (!preset->handle) throw Failure{"out of memory"};
    fluid_preset_set_data(preset->handle, preset.get());
    presets_.push_back(std::move(preset));
  }
}

// Reads every sample in from the disk, locking it in memory where the limit allows.
void Font::BringIn() {
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  for (const Span& span : spans_) {
    const auto first = reinterpret_cast<std::uintptr_t>(span.at) & ~(page - 1);
    const auto end =
        (reinterpret_cast<std::uintptr_t>(span.at) + span.length + page - 1) & ~(page - 1);
    auto* pages = reinterpret_cast<void*>(first);
    if (mlock(pages, end - first) == 0) {
      locked_ += span.length;
      continue;
    }
    madvise(pages, end - first, MADV_WILLNEED);
    volatile std::uint8_t sink = 0;
    for (std::uintptr_t at = first; at < end; at += page) {
      sink = sink + *reinterpret_cast<const volatile std::uint8_t*>(
                        std::max(at, reinterpret_cast<std::uintptr_t>(span.at)));
    }
  }
}

fluid_preset_t* Font::Find(int bank, int program) const {
  for (const auto& preset : presets_) {
    if (preset->bank == bank && preset->program == program) return preset->handle;
  }
  return nullptr;
}

MappedSampleMemory Font::Memory() const {
  MappedSampleMemory memory;
  memory.locked = locked_;
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  std::vector<unsigned char> resident;
  for (const Span& span : spans_) {
    memory.bytes += span.length;
    const auto from = reinterpret_cast<std::uintptr_t>(span.at);
    const auto first = from & ~(page - 1);
    const auto end = (from + span.length + page - 1) & ~(page - 1);
    resident.assign((end - first) / page, 0);
    if (mincore(reinterpret_cast<void*>(first), end - first, resident.data()) != 0) continue;
    for (std::size_t i = 0; i < resident.size(); ++i) {
      if (!(resident[i] & 1)) continue;
      const std::uintptr_t pageStart = std::max(first + i * page, from);
      const std::uintptr_t pageEnd = std::min(first + (i + 1) * page, from + span.length);
      memory.resident += pageEnd - pageStart;
    }
  }
  return memory;
}

int FreeFont(fluid_sfont_t* sfont) {
  delete FontOf(sfont);
  delete_fluid_sfont(sfont);
  return 0;
}

}  // namespace

_fluid_sfont_t* NewMappedSoundFont(const SoundFontExcerpt& excerpt, std::string* error) {
  fluid_sfont_t* sfont = new_fluid_sfont(
      [](fluid_sfont_t* s) { return FontOf(s)->name(); },
      [](fluid_sfont_t* s, int bank, int program) { return FontOf(s)->Find(bank, program); },
      [](fluid_sfont_t* s) { FontOf(s)->StartIteration(); },
      [](fluid_sfont_t* s) { return FontOf(s)->Next(); }, FreeFont);
  if (!sfont) {
    if (error) *error = "out of memory";
    return nullptr;
  }
  try {
    fluid_sfont_set_data(sfont, new Font(excerpt, sfont));
    return sfont;
  } catch (const Failure& failure) {
    if (error) *error = failure.why;
  } catch (const std::bad_alloc&) {
    if (error) *error = "out of memory";
  }
  delete_fluid_sfont(sfont);
  return nullptr;
}

void DeleteMappedSoundFont(_fluid_sfont_t* font) {
  if (font) FreeFont(font);
}

MappedSampleMemory SampleMemoryOf(_fluid_sfont_t* font) {
  return font ? FontOf(font)->Memory() : MappedSampleMemory{};
}

}  // namespace zendor
