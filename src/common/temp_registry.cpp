#include "common/temp_registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

namespace zendor {
namespace fs = std::filesystem;

namespace {

std::string WithoutTrailingSlashes(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// What the emergency clean-up needs, set aside while a list is open: nothing is allocated then.
struct EmergencyList {
  std::atomic<int> fd{-1};
  char folder[4096] = {};  // without a trailing slash
  char path[4096] = {};
};
EmergencyList gEmergency;

bool CopyInto(char (&buffer)[4096], const std::string& text) {
  if (text.size() >= sizeof buffer) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

void SetAsideForEmergency(int fd, const std::string& path) {
  gEmergency.fd.store(-1);
  const std::string folder = WithoutTrailingSlashes(fs::path(path).parent_path().string());
  if (CopyInto(gEmergency.folder, folder) && CopyInto(gEmergency.path, path)) {
    gEmergency.fd.store(fd);
  }
}

void ForgetEmergency(int fd) {
  int expected = fd;
  gEmergency.fd.compare_exchange_strong(expected, -1);
}

bool IsListName(const char* name) {
  for (int i = 0; i < 8; ++i) {
    if (name[i] < 'a' || name[i] > 'y') return false;
  }
  return std::strcmp(name + 8, ".tmp") == 0;
}

// True when another running copy of the game holds a list in the folder (raw system calls only).
bool AnotherLiveListIn(const char* folder, int ownFd) {
  struct stat own {};
  if (::fstat(ownFd, &own) != 0) return true;
  const int dir = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return true;
  alignas(8) static char entries[8192];
  static char path[4096 + 16];
  bool found = false;
  for (;;) {
    const long n = ::syscall(SYS_getdents64, dir, entries, sizeof entries);
    if (n <= 0) break;
    for (long at = 0; at < n && !found;) {
      const char* entry = entries + at;
      unsigned short length = 0;
      std::memcpy(&length, entry + 16, sizeof length);  // d_reclen after d_ino and d_off
      const char* name = entry + 19;                    // d_name after d_type
      at += length;
      if (std::strlen(name) != 12 || !IsListName(name)) continue;
      const std::size_t folderLength = std::strlen(folder);
      std::memcpy(path, folder, folderLength);
      path[folderLength] = '/';
      std::memcpy(path + folderLength + 1, name, 13);
      const int fd = ::open(path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
      if (fd < 0) continue;
      struct stat info {};
      if (::fstat(fd, &info) == 0 && !(info.st_dev == own.st_dev && info.st_ino == own.st_ino)) {
        found = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
      }
      ::close(fd);
    }
    if (found) break;
  }
  ::close(dir);
  return found;
}

// A listed line that names an entry directly inside the folder, as DirectlyInsideFolder judges
// the paths the game writes.
bool DirectlyInside(const char* line, const char* folder) {
  const std::size_t folderLength = std::strlen(folder);
  if (line[0] != '/' || std::strncmp(line, folder, folderLength) != 0) return false;
  if (line[folderLength] != '/') return false;
  const char* name = line + folderLength + 1;
  if (name[0] == '\0' || std::strchr(name, '/') != nullptr) return false;
  return std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0;
}

}  // namespace

void TempFileRegistry::DeleteAllInEmergency() {
  const int fd = gEmergency.fd.exchange(-1);
  if (fd < 0) return;
  if (!AnotherLiveListIn(gEmergency.folder, fd)) {
    static char chunk[4096];
    static char line[4096];
    std::size_t length = 0;
    bool tooLong = false;
    off_t offset = 0;
    for (;;) {
      const ssize_t n = ::pread(fd, chunk, sizeof chunk, offset);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      offset += n;
      for (ssize_t i = 0; i < n; ++i) {
        if (chunk[i] != '\n') {
          if (length + 1 < sizeof line) {
            line[length++] = chunk[i];
          } else {
            tooLong = true;
          }
          continue;
        }
        if (length > 0 && line[length - 1] == '\r') --length;
        line[length] = '\0';
        if (!tooLong && DirectlyInside(line, gEmergency.folder) &&
            std::strcmp(line, gEmergency.path) != 0) {
          ::unlink(line);
        }
        length = 0;
        tooLong = false;
      }
    }
  }
  ::unlink(gEmergency.path);
}

TempFolderLock::TempFolderLock(const std::string& folder) {
  fd_ = ::open(WithoutTrailingSlashes(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ >= 0) {
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
}

TempFolderLock::~TempFolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

TempFileRegistry::~TempFileRegistry() {
  if (fd_ >= 0) {
    ForgetEmergency(fd_);
    ::close(fd_);
  }
}

bool TempFileRegistry::Create(const std::string& path, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = "Cannot create the file " + path + ": " + why;
    return false;
  };
  if (fd_ >= 0) {
    ForgetEmergency(fd_);
    ::close(fd_);
  }
  fd_ = -1;
  path_.clear();
  added_.clear();

  const TempFolderLock folderLock(fs::path(path).parent_path().string());
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return fail(std::strerror(errno));
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return fail("another running copy of the game uses it");
  }
  if (::ftruncate(fd, 0) != 0) {
    const std::string why = std::strerror(errno);
    ::close(fd);
    return fail(why);
  }
  fd_ = fd;
  path_ = path;
  SetAsideForEmergency(fd_, path_);
  return true;
}

void TempFileRegistry::Add(const std::string& path) {
  if (fd_ < 0) return;
  added_.push_back(path);
  WriteAll(fd_, path + "\n");
}

void TempFileRegistry::DeleteAll(const std::string& folder) {
  if (path_.empty()) return;
  const TempFolderLock folderLock(folder);

  // Files that another running copy of the game also lists stay for that copy to delete.
  struct stat own {};
  const bool ownKnown = fd_ >= 0 && ::fstat(fd_, &own) == 0;
  std::set<std::string> keep;
  for (const RegistryListing& other : ReadRegistries(folder)) {
    if (!other.live) continue;
    if (ownKnown && other.device == own.st_dev && other.inode == own.st_ino) continue;
    keep.insert(other.path);
    keep.insert(other.files.begin(), other.files.end());
  }

  std::error_code ignored;
  std::vector<std::string> listed = ReadLines(path_);
  listed.insert(listed.end(), added_.begin(), added_.end());
  for (const std::string& file : listed) {
    if (DirectlyInsideFolder(file, folder) && !keep.count(file) && file != path_) {
      fs::remove(file, ignored);
    }
  }
  added_.clear();
  fs::remove(path_, ignored);
  if (fd_ >= 0) {
    ForgetEmergency(fd_);
    ::close(fd_);
  }
  fd_ = -1;
  path_.clear();
}

bool IsRegistryName(const std::string& name) {
  if (name.size() != 12 || name.compare(8, 4, ".tmp") != 0) return false;
  for (int i = 0; i < 8; ++i) {
    if (name[i] < 'a' || name[i] > 'y') return false;
  }
  return true;
}

bool DirectlyInsideFolder(const std::string& path, const std::string& folder) {
  const fs::path p(path);
  if (!p.is_absolute()) return false;
  for (const fs::path& part : p) {
    if (part == "..") return false;  // through a linked folder ".." may lead anywhere
  }
  const fs::path normal = p.lexically_normal();
  const fs::path name = normal.filename();
  if (name.empty() || name == ".") return false;
  return normal.parent_path() == fs::path(WithoutTrailingSlashes(folder)).lexically_normal();
}

std::vector<RegistryListing> ReadRegistries(const std::string& folder) {
  std::vector<RegistryListing> listings;
  const std::string base = WithoutTrailingSlashes(folder);
  DIR* dir = ::opendir(base.c_str());
  if (!dir) return listings;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!IsRegistryName(name)) continue;
    RegistryListing listing;
    listing.path = base + "/" + name;
    const int fd = ::open(listing.path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) continue;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      continue;
    }
    listing.device = info.st_dev;
    listing.inode = info.st_ino;
    listing.live = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
    listing.files = ReadLines(listing.path);
    ::close(fd);
    listings.push_back(std::move(listing));
  }
  ::closedir(dir);
  return listings;
}

}  // namespace zendor
