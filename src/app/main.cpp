// The game: start-up, the loading screen, the menu and the games, on the SDL2 back end.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "app/crash_clean_up.h"
#include "app/program.h"
#include "game/tracer.h"
#if __has_include("platform/sdl/sdl_platform.h")
#include "platform/sdl/sdl_platform.h"
#else
#include <memory>
#include "platform/platform.h"
namespace zendor {
inline std::unique_ptr<Platform> CreateSdlPlatform() {
  return nullptr;
}  // back end not built yet
}  // namespace zendor
#endif

namespace {

// The folder of the game's own executable, where its files live.
std::string ProgramFolder(const char* argv0) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  return exe.parent_path().string() + "/";
}

}  // namespace

int main(int, char** argv) {
  zendor::InstallCrashCleanUp();
  auto platform = zendor::CreateSdlPlatform();
  if (!platform) {
    std::fprintf(stderr, "zendor: the display could not be opened\n");
    return 1;
  }
  zendor::Tracer quiet;
  try {
    const std::string reason = zendor::RunProgram(*platform, ProgramFolder(argv[0]), quiet);
    return reason == "error" ? 1 : 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zendor: the game stopped on an error: %s\n", e.what());
    return 1;
  }
}
