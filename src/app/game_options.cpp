#include "app/game_options.h"

#include "app/config_files.h"
#include "app/profile.h"
#include "common/settings.h"
#include "platform/user_folders.h"

namespace zendor {

std::optional<GameOptions> ParseGameOptions(int argc, char** argv, std::string* error) {
  GameOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--record" || arg == "--trace") {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') {
        *error = arg + " needs a file name";
        return std::nullopt;
      }
      (arg == "--record" ? options.record : options.trace) = argv[++i];
    } else {
      *error = "unknown option " + arg;
      return std::nullopt;
    }
  }
  return options;
}

std::string ConfiguredRecordingPath(const std::string& programFolder, std::time_t started) {
  std::string folder = programFolder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  const std::string value = ReadProfileString(folder + kMainIni, "Opciones", "Grabar", "0");
  if (LeadingNumber(value) != 1) return {};
  return UserDataFolder() + "/recordings/zendor " + DateTimeForFileName(started) + ".zrec";
}

}  // namespace zendor
