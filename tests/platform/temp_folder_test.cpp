#include "platform/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "app/program.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

using testing::ScratchFolder;

mode_t ModeOf(const std::filesystem::path& p) {
  struct stat info {};
  lstat(p.c_str(), &info);
  return info.st_mode & 0777;
}

TEST(PrivateFolder, LivesUnderTheSystemTemporaryFolderAndIsTightenedToTheOwnerAlone) {
  ScratchFolder dir;
  setenv("TMPDIR", dir.path().c_str(), 1);
  std::string error;
  const std::string folder = PrivateTempFolder(&error);
  unsetenv("TMPDIR");
  EXPECT_EQ(folder, dir.folder() + "zendor-" + std::to_string(geteuid()) + "/") << error;
  EXPECT_EQ(ModeOf(folder), 0700u);
  const auto open = dir.path() / "open";
  std::filesystem::create_directory(open);
  chmod(open.c_str(), 0777);
  ASSERT_TRUE(PreparePrivateFolder(open.string(), &error)) << error;
  EXPECT_EQ(ModeOf(open), 0700u);
}

TEST(PrivateFolder, APlantedLinkOrAnotherUsersFolderIsRefused) {
  ScratchFolder dir;
  std::string error;
  const auto link = dir.path() / "link";
  std::filesystem::create_directory_symlink(dir.path(), link);
  EXPECT_FALSE(PreparePrivateFolder(link.string(), &error));  // a planted link is not followed
  if (geteuid() == 0) {
    const auto foreign = dir.path() / "foreign";
    std::filesystem::create_directory(foreign);
    ASSERT_EQ(chown(foreign.c_str(), 65534, 65534), 0);
    EXPECT_FALSE(PreparePrivateFolder(foreign.string(), &error));
    EXPECT_NE(error.find("another user"), std::string::npos) << error;
  }
}

// A relative TMPDIR is the folder it names from where the game was started: the files go there
// and the clean-up finds them again.
TEST(PrivateFolder, ARelativeSystemFolderIsCleanedUpLikeAnyOther) {
  ScratchFolder dir;
  const std::filesystem::path started = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  std::filesystem::create_directory("relative");
  setenv("TMPDIR", "relative", 1);
  HeadlessPlatform platform;
  testing::RecordingTracer tracer;
  platform.StopAt(20000, "until");
  const std::string reason =
      RunProgram(platform, testing::GameFixture::ShippedGameFolder(), tracer);
  unsetenv("TMPDIR");
  std::filesystem::current_path(started);
  EXPECT_EQ(reason, "until");
  const auto folder = dir.path() / "relative" / ("zendor-" + std::to_string(geteuid()));
  ASSERT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

}  // namespace
}  // namespace zendor
