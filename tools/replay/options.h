#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zendor::replay {

struct SnapshotRequest {
  std::uint32_t time;
  std::string file;
};

struct Options {
  std::string programFolder;
  std::optional<std::uint64_t> seed;
  std::string trace;  // "-" standard output, empty none
  bool traceAudio = false;
  std::optional<std::string> traceFields;  // the frame fields to keep, separated by commas
  bool traceChanges = false;               // leave out frames that changed none of them
  std::optional<std::uint32_t> until;
  std::vector<SnapshotRequest> snapshots;
  bool noExclusive = false;
  bool realtime = false;
  std::string script;
};

// nullopt and a reason for a malformed command line.
std::optional<Options> ParseOptions(int argc, char** argv, const std::string& defaultFolder,
                                    std::string* error);

}  // namespace zendor::replay
