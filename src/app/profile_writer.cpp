#include "app/profile_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/profile.h"

namespace zendor {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

enum class LineKind { Blank, Comment, Section, Key, Other };

struct Line {
  LineKind kind;
  std::string_view name;  // section or key name, trimmed
};

Line Classify(std::string_view raw) {
  const std::string_view line = Trim(raw);
  if (line.empty()) return {LineKind::Blank, {}};
  if (line[0] == ';') return {LineKind::Comment, {}};
  if (line[0] == '[') {
    const auto close = line.find(']');
    if (close == std::string_view::npos) return {LineKind::Other, {}};
    return {LineKind::Section, Trim(line.substr(1, close - 1))};
  }
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return {LineKind::Other, {}};
  return {LineKind::Key, Trim(line.substr(0, eq))};
}

std::string SystemReason() {
  return std::strerror(errno);
}

}  // namespace

std::optional<ProfileText> ProfileText::Parse(std::string_view text, std::string* error) {
  ProfileText profile;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(at, end - at);
    const std::size_t number = profile.lines_.size() + 1;
    if (line.find('\0') != std::string_view::npos) {
      *error = "line " + std::to_string(number) + " holds a NUL character";
      return std::nullopt;
    }
    if (Classify(line).kind == LineKind::Other) {
      *error = "line " + std::to_string(number) + " (\"" + std::string(Trim(line)) +
               "\") is neither a [section], a key=value line nor a ; comment";
      return std::nullopt;
    }
    profile.lines_.emplace_back(line);
    at = end + 1;
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++at;
  }
  return profile;
}

std::optional<std::size_t> ProfileText::FindKey(std::string_view section,
                                                std::string_view key) const {
  bool inSection = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line line = Classify(lines_[i]);
    if (line.kind == LineKind::Section) inSection = SameProfileName(line.name, section);
    if (inSection && line.kind == LineKind::Key && SameProfileName(line.name, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> ProfileText::Get(std::string_view section, std::string_view key) const {
  const auto at = FindKey(section, key);
  if (!at) return std::nullopt;
  const std::string& line = lines_[*at];
  return std::string(Trim(std::string_view(line).substr(line.find('=') + 1)));
}

void ProfileText::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (const auto at = FindKey(section, key)) {
    std::string& line = lines_[*at];
    line = line.substr(0, line.find('=') + 1) + std::string(value);
    return;
  }
  const std::string keyLine = std::string(key) + "=" + std::string(value);
  // The end of the first matching section: after its last line that is not blank.
  std::optional<std::size_t> insertAt;
  bool inSection = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line line = Classify(lines_[i]);
    if (line.kind == LineKind::Section) {
      if (inSection) break;
      inSection = SameProfileName(line.name, section);
    }
    if (inSection && line.kind != LineKind::Blank) insertAt = i + 1;
  }
  if (insertAt) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insertAt), keyLine);
    return;
  }
  if (!lines_.empty() && Classify(lines_.back()).kind != LineKind::Blank) lines_.emplace_back();
  lines_.push_back("[" + std::string(section) + "]");
  lines_.push_back(keyLine);
}

std::string ProfileText::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\r\n";
  return text;
}

std::optional<ProfileText> LoadProfile(const std::string& path, std::string* error) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return ProfileText::Parse("", error);
  std::ifstream in(path, std::ios::binary);
  if (!in || std::filesystem::is_directory(path, ec)) {
    *error = path + ": cannot be read (" + (ec ? ec.message() : SystemReason()) + ")";
    return std::nullopt;
  }
  std::string text;
  try {
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::exception& e) {
    in.setstate(std::ios::badbit);
  }
  if (in.bad()) {
    *error = path + ": cannot be read (" + SystemReason() + ")";
    return std::nullopt;
  }
  std::string reason;
  auto profile = ProfileText::Parse(text, &reason);
  if (!profile) *error = path + ": " + reason + "; the file was left as it is";
  return profile;
}

bool SaveProfile(const std::string& path, const ProfileText& profile, std::string* error) {
  const std::filesystem::path target(path);
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    *error = path + ": cannot be written (" + SystemReason() + " in " + folder.string() + ")";
    return false;
  }
  auto fail = [&](const std::string& what) {
    *error = path + ": " + what;
    ::close(fd);
    ::unlink(temp.c_str());
    return false;
  };
  struct stat old {};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  if (::fchmod(fd, mode) != 0) return fail("cannot be written (" + SystemReason() + ")");
  const std::string text = profile.Text();
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail("cannot be written (" + SystemReason() + ")");
    written += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) return fail("cannot be written (" + SystemReason() + ")");
  if (::close(fd) != 0) {
    *error = path + ": cannot be written (" + SystemReason() + ")";
    ::unlink(temp.c_str());
    return false;
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    *error = path + ": cannot be replaced (" + SystemReason() + ")";
    ::unlink(temp.c_str());
    return false;
  }
  // The rename itself reaches the disk when the folder is flushed.
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace zendor
