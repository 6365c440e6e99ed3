#include "setup/setup_command.h"

#include <cmath>
#include <sstream>

#include "app/profile_writer.h"

namespace zendor::setup {

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string* error) {
  CommandLine command;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto next = [&](const char* what) -> std::optional<std::string> {
      if (i + 1 >= args.size()) {
        *error = arg + " needs " + what;
        return std::nullopt;
      }
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      command.help = true;
    } else if (arg == "--print") {
      command.print = true;
    } else if (arg == "--defaults") {
      command.defaults = true;
    } else if (arg == "--set" || arg.rfind("--set=", 0) == 0) {
      std::optional<std::string> text =
          arg == "--set" ? next("Section.Key=Value") : std::optional(arg.substr(6));
      if (!text) return std::nullopt;
      auto change = ParseAssignment(*text, error);
      if (!change) return std::nullopt;
      command.changes.push_back(std::move(*change));
    } else if (arg == "--program-folder") {
      auto folder = next("a folder");
      if (!folder) return std::nullopt;
      if (folder->empty()) {
        *error = "--program-folder needs a folder";
        return std::nullopt;
      }
      command.programFolder = *folder;
    } else {
      *error = "unknown argument \"" + arg + "\" (see --help)";
      return std::nullopt;
    }
  }
  // The screen size is the desktop as it is (0 x 0) or a real size: never half of each.
  std::string width, height;
  for (const Assignment& a : command.changes) {
    if (std::string_view(a.key.key) == "Ancho") width = a.value;
    if (std::string_view(a.key.key) == "Alto") height = a.value;
  }
  if (!width.empty() && !height.empty() && ((width == "0") != (height == "0"))) {
    *error = "Pantalla.Ancho and Pantalla.Alto are both 0 (the desktop as it is) or both a size";
    return std::nullopt;
  }
  return command;
}

std::string HelpText() {
  return "usage: zendor-setup [--program-folder DIR] [--print] [--defaults] "
         "[--set Section.Key=Value]...\n"
         "Sets up Zendor Vostrik XXI. Without arguments it opens the set-up screen\n"
         "(arrows choose, Enter saves, Escape leaves without saving).\n"
         "\n"
         "  --print                 the settings as the game will read them, with where\n"
         "                          each comes from, and what the game makes of them\n"
         "  --set Section.Key=Value change one setting (may be given several times):\n"
         "      Pantalla.DDraw=0|1             a window, or the 320 x 200 full-screen canvas\n"
         "      Pantalla.PantallaCompleta=0|1  fit the window to the screen size below\n"
         "      Pantalla.Ancho=N Pantalla.Alto=N  screen size (0 and 0: the desktop as it is)\n"
         "      Opciones.Dificultad=0..5       how many enemies and how often they come\n"
         "      Sonido.SND=0|1 Sonido.MUS=0|1  sound effects, music\n"
         "  --defaults              write the shipped settings\n"
         "  --program-folder DIR    the folder holding the INI files (default: the game's)\n"
         "  --help                  this text\n"
         "\n"
         "Keys and comments the set-up does not manage are kept. Exit status: 0 done,\n"
         "1 a file could not be read or written, 2 a bad argument or value.\n";
}

std::string PrintReport(const std::string& folder) {
  std::ostringstream out;
  for (const EffectiveValue& v : ReadEffectiveValues(folder)) {
    out << v.key.section << "." << v.key.key << "=" << v.value << "\t" << v.source << "\n";
  }
  const GameView view = ViewOf(folder);
  out << "\n";
  if (view.mainFileMissing) out << "The game will ask for the set-up: no " << kMainIni << "\n";
  for (const char* name : {kMainIni, kSoundIni}) {
    std::string error;
    if (!LoadProfile(folder + name, &error)) out << "The set-up cannot change " << error << "\n";
  }
  if (view.fullScreen) {
    out << "Display: the 320 x 200 full-screen canvas (a window when the screen refuses it)\n";
  } else if (view.width == 0 && view.height == 0) {
    out << "Display: a window at zoom " << view.zoom << " on the desktop as it is\n";
  } else {
    out << "Display: a window at zoom " << view.zoom << " on a " << view.width << " x "
        << view.height << " screen, fit to screen " << (view.fitToScreen ? "on" : "off") << "\n";
  }
  out << "Enemies: up to " << view.enemies << " at once, new ones come " << HowOften(view.rarity)
      << " (MaxEnemies " << view.enemies - 1 << ", SpawnRarityScale " << view.rarity << ")\n";
  out << "Sound effects " << (view.sound ? "on" : "off") << ", music "
      << (view.music ? "on" : "off") << "\n";
  return out.str();
}

int RunCommands(const CommandLine& command, const std::string& folder, std::FILE* out,
                std::FILE* err) {
  if (command.help) {
    std::fputs(HelpText().c_str(), out);
    return 0;
  }
  std::vector<Assignment> changes;
  if (command.defaults) changes = DefaultAssignments();
  changes.insert(changes.end(), command.changes.begin(), command.changes.end());
  if (!changes.empty()) {
    std::string error;
    if (!WriteAssignments(folder, changes, &error)) {
      std::fprintf(err, "zendor-setup: %s\n", error.c_str());
      return 1;
    }
  }
  if (command.print) std::fputs(PrintReport(folder).c_str(), out);
  return 0;
}

}  // namespace zendor::setup
