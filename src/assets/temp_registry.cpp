#include "assets/temp_registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace

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
  if (fd_ >= 0) ::close(fd_);
}

bool TempFileRegistry::Create(const std::string& path, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = "Cannot create the file " + path + ": " + why;
    return false;
  };
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  path_.clear();

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
  return true;
}

void TempFileRegistry::Add(const std::string& path) {
  if (fd_ < 0) return;
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
  for (const std::string& file : ReadLines(path_)) {
    if (DirectlyInsideFolder(file, folder) && !keep.count(file) && file != path_) {
      fs::remove(file, ignored);
    }
  }
  fs::remove(path_, ignored);
  if (fd_ >= 0) ::close(fd_);
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
