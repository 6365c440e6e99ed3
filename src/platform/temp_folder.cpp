#include "platform/temp_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace zendor {

bool PreparePrivateFolder(const std::string& folder, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = "The temporary folder " + folder + " " + why;
    return false;
  };
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    return fail(std::string("cannot be created: ") + std::strerror(errno));
  }
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0)
    return fail(std::string("cannot be read: ") + std::strerror(errno));
  if (!S_ISDIR(info.st_mode)) return fail("is not a folder");
  if (info.st_uid != geteuid()) return fail("belongs to another user");
  if ((info.st_mode & 0077) != 0 && chmod(folder.c_str(), 0700) != 0) {
    return fail("cannot be made private");
  }
  if (access(folder.c_str(), W_OK | X_OK) != 0) return fail("is not writable");
  return true;
}

std::string AbsoluteFolder(const std::string& folder, std::string* error) {
  if (!folder.empty() && folder.front() == '/') return folder;
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
  if (ec || folder.empty()) {
    if (error) *error = "The temporary folder " + folder + " cannot be found: " + ec.message();
    return {};
  }
  return absolute.string();
}

std::string PrivateTempFolder(std::string* error) {
  std::string base = "/tmp";
  if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir && *tmpdir) base = tmpdir;
  // A relative folder is fixed once, here: every path of the run then names the same place, and
  // the clean-up, which deletes only inside an absolute folder, finds its files.
  base = AbsoluteFolder(base, error);
  if (base.empty()) return {};
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  const std::string folder = base + "/zendor-" + std::to_string(geteuid());
  if (!PreparePrivateFolder(folder, error)) return {};
  return folder + "/";
}

}  // namespace zendor
