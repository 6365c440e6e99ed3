// The instruments behind the music: only what the themes play is read from the SoundFont, all of
// it before a theme starts, and it sounds exactly as the whole SoundFont would.
#include <fluidsynth.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "datagen/datagen.h"
#include "platform/midi_sequence.h"
#include "platform/sdl/fluid_music_player.h"
#include "platform/sdl/mapped_soundfont.h"
#include "platform/sdl/soundfont.h"
#include "platform/sdl/soundfont_excerpt.h"
#include "platform/sdl/soundfont_reader.h"
#include "platform/sdl/theme_instruments.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

constexpr int kRate = 44100;
constexpr int kBlock = 1024;

std::filesystem::path SoundFontOrSkip() {
  const auto soundFont = FindSoundFont(UsualSoundFontPlaces());
  return soundFont ? *soundFont : std::filesystem::path();
}

// Root mean square (16-bit scale) of `seconds` of the player's music, block by block as the
// audio callback asks for it.
double Listen(FluidMusicPlayer& player, double seconds) {
  const auto frames = static_cast<int>(std::lround(seconds * kRate));
  std::vector<float> block(2 * kBlock);
  double sum = 0;
  for (int done = 0; done < frames; done += kBlock) {
    std::fill(block.begin(), block.end(), 0.0f);
    const int n = std::min(kBlock, frames - done);
    player.MixInto(block.data(), n);
    for (int i = 0; i < 2 * n; ++i) sum += block[i] * block[i];
  }
  return std::sqrt(sum / (2.0 * frames));
}

// Every sample is in memory: locked there where this process may lock that much (root, or a
// high enough limit), otherwise at least read in. (The kernel may be moving a page at the very
// moment it is asked, which shows it as absent for an instant: locked pages are the proof.)
void ExpectAllInMemory(const MappedSampleMemory& memory) {
  rlimit limit{};
  getrlimit(RLIMIT_MEMLOCK, &limit);
  if (geteuid() == 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= 2 * memory.bytes) {
    EXPECT_EQ(memory.locked, memory.bytes);
  } else {
    EXPECT_EQ(memory.resident, memory.bytes);
  }
}

struct ShippedTheme {
  int number;
  MidiSequence sequence;
};

std::vector<ShippedTheme> ShippedThemes() {
  std::vector<ShippedTheme> themes;
  for (const auto& file : datagen::MakeMusicThemes()) {
    themes.push_back({file.number, *ParseMidi(file.bytes, kRate, nullptr)});
  }
  return themes;
}

