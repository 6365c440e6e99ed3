#pragma once

#include <fstream>
#include <string>

namespace zendor {

// This run's list of temporary files: one full path per line, kept open for writing from
// start-up; the shutdown deletes every file it lists, then the list itself.
class TempFileRegistry {
 public:
  // Creates the list file; false (with the reason) when it cannot be created.
  bool Create(const std::string& path, std::string* error);
  // Appends one path and flushes it to disk at once.
  void Add(const std::string& path);
  // Deletes every listed file that lies inside `folder`, then the list itself.
  void DeleteAll(const std::string& folder);
  const std::string& path() const { return path_; }
  bool open() const { return out_.is_open(); }

 private:
  std::string path_;
  std::ofstream out_;
};

}  // namespace zendor
