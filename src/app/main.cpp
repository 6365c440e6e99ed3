// The game: start-up, the loading screen, the menu and the games, on the SDL2 back end.
//   zendor [--record FILE] [--trace FILE]
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "app/crash_clean_up.h"
#include "app/game_options.h"
#include "app/program.h"
#include "app/program_folder.h"
#include "common/settings.h"
#include "common/tracer.h"
#include "platform/recording.h"
#include "platform/sdl/sdl_platform.h"
#include "replay/json_trace.h"

namespace {

// Starts recording the run into `path` with a fresh seed; the generator keeps that seed for the
// whole run, so the clock no longer stirs it. False (and said why) when the file cannot be made.
bool StartRecording(zendor::RecordingWriter& recorder, zendor::Platform& platform,
                    const std::string& path) {
  std::error_code ignored;
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  const std::uint32_t seed = std::random_device{}() & 0xFFFFFF;
  std::string error;
  if (!recorder.Open(path, seed, platform.HasGraphicsDevice(), &error)) {
    std::fprintf(stderr, "zendor: the game cannot be recorded: %s\n", error.c_str());
    return false;
  }
  platform.random().FixSeed(seed);
  std::fprintf(stderr, "zendor: recording this game into %s\n", path.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  zendor::InstallCrashCleanUp();
  std::string error;
  const auto options = zendor::ParseGameOptions(argc, argv, &error);
  if (!options) {
    std::fprintf(stderr, "zendor: %s\nusage: zendor [--record FILE] [--trace FILE]\n",
                 error.c_str());
    return 2;
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> traceFile(nullptr, &std::fclose);
  if (!options->trace.empty() && options->trace != "-") {
    traceFile.reset(std::fopen(options->trace.c_str(), "w"));
    if (!traceFile) {
      std::fprintf(stderr, "zendor: %s: cannot be written\n", options->trace.c_str());
      return 2;
    }
  }

  zendor::RecordingWriter recorder;  // outlives the platform, which ends the recording
  auto platform = zendor::CreateSdlPlatform(&recorder);
  if (!platform) {
    std::fprintf(stderr, "zendor: the display could not be opened\n");
    return 1;
  }
  // Beside the executable in a build folder; the player's own folder when installed.
  const std::string programFolder =
      zendor::FindProgramFolder(zendor::ExecutableFolder(argv[0]), "", &error);
  if (programFolder.empty()) {
    platform->MessageBox(error, zendor::kProductName, 16);
    return 1;
  }
  if (!options->record.empty()) {
    if (!StartRecording(recorder, *platform, options->record)) return 2;
  } else if (const std::string path =
                 zendor::ConfiguredRecordingPath(programFolder, std::time(nullptr));
             !path.empty()) {
    StartRecording(recorder, *platform, path);  // a game that cannot be recorded is still played
  }

  zendor::Tracer quiet;
  std::unique_ptr<zendor::replay::JsonTrace> trace;
  if (!options->trace.empty()) {
    zendor::Platform* clock = platform.get();
    trace = std::make_unique<zendor::replay::JsonTrace>(
        traceFile ? traceFile.get() : stdout, [clock] { return clock->GameClock(); }, false);
  }
  std::string reason;
  try {
    reason = zendor::RunProgram(*platform, programFolder, trace ? *trace : quiet);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zendor: the game stopped on an error: %s\n", e.what());
    reason = "error";
  }
  if (trace) trace->Exit(reason);
  return reason == "error" ? 1 : 0;
}