TEST(ThemeInstruments, EveryProgramTheShippedThemesSelectIsPinnedBeforePlayAndPlayingReadsNothing) {
  const auto soundFont = SoundFontOrSkip();
  if (soundFont.empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
  const auto themes = ShippedThemes();
  FluidMusicPlayer player(soundFont, kRate);
  std::vector<MusicPlayer::Segment> segments;
  for (const auto& theme : themes) segments.push_back(player.Add(theme.sequence));

  const SoundFontReads beforeLoading = SoundFontReadsSoFar();
  player.ThemesLoaded();
  ASSERT_TRUE(player.WaitUntilReady());
  const SoundFontReads loaded = SoundFontReadsSoFar();

  // Every program change of every theme, the percussion channel's in bank 128, is pinned.
  const auto& pinned = player.PinnedInstruments();
  for (const auto& theme : themes) {
    for (const MidiEvent& e : theme.sequence.events) {
      if ((e.status & 0xF0) != 0xC0) continue;
      const Instrument selected{(e.status & 0x0F) == 9 ? 128 : 0, e.data1};
      EXPECT_NE(std::find(pinned.begin(), pinned.end(), selected), pinned.end())
          << "theme " << theme.number << ": bank " << selected.bank << " program "
          << selected.program << " not pinned";
    }
  }
  // Only a small part of the SoundFont is held: the themes' samples, viewed in the file, every
  // one of them in memory before a theme plays. None of it went through a read into the
  // program's own memory.
  const MappedSampleMemory held = player.MappedSamples();
  EXPECT_GT(held.bytes, 0u);
  EXPECT_LT(held.bytes, std::filesystem::file_size(soundFont) / 5);
  ExpectAllInMemory(held);
  EXPECT_EQ(loaded.bytes, beforeLoading.bytes);

  // Each theme played through to its end, then once more from a bar line of the one before:
  // every one is heard, nothing more is opened or read, and every sample stays in memory.
  for (std::size_t i = 0; i < themes.size(); ++i) {
    SCOPED_TRACE("theme " + std::to_string(themes[i].number));
    const auto instance = player.Play(segments[i], i % 2 ? MusicPlayer::kAtNextBar : 0);
    const double seconds = static_cast<double>(themes[i].sequence.lengthFrames) / kRate;
    EXPECT_GT(Listen(player, seconds + 0.1), 100.0);
    EXPECT_NE(player.CurrentInstance(), instance);  // played once, and over
  }
  ExpectAllInMemory(player.MappedSamples());
  const SoundFontReads played = SoundFontReadsSoFar();
  EXPECT_EQ(played.opens, loaded.opens);
  EXPECT_EQ(played.bytes, loaded.bytes);
}

// Every shipped theme, start to end and its last notes ringing out, from samples viewed in the
// mapped file and from samples FluidSynth copied into memory: the same to the last bit.
TEST(ThemeInstruments, EveryThemeSoundsToTheBitTheSameFromTheMappedFileAsFromCopiedSamples) {
  const auto soundFont = SoundFontOrSkip();
  if (soundFont.empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
  const auto themes = ShippedThemes();
  FluidMusicPlayer mapped(soundFont, kRate, FluidMusicPlayer::Samples::kMappedFromFile);
  FluidMusicPlayer copied(soundFont, kRate, FluidMusicPlayer::Samples::kCopied);
  std::vector<MusicPlayer::Segment> segments;
  for (const auto& theme : themes) {
    segments.push_back(mapped.Add(theme.sequence));
    copied.Add(theme.sequence);
  }
  ASSERT_TRUE(mapped.WaitUntilReady());
  ASSERT_TRUE(copied.WaitUntilReady());
  ASSERT_GT(mapped.MappedSamples().bytes, 0u);
  EXPECT_EQ(copied.MappedSamples().bytes, 0u);

  std::vector<float> fromMap(2 * kBlock), fromCopy(2 * kBlock);
  for (std::size_t i = 0; i < themes.size(); ++i) {
    SCOPED_TRACE("theme " + std::to_string(themes[i].number));
    mapped.Play(segments[i], 0);
    copied.Play(segments[i], 0);
    const std::uint64_t frames = themes[i].sequence.lengthFrames + kRate;
    std::uint64_t differing = 0, firstDifference = 0;
    double loudness = 0;
    for (std::uint64_t done = 0; done < frames; done += kBlock) {
      std::fill(fromMap.begin(), fromMap.end(), 0.0f);
      std::fill(fromCopy.begin(), fromCopy.end(), 0.0f);
      mapped.MixInto(fromMap.data(), kBlock);
      copied.MixInto(fromCopy.data(), kBlock);
      for (std::size_t k = 0; k < fromMap.size(); ++k) {
        loudness = std::max(loudness, static_cast<double>(std::fabs(fromCopy[k])));
        if (fromMap[k] != fromCopy[k] && differing++ == 0) firstDifference = 2 * done + k;
      }
    }
    EXPECT_GT(loudness, 1000.0);
    EXPECT_EQ(differing, 0u) << "first at stereo sample " << firstDifference;
  }
}

TEST(ThemeInstruments, BankSelectsTakeEffectAtTheNextProgramAndNotOnThePercussionChannel) {
  const auto event = [](std::uint8_t status, std::uint8_t a, std::uint8_t b = 0) {
    return MidiEvent{0, status, a, b};
  };
  MidiSequence theme;
  theme.events = {
      event(0x90, 60, 100),                       // before any program: program 0
      event(0xB0, 0, 8),    event(0x90, 62, 90),  // a bank select alone changes nothing yet
      event(0xC0, 48),      event(0x90, 64, 80),  // now bank 8, program 48
      event(0x90, 65, 0),                         // velocity 0 is a release
      event(0xB9, 0, 5),    event(0xC9, 25),      // kits are always in bank 128
      event(0x99, 36, 127), event(0xC1, 33),      // selected, never sounded
  };
  InstrumentNotes uses;
  AddInstrumentsOf(theme, uses);
  const InstrumentNotes expected = {
      {{0, 0}, {{60, 100}, {62, 90}}},      {{8, 48}, {{64, 80}}}, {{0, 33}, {}},
      {{kPercussionBank, 0}, {}},  // every theme starts on kit 0
      {{kPercussionBank, 25}, {{36, 127}}},
  };
  EXPECT_EQ(uses, expected);
}

TEST(ThemeInstruments, AnInstrumentTheSoundFontLacksPlaysOnItsFallbackPinnedBeforePlay) {
  const auto soundFont = SoundFontOrSkip();
  if (soundFont.empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
  // A flute asked for in bank 5 and a kit numbered 77: the SoundFont has neither.
  MidiSequence theme;
  theme.events = {{0, 0xB0, 0, 5},    {0, 0xC0, 73, 0},     {0, 0xC9, 77, 0},    {0, 0x90, 72, 100},
                  {0, 0x99, 38, 110}, {22050, 0x80, 72, 0}, {22050, 0x89, 38, 0}};
  theme.lengthFrames = kRate;
  theme.measureStarts = {0};
  FluidMusicPlayer player(soundFont, kRate);
  const auto segment = player.Add(theme);
  ASSERT_TRUE(player.WaitUntilReady());
  const auto& pinned = player.PinnedInstruments();
  for (const Instrument fallback : {Instrument{0, 73}, Instrument{kPercussionBank, 0}}) {
    EXPECT_NE(std::find(pinned.begin(), pinned.end(), fallback), pinned.end())
        << "bank " << fallback.bank << " program " << fallback.program;
  }
  const SoundFontReads ready = SoundFontReadsSoFar();
  player.Play(segment, 0);
  EXPECT_GT(Listen(player, 0.5), 100.0);
  EXPECT_EQ(SoundFontReadsSoFar().opens, ready.opens);
}

// --- The excerpt against the whole file -----------------------------------------------------

// A synthesizer on the whole SoundFont or on an excerpt of it, with every sample in memory.
class Synth {
 public:
  explicit Synth(const std::string& fontName) {
    settings_ = new_fluid_settings();
    fluid_settings_setnum(settings_, "synth.sample-rate", kRate);
    // No echo of one case in the next; no word of the fallbacks, which are meant.
    fluid_settings_setint(settings_, "synth.reverb.active", 0);
    fluid_settings_setint(settings_, "synth.chorus.active", 0);
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    synth_ = new_fluid_synth(settings_);
    fluid_synth_add_sfloader(synth_, NewReadingSoundFontLoader(settings_));
    font_ = fluid_synth_sfload(synth_, fontName.c_str(), 1);
  }
  ~Synth() {
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
  }
  bool loaded() const { return font_ != FLUID_FAILED; }

  // Plays `notes` (key, velocity) on `channel` with `program`, all at once, for half a second,
  // releases them and listens for another half.
  std::vector<float> Play(int channel, int bank, int program,
                          const std::set<std::pair<int, int>>& notes) {
    fluid_synth_system_reset(synth_);
    fluid_synth_bank_select(synth_, channel, static_cast<unsigned>(bank));
    fluid_synth_program_change(synth_, channel, program);
    std::vector<float> heard(2 * kRate);
    for (const auto& [key, velocity] : notes) fluid_synth_noteon(synth_, channel, key, velocity);
    fluid_synth_write_float(synth_, kRate / 2, heard.data(), 0, 2, heard.data(), 1, 2);
    for (const auto& [key, velocity] : notes) fluid_synth_noteoff(synth_, channel, key);
    fluid_synth_write_float(synth_, kRate / 2, heard.data() + kRate, 0, 2, heard.data() + kRate, 1,
                            2);
    return heard;
  }

 private:
  fluid_settings_t* settings_;
  fluid_synth_t* synth_;
  int font_;
};

double Loudness(const std::vector<float>& heard) {
  double sum = 0;
  for (const float v : heard) sum += v * v;
  return std::sqrt(sum / static_cast<double>(heard.size()));
}

TEST(SoundFontExcerpt, ThePlayedNotesSoundExactlyAsFromTheWholeFileAndOtherInstrumentsAreLeftOut) {
  const auto soundFont = SoundFontOrSkip();
  if (soundFont.empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
  // Strings over several octaves, a drum kit, a program asked for in a bank the SoundFont lacks
  // (played from bank 0) and a kit it lacks (played on kit 0).
  InstrumentNotes uses;
  uses[{0, 48}] = {{40, 100}, {55, 64}, {67, 127}, {84, 30}};
  uses[{128, 0}] = {{36, 110}, {38, 90}, {42, 70}, {49, 120}};
  uses[{5, 73}] = {{72, 100}};
  uses[{128, 77}] = {{46, 100}};
  std::string error;
  auto excerpt = CutSoundFont(soundFont, uses, &error);
  ASSERT_TRUE(excerpt) << error;
  EXPECT_LT(excerpt->size(), std::filesystem::file_size(soundFont) / 20);
  const RegisteredExcerpt registered(std::move(*excerpt));

  Synth whole(soundFont.string()), cut(registered.name());
  ASSERT_TRUE(whole.loaded());
  ASSERT_TRUE(cut.loaded());
  for (const auto& [instrument, notes] : uses) {
    SCOPED_TRACE("bank " + std::to_string(instrument.bank) + " program " +
                 std::to_string(instrument.program));
    const int channel = instrument.bank == kPercussionBank ? kPercussionChannel : 0;
    const auto expected = whole.Play(channel, instrument.bank, instrument.program, notes);
    EXPECT_GT(Loudness(expected), 0.001);
    EXPECT_TRUE(cut.Play(channel, instrument.bank, instrument.program, notes) == expected);
  }
  // An instrument nobody selects is not in the excerpt.
  EXPECT_EQ(Loudness(Synth(registered.name()).Play(0, 0, 30, {{60, 100}})), 0.0);
  EXPECT_GT(Loudness(whole.Play(0, 0, 30, {{60, 100}})), 0.001);
}

// What the mapping cannot take, it refuses with the reason (and the player then lets FluidSynth
// copy the samples): sample data that is not the file's own bytes, a pitch outside the MIDI
// keys, a file gone, preset tables cut short.
TEST(MappedSoundFont, AnExcerptItCannotTakeIsRefusedWithTheReason) {
  const auto soundFont = SoundFontOrSkip();
  if (soundFont.empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
  InstrumentNotes uses;
  uses[{0, 0}] = {{60, 100}};
  const auto excerpt = CutSoundFont(soundFont, uses, nullptr);
  ASSERT_TRUE(excerpt);
  std::string error;
  _fluid_sfont_t* font = NewMappedSoundFont(*excerpt, &error);
  ASSERT_NE(font, nullptr) << error;
  const MappedSampleMemory memory = SampleMemoryOf(font);
  EXPECT_GT(memory.bytes, 0u);
  ExpectAllInMemory(memory);
  DeleteMappedSoundFont(font);

  // The first sample header in the tables after the excerpt's head: its original pitch byte.
  const auto firstSamplePitch = [](SoundFontExcerpt& e) -> std::uint8_t& {
    const std::string tail(e.tail.begin(), e.tail.end());
    return e.tail[tail.rfind("shdr") + 8 + 40];
  };
  std::vector<std::pair<std::string, SoundFontExcerpt>> spoilt;
  auto zeros = *excerpt;
  zeros.samples.front().fileOffset = SoundFontExcerpt::kZeros;
  spoilt.emplace_back("does not lie whole in the file", zeros);
  auto pitch = *excerpt;
  firstSamplePitch(pitch) = 200;
  spoilt.emplace_back("pitch is outside the MIDI keys", pitch);
  auto gone = *excerpt;
  gone.file = "/nonexistent/font.sf2";
  spoilt.emplace_back("cannot be opened", gone);
  auto cut = *excerpt;
  cut.tail.resize(cut.tail.size() / 2);
  spoilt.emplace_back("preset table", cut);
  for (const auto& [reason, e] : spoilt) {
    error.clear();
    EXPECT_EQ(NewMappedSoundFont(e, &error), nullptr) << reason;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
  }
}

TEST(SoundFontExcerpt, AFileThatIsNotAPlainSoundFontIsRefusedWithTheReason) {
  const testing::ScratchFolder scratch;
  std::string riff = "RIFF";
  riff += std::string("\x04\x00\x00\x00", 4) + "sfbk";
  const std::pair<std::string, const char*> cases[] = {
      {"MThd not a SoundFont at all", "not a SoundFont"},
      {riff, "version"},
      {riff.substr(0, 8), "cannot read"},
  };
  InstrumentNotes uses;
  uses[{0, 0}] = {{60, 100}};
  for (const auto& [content, reason] : cases) {
    std::string error;
    EXPECT_FALSE(CutSoundFont(scratch.Write("font.sf2", content), uses, &error));
    EXPECT_NE(error.find(reason), std::string::npos) << error;
  }
  std::string error;
  EXPECT_FALSE(CutSoundFont(scratch.path() / "missing.sf2", uses, &error));
  EXPECT_NE(error.find("cannot be opened"), std::string::npos) << error;
}

}  // namespace
}  // namespace zendor
