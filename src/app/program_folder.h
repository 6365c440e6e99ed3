#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace zendor {

// The files the game ships with that every program folder shares read-only: the artwork, the
// sounds, the music and the level.
inline constexpr const char* kSharedGameFiles[] = {"ART", "SND", "MUS", "zendor.map"};

// The program folder of a program that runs from `executableFolder`:
// - installed (the shipped files lie in `<executableFolder>/<kSharedDataFromBin>`): the
//   player's own writable folder, made ready by PreparePlayerFolder;
// - otherwise the executable's own folder when the game's files lie beside it (a build folder),
//   or else `fallback`.
// Ends in '/'. Empty, with the reason naming the folder in `error`, when the player's folder
// cannot be made.
std::string FindProgramFolder(const std::filesystem::path& executableFolder,
                              const std::string& fallback, std::string* error);

// Where an installed game keeps the player's files: $XDG_DATA_HOME/zendor-vostrik, or
// ~/.local/share/zendor-vostrik when XDG_DATA_HOME is unset, empty or not an absolute path.
std::filesystem::path PlayerProgramFolder();

// Makes `folder` a program folder: creates it, copies the default INI files from `shipped` when
// they are missing (never over the player's own), and links the shared game files to `shipped`
// (a link that points elsewhere, say to an older installation, is renewed; a real file or
// folder of the player's is left alone). Returns false with a reason naming the path.
bool PreparePlayerFolder(const std::filesystem::path& folder, const std::filesystem::path& shipped,
                         std::string* error);

// The folder of the running executable.
std::filesystem::path ExecutableFolder(const char* argv0);

}  // namespace zendor
