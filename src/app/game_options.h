#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace zendor {

// The game's command line: `zendor [--record FILE] [--trace FILE]`.
struct GameOptions {
  std::string record;  // write a recorded game to this file
  std::string trace;   // write the trace of the game (JSON Lines) to this file, '-' stdout
};

// nullopt and the reason for a malformed command line.
std::optional<GameOptions> ParseGameOptions(int argc, char** argv, std::string* error);

// The INI switch for players who start the game from a desktop entry: "Grabar" in section
// "Opciones" of the game's configuration file. When it is 1, every run is recorded into
// UserDataFolder()/recordings, named by the date and time the run began; that path comes back
// (the folder is not created here). Empty when the switch is off.
std::string ConfiguredRecordingPath(const std::string& programFolder, std::time_t started);

}  // namespace zendor
