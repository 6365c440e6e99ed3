#pragma once

#include <sys/types.h>
#include <string>
#include <vector>

namespace zendor {

// This run's list of temporary files: one full path per line, kept open for writing from
// start-up; the shutdown deletes every file it lists, then the list itself.
//
// While the run lives it holds an exclusive lock on its list, so a later start can tell the
// lists of runs that were killed (nobody holds their lock) from those of copies of the game that
// are still running. Lists are named by eight letters from "a" to "y" and ".tmp".
class TempFileRegistry {
 public:
  TempFileRegistry() = default;
  ~TempFileRegistry();
  TempFileRegistry(const TempFileRegistry&) = delete;
  TempFileRegistry& operator=(const TempFileRegistry&) = delete;

  // Creates the list file and takes its lock; false (with the reason) when it cannot be created
  // or another running copy of the game holds a list of that name.
  bool Create(const std::string& path, std::string* error);
  // Appends one path; it reaches the file at once. The run also keeps it in memory, so that its
  // own clean-up finds it even when the list could not take the line (a full disk) or the line
  // cannot be read back as one path (a folder name with a line break).
  void Add(const std::string& path);
  // Deletes every listed file that lies directly inside `folder` and that no other running copy
  // of the game still lists, then the list itself. A file that is already gone is skipped.
  void DeleteAll(const std::string& folder);
  const std::string& path() const { return path_; }
  bool open() const { return fd_ >= 0; }

  // For a run that is ending abnormally (a fatal signal, an escaped exception): deletes what the
  // open list names directly inside its folder, then the list. Safe inside a signal handler: it
  // only makes system calls on buffers set aside when the list was created. The files are left
  // to their other owner when another running copy of the game holds a list in the folder.
  static void DeleteAllInEmergency();

 private:
  std::string path_;
  int fd_ = -1;
  std::vector<std::string> added_;
};

// Holds an exclusive lock on the temporary folder itself while lists are created, read or
// deleted there, so that starting and ending runs never see each other half-way.
class TempFolderLock {
 public:
  explicit TempFolderLock(const std::string& folder);
  ~TempFolderLock();
  TempFolderLock(const TempFolderLock&) = delete;
  TempFolderLock& operator=(const TempFolderLock&) = delete;

 private:
  int fd_ = -1;
};

// One list found in the temporary folder.
struct RegistryListing {
  std::string path;
  bool live = false;  // its run still holds the lock
  std::vector<std::string> files;
  dev_t device = 0;
  ino_t inode = 0;
};

// True for the name of a list file: eight letters "a".."y" and ".tmp".
bool IsRegistryName(const std::string& name);
// True when `path` names an entry directly inside `folder` (no sub-folders, no climbing out).
bool DirectlyInsideFolder(const std::string& path, const std::string& folder);
// Every list in `folder` with the files it names. Call it under a TempFolderLock.
std::vector<RegistryListing> ReadRegistries(const std::string& folder);

}  // namespace zendor
