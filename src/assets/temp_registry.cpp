#include "assets/temp_registry.h"

#include <filesystem>
#include <system_error>

namespace zendor {
namespace fs = std::filesystem;

namespace {

// True when `path` names an entry directly or deeper inside `folder`, without climbing out.
bool InsideFolder(const fs::path& path, const fs::path& folder) {
  if (!path.is_absolute()) return false;
  const fs::path p = path.lexically_normal();
  const fs::path f = folder.lexically_normal();
  const fs::path rel = p.lexically_relative(f);
  if (rel.empty() || rel == ".") return false;
  return *rel.begin() != "..";
}

}  // namespace

bool TempFileRegistry::Create(const std::string& path, std::string* error) {
  out_.open(path, std::ios::out | std::ios::trunc);
  if (!out_) {
    if (error) *error = "Cannot create the file " + path;
    return false;
  }
  path_ = path;
  return true;
}

void TempFileRegistry::Add(const std::string& path) {
  if (!out_.is_open()) return;
  out_ << path << '\n';
  out_.flush();
}

void TempFileRegistry::DeleteAll(const std::string& folder) {
  if (path_.empty()) return;
  out_.close();
  std::ifstream in(path_);
  std::string line;
  std::error_code ignored;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (InsideFolder(line, folder)) fs::remove(line, ignored);
  }
  in.close();
  fs::remove(path_, ignored);
  path_.clear();
}

}  // namespace zendor
