#pragma once

#include <sstream>
#include <string>

namespace zendor {

// The lines of a text one by one, each without its line ending (LF or CR LF), counted from 1 so
// that a reader can say which line it could not take.
class TextLines {
 public:
  explicit TextLines(const std::string& text) : in_(text) {}

  // The next line into `line`; false at the end of the text.
  bool Next(std::string& line) {
    if (!std::getline(in_, line)) return false;
    ++number_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }
  // The number of the line last read; 0 before the first.
  int number() const { return number_; }
  // "line N: why", naming the line last read.
  std::string Complaint(const std::string& why) const {
    return "line " + std::to_string(number_) + ": " + why;
  }

 private:
  std::istringstream in_;
  int number_ = 0;
};

}  // namespace zendor
