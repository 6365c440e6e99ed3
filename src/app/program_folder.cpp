#include "app/program_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "app/config_files.h"

#ifndef ZENDOR_SHARED_DATA_FROM_BIN
#define ZENDOR_SHARED_DATA_FROM_BIN "../share/zendor-vostrik"
#endif

namespace zendor {
namespace fs = std::filesystem;
namespace {

constexpr const char* kPlayerFolderName = "zendor-vostrik";

bool HoldsGameFiles(const fs::path& folder) {
  std::error_code ec;
  return fs::is_regular_file(folder / "zendor.map", ec);
}

std::string WithSlash(const fs::path& folder) {
  std::string text = folder.string();
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

fs::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return {};
}

bool LinkShared(const fs::path& link, const fs::path& target, std::string* error) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(link, ec);
  if (fs::exists(status)) {
    if (!fs::is_symlink(status)) return true;  // the player's own copy
    if (fs::read_symlink(link, ec) == target) return true;
    fs::remove(link, ec);
    if (ec) {
      *error = "the link " + link.string() + " cannot be renewed (" + ec.message() + ")";
      return false;
    }
  }
  fs::create_symlink(target, link, ec);
  if (ec) {
    *error = "the link " + link.string() + " cannot be made (" + ec.message() + ")";
    return false;
  }
  return true;
}

}  // namespace

fs::path PlayerProgramFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  fs::path base =
      dataHome && *dataHome == '/' ? fs::path(dataHome) : HomeFolder() / ".local" / "share";
  return base / kPlayerFolderName;
}

bool PreparePlayerFolder(const fs::path& folder, const fs::path& shipped, std::string* error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) {
    *error = "the program folder " + folder.string() + " cannot be made (" +
             (ec ? ec.message() : "a file is in the way") + ")";
    return false;
  }
  for (const char* name : {kMainIni, kSoundIni}) {
    const fs::path copy = folder / name;
    if (fs::exists(fs::symlink_status(copy, ec))) continue;
    fs::copy_file(shipped / name, copy, ec);
    if (!ec) {
      fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                      ec);
    }
    if (ec) {
      *error = copy.string() + " cannot be made from " + (shipped / name).string() + " (" +
               ec.message() + ")";
      return false;
    }
  }
  for (const char* name : kSharedGameFiles) {
    if (!LinkShared(folder / name, shipped / name, error)) return false;
  }
  return true;
}

std::string FindProgramFolder(const fs::path& executableFolder, const std::string& fallback,
                              std::string* error) {
  std::error_code ec;
  const fs::path shipped = fs::weakly_canonical(executableFolder / ZENDOR_SHARED_DATA_FROM_BIN, ec);
  if (!ec && HoldsGameFiles(shipped)) {
    const fs::path player = PlayerProgramFolder();
    if (!PreparePlayerFolder(player, shipped, error)) return {};
    return WithSlash(player);
  }
  if (HoldsGameFiles(executableFolder) || fallback.empty()) return WithSlash(executableFolder);
  return WithSlash(fallback);
}

fs::path ExecutableFolder(const char* argv0) {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::absolute(argv0, ec);
  return exe.parent_path();
}

}  // namespace zendor
