// What loading costs as the files grow: the level map item by item, and a theme's tempo map.
// Both must grow linearly (the Big-O line of each benchmark), so a long level or a theme with
// thousands of tempo changes loads in a blink.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/settings.h"
#include "common/sound_system.h"
#include "common/tracer.h"
#include "common/ventana.h"
#include "platform/headless/headless_platform.h"
#include "platform/midi_sequence.h"
#include "world/map_loader.h"

namespace zendor {
namespace {

// A map of `items` plain tiles (the level grows 48 pixels with each, up to its 16-bit end).
void BM_LoadMap(benchmark::State& state) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("zendor-bench-map-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  {
    std::ofstream map(folder / "zendor.map");
    for (int i = 0; i < state.range(0); ++i) map << "1,";
  }
  for (auto _ : state) {
    HeadlessPlatform platform;
    Settings settings;
    settings.ProgramFolder = folder.string() + "/";
    Tracer tracer;
    SoundSystem sound(tracer);
    Ventana v(platform, settings, sound, tracer);
    v.sheets.Fondo = Surface(240, 120);
    LoadMap(v);
    benchmark::DoNotOptimize(v.sheets.Fondo.width());
  }
  std::filesystem::remove_all(folder);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadMap)->RangeMultiplier(4)->Range(16, 640)->Complexity(benchmark::oN);

void Big(std::vector<std::uint8_t>& b, std::uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// One track of `changes` tempo changes, each followed by a note.
std::vector<std::uint8_t> TempoTheme(int changes) {
  std::vector<std::uint8_t> track;
  for (int i = 0; i < changes; ++i) {
    track.insert(track.end(), {0x10, 0xFF, 0x51, 0x03});
    Big(track, 400000 + static_cast<std::uint32_t>(i % 200000), 3);
    track.insert(track.end(), {0x00, 0x90, 0x3C, 0x40, 0x10, 0x80, 0x3C, 0x00});
  }
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
  std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  Big(file, static_cast<std::uint32_t>(track.size()), 4);
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

void BM_ParseMidiTempoChanges(benchmark::State& state) {
  const std::vector<std::uint8_t> theme = TempoTheme(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ParseMidi(theme, 44100, nullptr));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseMidiTempoChanges)
    ->RangeMultiplier(4)
    ->Range(256, 16384)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zendor
