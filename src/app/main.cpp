// The game: start-up, the loading screen, the menu and the games, on the SDL2 back end.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/program.h"
#include "game/tracer.h"
#include "platform/sdl/sdl_platform.h"

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
  auto platform = zendor::CreateSdlPlatform();
  if (!platform) {
    std::fprintf(stderr, "zendor: the display could not be opened\n");
    return 1;
  }
  zendor::Tracer quiet;
  const std::string reason = zendor::RunProgram(*platform, ProgramFolder(argv[0]), quiet);
  return reason == "error" ? 1 : 0;
}
