#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zendor {

// A Windows profile (INI) file held line by line, so that changing one key keeps every other
// key, section, comment and blank line as it was. Keys are found by the same rules the game's
// reader uses (names without regard to case, blanks around them ignored, the first match wins),
// so the value written is the value the game reads.
class ProfileText {
 public:
  // Splits a file's text into lines (CR LF, LF or CR ends a line). Fails, with the number of the
  // offending line in `error`, on a NUL byte or a line that is neither blank, a comment (";"), a
  // section header ("[name]") nor a "key=value" line.
  static std::optional<ProfileText> Parse(std::string_view text, std::string* error);

  // The value the game would read, or nothing when the key is missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Gives the key a new value: the key line the game reads is changed in place; a missing key is
  // added at the end of the first matching section; a missing section is added at the end.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // The file's text with Windows line ends (CR LF) after every line.
  std::string Text() const;

 private:
  // Index of the line the game reads for the key, if any.
  std::optional<std::size_t> FindKey(std::string_view section, std::string_view key) const;

  std::vector<std::string> lines_;
};

// Reads a profile file for changing. A missing file is an empty profile; a file that cannot be
// read or is malformed gives nothing, with a reason naming the file.
std::optional<ProfileText> LoadProfile(const std::string& path, std::string* error);

// Replaces the file in one step: the new text goes to a temporary file in the same folder, which
// is flushed to the disk and renamed over the old file, so a crash leaves either the old or the
// new file, never a broken one. The old file's permissions are kept. On failure the old file is
// untouched, no temporary file stays behind, and the reason names the file.
bool SaveProfile(const std::string& path, const ProfileText& profile, std::string* error);

}  // namespace zendor
