#include "platform/whole_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/game_fixture.h"

namespace zendor {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

// Whatever stands where a file is expected, reading answers at once: the file, or why not.
TEST(WholeFile, OnlyARegularFileWithinItsLimitIsRead) {
  ScratchFolder dir;
  const fs::path file = dir.Write("file", "four");
  const fs::path folder = dir.path() / "folder";
  fs::create_directory(folder);
  const fs::path pipe = dir.path() / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // nobody writes: opening it must not wait
  const fs::path zero = dir.path() / "zero";
  fs::create_symlink("/dev/zero", zero);  // endless: reading it must not fill the memory
  const fs::path loop = dir.path() / "loop";
  fs::create_symlink(loop, loop);
  const fs::path link = dir.path() / "link";
  fs::create_symlink(file, link);

  const struct {
    fs::path path;
    std::size_t largest;
    const char* error;  // empty: read
  } cases[] = {
      {file, 4, ""},
      {link, 100, ""},
      {file, 3, "is larger than the 3 bytes such a file can be"},
      {folder, 100, "is a folder"},
      {pipe, 100, "is not a regular file"},
      {zero, 100, "is not a regular file"},
      {loop, 100, "cannot be read: Too many levels of symbolic links"},
      {dir.path() / "missing", 100, "cannot be read: No such file or directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.string());
    std::vector<std::uint8_t> bytes = {1, 2, 3};
    std::string error;
    const bool read = ReadWholeFile(c.path, bytes, c.largest, &error);
    EXPECT_EQ(read, *c.error == '\0');
    EXPECT_EQ(error, c.error);
    const std::vector<std::uint8_t> four = {'f', 'o', 'u', 'r'};
    EXPECT_EQ(bytes, read ? four : std::vector<std::uint8_t>());
    std::string text;
    EXPECT_EQ(ReadWholeText(c.path, text, c.largest), read);
  }
}

}  // namespace
}  // namespace zendor
