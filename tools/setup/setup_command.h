#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "setup/setup_values.h"

namespace zendor::setup {

// What zendor-setup was asked to do.
struct CommandLine {
  std::string programFolder;  // --program-folder; empty: the one the game uses
  bool help = false;
  bool print = false;
  bool defaults = false;
  std::vector<Assignment> changes;  // --set, in order
  // No action asked for: the set-up screen opens.
  bool interactive() const { return !help && !print && !defaults && changes.empty(); }
};

// Parses the arguments after the program name; a bad one gives a one-line reason.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string* error);

// The text of --help.
std::string HelpText();

// Runs the actions without a window: --defaults, then every --set, then --print, on the
// program folder `folder` (ending in '/'). Returns the exit status: 0 done, 1 a file could not
// be read or written (the message names it, and nothing was changed).
int RunCommands(const CommandLine& command, const std::string& folder, std::FILE* out,
                std::FILE* err);

// The --print report: each managed key with its value and where it comes from, then what the
// game makes of them.
std::string PrintReport(const std::string& folder);

}  // namespace zendor::setup
