#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace zendor {

// A recorded game: everything the window system gave the program that a replay cannot work out
// for itself. Keys are tied to the message pump that delivered them (the n-th call of the pump
// since the program started), so a replay delivers each one at the very same point of the game.
// Times are the game clock: the milliseconds the program slept plus the time it waited for input.
struct RecordedInput {
  enum class Kind { Down, Up, Repeat, Close };
  std::uint64_t pump = 0;
  std::uint32_t time = 0;
  Kind kind = Kind::Down;
  int virtualKey = 0;  // 0 for Close
};

struct Recording {
  std::uint32_t seed = 0;                 // the random generator's fixed seed (24 bits)
  bool exclusiveModes = true;             // the display offered the 320 x 200 modes
  std::vector<std::uint32_t> clockReads;  // every millisecond-clock reading, in order
  std::vector<std::uint32_t> waits;       // the game clock when each wait for input ended
  std::vector<RecordedInput> inputs;      // in delivery order
  std::optional<std::uint64_t> endPump;   // the last pump, when the run ended normally
};

// The first line of every recording file.
inline constexpr const char* kRecordingHeader = "zendor-recording 1";

// Whether a file's text is a recording rather than a replay script.
bool LooksLikeRecording(const std::string& text);

// Reads a recording; nullopt and "line N: reason" for a malformed one.
std::optional<Recording> ParseRecording(const std::string& text, std::string* error);

// Writes a recording line by line as the game runs, flushing each line so that a crash keeps
// everything up to it.
class RecordingWriter {
 public:
  RecordingWriter() = default;
  ~RecordingWriter();
  RecordingWriter(const RecordingWriter&) = delete;
  RecordingWriter& operator=(const RecordingWriter&) = delete;

  // Creates the file and writes the header; false (and why in `error`) when it cannot.
  bool Open(const std::string& path, std::uint32_t seed, bool exclusiveModes, std::string* error);
  bool open() const { return file_ != nullptr; }

  void ClockRead(std::uint32_t value);
  void WaitEnded(std::uint32_t gameTime);
  void Input(const RecordedInput& input);
  // The run ended at this pump; closes the file.
  void End(std::uint64_t pump, std::uint32_t gameTime);

 private:
  void Line(const std::string& text);
  std::FILE* file_ = nullptr;
};

}  // namespace zendor
