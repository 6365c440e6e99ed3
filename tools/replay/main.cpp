// zendor-replay: runs the whole program on the headless back end from a script of timed keys and
// writes what happened as JSON Lines.
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/crash_clean_up.h"
#include "app/program.h"
#include "app/program_folder.h"
#include "platform/headless/headless_platform.h"
#include "platform/image_file.h"
#include "platform/recording.h"
#include "replay/json_trace.h"
#include "replay/options.h"
#include "replay/script.h"
#include "replay/snapshots.h"
#include "replay/trace_fields.h"

#ifndef ZENDOR_DEFAULT_GAME_DIR
#define ZENDOR_DEFAULT_GAME_DIR "."
#endif

using namespace zendor;
using namespace zendor::replay;

namespace {

int Usage(const std::string& error) {
  std::fprintf(stderr, "zendor-replay: %s\n", error.c_str());
  std::fprintf(stderr,
               "usage: zendor-replay [--program-folder DIR] [--seed N] [--trace FILE|-] "
               "[--trace-audio] [--trace-fields LIST [--trace-changes]] [--until MS] "
               "[--snapshot MS:FILE]... [--no-exclusive] "
               "[--realtime] SCRIPT|RECORDING\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  InstallCrashCleanUp();
  std::string error;
  std::optional<Options> parsed = ParseOptions(argc, argv, "", &error);
  if (!parsed) return Usage(error);
  if (parsed->programFolder.empty()) {
    // Installed: the player's folder, as the game uses it; else the build's program folder.
    parsed->programFolder =
        FindProgramFolder(ExecutableFolder(argv[0]), ZENDOR_DEFAULT_GAME_DIR, &error);
    if (parsed->programFolder.empty()) return Usage(error);
  }
  const Options& options = *parsed;

  std::ifstream scriptFile(options.script, std::ios::binary);
  if (!scriptFile) return Usage(options.script + ": cannot be read");
  std::stringstream scriptText;
  scriptText << scriptFile.rdbuf();
  // A recorded game carries its own seed, display modes and stopping point.
  std::optional<Recording> recording;
  std::optional<std::vector<ScriptedKey>> script;
  if (LooksLikeRecording(scriptText.str())) {
    recording = ParseRecording(scriptText.str(), &error);
    if (!recording) return Usage(options.script + ": " + error);
    if (options.seed || options.noExclusive) {
      return Usage(options.script + ": a recorded game brings its own seed and display modes");
    }
  } else {
    script = ParseScript(scriptText.str(), &error);
    if (!script) return Usage(options.script + ": " + error);
  }
  std::optional<TraceFields> fields;
  if (options.traceFields) {
    fields = TraceFields::Parse(*options.traceFields, options.traceChanges, &error);
    if (!fields) return Usage(error);
  }

  std::FILE* traceOut = nullptr;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> traceFile(nullptr, &std::fclose);
  if (options.trace == "-") {
    traceOut = stdout;
  } else if (!options.trace.empty()) {
    traceFile.reset(std::fopen(options.trace.c_str(), "w"));
    if (!traceFile) return Usage(options.trace + ": cannot be written");
    traceOut = traceFile.get();
  } else {
    traceFile.reset(std::fopen("/dev/null", "w"));
    traceOut = traceFile.get();
  }

  HeadlessPlatform platform;
  if (options.seed)
    platform.random().FixSeed(static_cast<std::uint32_t>(*options.seed % (1u << 24)));
  platform.RefuseExclusiveModes(options.noExclusive);
  if (recording) {
    const bool ended = recording->endPump.has_value();
    const std::uint32_t lastInput = recording->inputs.empty() ? 0 : recording->inputs.back().time;
    if (options.until) {
      platform.StopAt(*options.until, "until");
    } else if (!ended) {  // a run that never ended (a crash): a minute past its last key
      platform.StopAt(lastInput + 60000, "recording-end");
    }
    platform.SetRecording(std::move(*recording));
  } else {
    const std::uint32_t lastEvent = script->empty() ? 0 : script->back().time;
    if (options.until) {
      platform.StopAt(*options.until, "until");
    } else {
      platform.StopAt(lastEvent + 60000, "script-end");
    }
    platform.SetScript(std::move(*script));
  }

  JsonTrace trace(
      traceOut, [&platform] { return platform.now(); }, options.traceAudio);
  if (fields) {
    trace.SetLineFilter(
        [f = std::move(*fields)](const std::string& line) mutable { return f.Apply(line); });
  }
  platform.onMessageBox = [&trace](const ShownMessage& m) { trace.Message(m.text); };
  Snapshots snapshots(platform.window(), options.snapshots);
  platform.onClockAdvance = [&snapshots](std::uint32_t from, std::uint32_t to) {
    snapshots.TakeDue(from, to);
  };
  std::unique_ptr<RealtimeView> view;
  if (options.realtime) {
    platform.SetRealtime(true);
    view = MakeRealtimeView(platform);
    if (!view) std::fprintf(stderr, "zendor-replay: no display to watch the replay on\n");
    if (view) platform.onIdle = [&view] { view->Show(); };
  }

  std::string reason;
  try {
    reason = RunProgram(platform, options.programFolder, trace);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zendor-replay: the program stopped on an error: %s\n", e.what());
    reason = "error";
  }
  snapshots.TakeRemaining(platform.now());
  trace.Exit(reason);
  if (const std::string divergence = platform.RecordingDivergence();
      !divergence.empty() && reason != "until") {
    std::fprintf(stderr, "zendor-replay: the replay left the recorded game: %s\n",
                 divergence.c_str());
    return 1;
  }
  // A start-up that failed is a failed run, whatever the script did.
  return reason == "error" || snapshots.failed() ? 1 : 0;
}
