#include "app/shutdown.h"

#include <filesystem>
#include <optional>
#include <set>
#include <system_error>

#include "app/display.h"
#include "common/settings.h"
#include "common/temp_registry.h"
#include "platform/platform.h"

namespace zendor {
namespace {

constexpr int kFarewellPauseMs = 5000;
constexpr int kInformationBox = 64;
constexpr const char* kContactMail = "Contacto: equipo@zendor-vostrik.example";
constexpr const char* kContactWeb = "Web: https://zendor-vostrik.example";

void BlankWindow(Window& w) {
  w.setPersistentMode(true);
  w.clear();
  w.refresh();
}

// Gives the player's desktop back as it was before the game: resolution and display mode, the
// cursor, the lock keys and task switching; the game window closes.
void RestoreSystem(Ventana& v) {
  Platform& platform = v.platform;
  SetDisplayResolution(platform, v.settings, 0, 0);
  platform.SetCooperativeLevel(kCooperativeNormal);
  platform.window().close();
  ShowMouseCursor(platform);
  platform.ClipCursor(std::nullopt);
  platform.SetKeyboardState(v.settings.SavedKeyboardState);
  platform.LockTaskSwitching(false);
  platform.CloseCover();
}

}  // namespace

std::string FarewellText(const std::string& newLine) {
  return std::string("Beta ") + kVersionComment + newLine + kContactMail + newLine + kContactWeb;
}

void ShutDownGame(Ventana& v) {
  Window& w = v.platform.window();
  BlankWindow(w);
  v.settings.Registry.DeleteAll(v.settings.TempFolder);
  v.platform.Sleep(kFarewellPauseMs);
  w.clear();
  w.refresh();
  RestoreSystem(v);
  v.platform.MessageBox(FarewellText(v.settings.NewLine), kProductName, kInformationBox);
  throw ProgramExit{"shutdown"};
}

void ShutDownAtOnce(Ventana& v) {
  BlankWindow(v.platform.window());
  v.settings.Registry.DeleteAll(v.settings.TempFolder);
  RestoreSystem(v);
  throw ProgramExit{"shutdown"};
}

int RemoveFilesOfDeadRuns(const std::string& tempFolder) {
  const TempFolderLock lock(tempFolder);
  const std::vector<RegistryListing> listings = ReadRegistries(tempFolder);
  std::set<std::string> stillInUse;
  for (const RegistryListing& listing : listings) {
    if (!listing.live) continue;
    stillInUse.insert(listing.path);
    stillInUse.insert(listing.files.begin(), listing.files.end());
  }
  int removed = 0;
  std::error_code ignored;
  for (const RegistryListing& listing : listings) {
    if (listing.live) continue;
    for (const std::string& file : listing.files) {
      // A tampered list cannot reach past the game's own folder.
      if (DirectlyInsideFolder(file, tempFolder) && !stillInUse.count(file)) {
        std::filesystem::remove(file, ignored);
      }
    }
    if (std::filesystem::remove(listing.path, ignored)) ++removed;
  }
  return removed;
}

}  // namespace zendor
