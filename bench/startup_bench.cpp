// What start-up costs beyond the waits the game prescribes: the whole program on the headless
// back end, whose clock moves only when the program sleeps, from its first line to the menu.
// The wall time is the work alone (loading the pictures, writing the fade series, the sounds and
// the themes into the temporary folder, drawing); "prescribed_ms" beside it is the virtual time
// the same start-up spends in its prescribed sleeps and fades.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "app/program.h"
#include "common/tracer.h"
#include "platform/headless/headless_platform.h"

namespace zendor {
namespace {

// Ends the run at the first picture of the menu.
class StopAtMenu : public Tracer {
 public:
  explicit StopAtMenu(HeadlessPlatform& platform) : platform_(platform) {}
  void Screen(std::string_view state) override {
    if (state != "menu" || reached) return;
    reached = std::chrono::steady_clock::now();
    prescribedMs = platform_.now();
    platform_.StopAt(platform_.now(), "menu");
  }
  std::optional<std::chrono::steady_clock::time_point> reached;
  std::uint32_t prescribedMs = 0;

 private:
  HeadlessPlatform& platform_;
};

std::string GameFolder() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : (self.parent_path() / "game").string() + "/";
}

void BM_StartUpToMenu(benchmark::State& state) {
  const std::string folder = GameFolder();
  if (folder.empty() || !std::filesystem::exists(folder + "zendor.map")) {
    state.SkipWithError("no game folder next to the benchmark (build the game_files target)");
    return;
  }
  std::uint32_t prescribed = 0;
  for (auto _ : state) {
    HeadlessPlatform platform;
    platform.StopAt(120000, "no menu within two minutes");
    StopAtMenu tracer(platform);
    const auto start = std::chrono::steady_clock::now();
    RunProgram(platform, folder, tracer);
    if (!tracer.reached) {
      state.SkipWithError("the program did not reach the menu");
      return;
    }
    state.SetIterationTime(std::chrono::duration<double>(*tracer.reached - start).count());
    prescribed = tracer.prescribedMs;
  }
  state.counters["prescribed_ms"] = prescribed;
}
BENCHMARK(BM_StartUpToMenu)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace zendor
