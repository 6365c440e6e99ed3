// The game: start-up, the loading screen, the menu and the games, on the SDL2 back end.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/program.h"
#include "app/program_folder.h"
#include "app/settings.h"
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

int main(int, char** argv) {
  auto platform = zendor::CreateSdlPlatform();
  if (!platform) {
    std::fprintf(stderr, "zendor: the display could not be opened\n");
    return 1;
  }
  // Beside the executable in a build folder; the player's own folder when installed.
  std::string error;
  const std::string folder =
      zendor::FindProgramFolder(zendor::ExecutableFolder(argv[0]), "", &error);
  if (folder.empty()) {
    platform->MessageBox(error, zendor::kProductName, 16);
    return 1;
  }
  zendor::Tracer quiet;
  const std::string reason = zendor::RunProgram(*platform, folder, quiet);
  return reason == "error" ? 1 : 0;
}
