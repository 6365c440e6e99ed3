// zendor-setup: the game's set-up program. Without arguments it opens the set-up screen; with
// --print, --set and --defaults it works without a window.
#include <SDL2/SDL.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/program_folder.h"
#include "platform/sdl/sdl_platform.h"
#include "setup/setup_command.h"
#include "setup/setup_screen.h"

using namespace zendor;

namespace {

// The sizes the first display offers (SDL's video is up once the platform has its window).
std::vector<setup::ScreenSize> DesktopSizes() {
  std::vector<setup::ScreenSize> sizes;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(0, i, &mode) == 0) sizes.push_back({mode.w, mode.h});
  }
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) sizes.push_back({desktop.w, desktop.h});
  return sizes;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto command =
      setup::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), &error);
  if (!command) {
    std::fprintf(stderr, "zendor-setup: %s\n", error.c_str());
    return 2;
  }
  if (command->help) return setup::RunCommands(*command, "", stdout, stderr);

  std::string folder = command->programFolder;
  if (folder.empty()) {
    folder = FindProgramFolder(ExecutableFolder(argv[0]), "", &error);
    if (folder.empty()) {
      std::fprintf(stderr, "zendor-setup: %s\n", error.c_str());
      return 1;
    }
  }
  if (folder.back() != '/') folder += '/';
  if (!command->interactive()) return setup::RunCommands(*command, folder, stdout, stderr);

  auto platform = CreateSdlPlatform(setup::kSetupTitle);
  if (!platform || !platform->HasGraphicsDevice()) {
    std::fprintf(stderr,
                 "zendor-setup: the display could not be opened; --print and --set work "
                 "without one (see --help)\n");
    return 1;
  }
  return setup::RunSetupScreen(*platform, folder, DesktopSizes());
}
