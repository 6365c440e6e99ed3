#include "app/crash_clean_up.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "app/program.h"
#include "common/temp_registry.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

namespace fs = std::filesystem;
using testing::GameFixture;
using testing::ScratchFolder;

// A program that fails half-way through its loading screen still deletes its temporary files.
TEST(CrashCleanUp, AnExceptionThroughTheProgramDeletesTheTemporaryFiles) {
  HeadlessPlatform platform;
  testing::RecordingTracer tracer;
  ScratchFolder temp;
  platform.SetTempFolder(temp.folder());
  platform.onClockAdvance = [](std::uint32_t, std::uint32_t to) {
    if (to > 1000) throw std::runtime_error("out of order");
  };
  EXPECT_THROW(RunProgram(platform, GameFixture::ShippedGameFolder(), tracer), std::runtime_error);
  EXPECT_TRUE(fs::is_empty(temp.path()));
}

// A run that ends by a fatal error, in a child process: its listed files and its list are gone,
// a file it did not list and a file outside the folder stay.
TEST(CrashCleanUp, AFatalErrorDeletesWhatTheListNames) {
  const struct {
    const char* what;
    void (*fail)();
  } endings[] = {
      {"an abort", [] { std::abort(); }},
      {"an exception nobody catches",
       [] { std::thread([] { throw std::runtime_error("escaped"); }).join(); }},
      {"a fault sent as a signal", [] { ::raise(SIGSEGV); }},
      {"a bus error", [] { ::raise(SIGBUS); }},
      {"a call to exit", [] { std::exit(3); }},
  };
  for (const auto& ending : endings) {
    SCOPED_TRACE(ending.what);
    ScratchFolder temp, outside;
    const std::string listed = temp.Write("snd1.tmp", "a").string();
    const std::string unlisted = temp.Write("keep.tmp", "b").string();
    const std::string elsewhere = outside.Write("precious", "c").string();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::dup2(::open("/dev/null", O_WRONLY), 2);  // the sanitizer's report of the crash is expected
      InstallCrashCleanUp();
      TempFileRegistry registry;
      if (!registry.Create(temp.folder() + "abcdefgh.tmp", nullptr)) ::_exit(10);
      registry.Add(listed);
      registry.Add(elsewhere);
      registry.Add(temp.folder() + "../" + fs::path(elsewhere).filename().string());
      ending.fail();
      ::_exit(11);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_FALSE(WIFEXITED(status) && (WEXITSTATUS(status) == 10 || WEXITSTATUS(status) == 11));
    EXPECT_FALSE(fs::exists(listed));
    EXPECT_FALSE(fs::exists(temp.folder() + "abcdefgh.tmp"));
    EXPECT_TRUE(fs::exists(unlisted));
    EXPECT_TRUE(fs::exists(elsewhere));
  }
}

// Files that another running copy of the game lists too stay for that copy to delete.
TEST(CrashCleanUp, FilesOfAnotherRunningCopyStay) {
  ScratchFolder temp;
  const std::string shared = temp.Write("snd1.tmp", "a").string();
  TempFileRegistry other;
  ASSERT_TRUE(other.Create(temp.folder() + "bbbbbbbb.tmp", nullptr));
  other.Add(shared);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstallCrashCleanUp();
    TempFileRegistry registry;
    if (!registry.Create(temp.folder() + "abcdefgh.tmp", nullptr)) ::_exit(10);
    registry.Add(shared);
    std::abort();
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status));
  EXPECT_TRUE(fs::exists(shared));
  EXPECT_FALSE(fs::exists(temp.folder() + "abcdefgh.tmp"));
  other.DeleteAll(temp.folder());
}

}  // namespace
}  // namespace zendor
