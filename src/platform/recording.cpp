#include "platform/recording.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <sstream>

#include "platform/decimal.h"
#include "platform/text_lines.h"

namespace zendor {
namespace {

const char* KindName(RecordedInput::Kind kind) {
  switch (kind) {
    case RecordedInput::Kind::Down:
      return "down";
    case RecordedInput::Kind::Up:
      return "up";
    case RecordedInput::Kind::Repeat:
      return "repeat";
    case RecordedInput::Kind::Close:
      return "close";
  }
  return "down";
}

}  // namespace

bool LooksLikeRecording(const std::string& text) {
  return text.rfind(kRecordingHeader, 0) == 0;
}

std::optional<Recording> ParseRecording(const std::string& text, std::string* error) {
  Recording r;
  TextLines lines(text);
  std::string line;
  auto fail = [&](const std::string& why) {
    if (error) *error = lines.Complaint(why);
    return std::nullopt;
  };
  std::uint32_t lastTime = 0;
  while (lines.Next(line)) {
    if (lines.number() == 1) {
      if (line != kRecordingHeader) return fail("not a recording (\"" + line + "\")");
      continue;
    }
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty() || w[0][0] == '#') continue;
    std::uint64_t a = 0, b = 0, c = 0;
    const std::string& what = w[0];
    if (what == "seed" && w.size() == 2 && ParseWholeNumber(w[1], 0xFFFFFF, a)) {
      r.seed = static_cast<std::uint32_t>(a);
    } else if (what == "display" && w.size() == 2 && (w[1] == "exclusive" || w[1] == "windowed")) {
      r.exclusiveModes = w[1] == "exclusive";
    } else if (what == "clock" && w.size() == 2 && ParseWholeNumber(w[1], UINT32_MAX, a)) {
      r.clockReads.push_back(static_cast<std::uint32_t>(a));
    } else if (what == "wait" && w.size() == 2 && ParseWholeNumber(w[1], UINT32_MAX, a)) {
      r.waits.push_back(static_cast<std::uint32_t>(a));
    } else if (what == "end" && w.size() == 3 && ParseWholeNumber(w[1], UINT64_MAX / 10, a) &&
               ParseWholeNumber(w[2], UINT32_MAX, b)) {
      r.endPump = a;
    } else if (what == "key" && (w.size() == 5 || (w.size() == 4 && w[3] == "close"))) {
      if (!ParseWholeNumber(w[1], UINT64_MAX / 10, a) || !ParseWholeNumber(w[2], UINT32_MAX, b)) {
        return fail("expected \"key <pump> <ms> down|up|repeat <code>\" or \"... close\"");
      }
      RecordedInput input;
      input.pump = a;
      input.time = static_cast<std::uint32_t>(b);
      if (w[3] == "down") {
        input.kind = RecordedInput::Kind::Down;
      } else if (w[3] == "up") {
        input.kind = RecordedInput::Kind::Up;
      } else if (w[3] == "repeat") {
        input.kind = RecordedInput::Kind::Repeat;
      } else if (w[3] == "close") {
        input.kind = RecordedInput::Kind::Close;
      } else {
        return fail("\"" + w[3] + "\" is not down, up, repeat or close");
      }
      if (input.kind != RecordedInput::Kind::Close) {
        if (!ParseWholeNumber(w[4], 255, c))
          return fail("\"" + w[4] + "\" is not a key code 0..255");
        input.virtualKey = static_cast<int>(c);
      }
      if (input.time < lastTime) {
        return fail("time " + w[2] + " comes before the previous key's " +
                    std::to_string(lastTime));
      }
      lastTime = input.time;
      r.inputs.push_back(input);
    } else {
      return fail("\"" + line + "\" is not a recording line");
    }
  }
  if (lines.number() == 0) return fail("empty file");
  return r;
}

RecordingWriter::~RecordingWriter() {
  if (file_) std::fclose(file_);
}

bool RecordingWriter::Open(const std::string& path, std::uint32_t seed, bool exclusiveModes,
                           std::string* error) {
  file_ = std::fopen(path.c_str(), "w");
  if (!file_) {
    if (error) *error = path + ": " + std::strerror(errno);
    return false;
  }
  Line(kRecordingHeader);
  Line("seed " + std::to_string(seed & 0xFFFFFF));
  Line(std::string("display ") + (exclusiveModes ? "exclusive" : "windowed"));
  return true;
}

void RecordingWriter::Line(const std::string& text) {
  if (!file_) return;
  std::fputs(text.c_str(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

void RecordingWriter::ClockRead(std::uint32_t value) {
  Line("clock " + std::to_string(value));
}

void RecordingWriter::WaitEnded(std::uint32_t gameTime) {
  Line("wait " + std::to_string(gameTime));
}

void RecordingWriter::Input(const RecordedInput& input) {
  std::string text = "key " + std::to_string(input.pump) + " " + std::to_string(input.time) + " " +
                     KindName(input.kind);
  if (input.kind != RecordedInput::Kind::Close) text += " " + std::to_string(input.virtualKey);
  Line(text);
}

void RecordingWriter::End(std::uint64_t pump, std::uint32_t gameTime) {
  Line("end " + std::to_string(pump) + " " + std::to_string(gameTime));
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace zendor
