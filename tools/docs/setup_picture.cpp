// zendor-docs-setup: draws the set-up screen as a player sees it, with the difficulty row
// chosen, from a program folder's artwork and settings, and writes it as a picture.
//
//   zendor-docs-setup GAME_DIR OUT.png
#include <cstdio>
#include <string>

#include "platform/headless/headless_platform.h"
#include "platform/image_file.h"
#include "platform/virtual_keys.h"
#include "setup/setup_screen.h"

using namespace zendor;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zendor-docs-setup GAME_DIR OUT.png\n");
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '/') folder += '/';
  HeadlessPlatform platform;
  std::vector<ScriptedKey> keys;
  std::uint32_t t = 10;
  for (int key : {vk::kDown, vk::kDown, vk::kDown, vk::kRight, vk::kRight, vk::kRight}) {
    keys.push_back({t, ScriptedKey::Kind::Down, key});
    t += 10;
  }
  platform.SetScript(keys);
  platform.StopAt(t + 100, "picture");
  try {
    setup::RunSetupScreen(platform, folder, {{1280, 720}, {1920, 1080}});
  } catch (const ProgramExit&) {
  }
  std::string error;
  if (!WriteImageFile(argv[2], platform.window().screen(), &error)) {
    std::fprintf(stderr, "zendor-docs-setup: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
