#include "common/temp_registry.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/shutdown.h"
#include "support/game_fixture.h"

// That a real game killed outright has its files removed by the next start is proved by the
// system test frontend_signals_test.sh.
namespace zendor {
namespace {

using testing::ScratchFolder;
namespace fs = std::filesystem;

// Only what lies directly inside the temporary folder goes: not the player's files elsewhere,
// not a way out through "..", not a sub-folder, not a relative name.
TEST(TempRegistry, DeletesWhatItListsInsideTheFolderEvenWhenAFileIsAlreadyGone) {
  ScratchFolder temp;
  ScratchFolder elsewhere;
  const auto players = elsewhere.Write("notes.txt", "mine");
  const auto nested = temp.Write("sub/deeper.tmp", "not ours to reach");
  TempFileRegistry registry;
  std::string error;
  ASSERT_TRUE(registry.Create(temp.folder() + "abcdefgh.tmp", &error)) << error;
  const auto gone = temp.Write("pan1.tmp", "b");
  for (const auto& file : {temp.Write("pan0.tmp", "a"), gone, temp.Write("snd3.tmp", "c")}) {
    registry.Add(file.string());
  }
  fs::remove(gone);
  registry.Add(players.string());
  registry.Add(temp.folder() + "../" + elsewhere.path().filename().string() + "/notes.txt");
  registry.Add(nested.string());
  registry.Add("relative.tmp");

  registry.DeleteAll(temp.folder());
  EXPECT_FALSE(registry.open());
  EXPECT_TRUE(fs::exists(players));
  EXPECT_TRUE(fs::exists(nested));
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);
}

// A list that stops taking lines (the disk is full) or whose lines cannot be read back as one
// path each (a line break in the folder's name) still lets its own run delete all its files.
TEST(TempRegistry, ItsRunDeletesAllItsFilesWhenTheListCannotHoldThem) {
  ScratchFolder scratch;
  const std::string temp = scratch.folder() + "line\nbreak/";
  fs::create_directory(temp);
  TempFileRegistry registry;
  ASSERT_TRUE(registry.Create(temp + "abcdefgh.tmp", nullptr));
  std::vector<std::string> files;
  for (const char* name : {"pan0.tmp", "snd0.tmp", "mus5.tmp"}) {
    files.push_back(temp + name);
    std::ofstream(files.back()) << "x";
  }
  registry.Add(files[0]);
  {
    // The list may grow by no byte more: every further line is refused.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit full = saved;
    full.rlim_cur = static_cast<rlim_t>(fs::file_size(temp + "abcdefgh.tmp"));
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    registry.Add(files[1]);
    registry.Add(files[2]);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
  }
  registry.DeleteAll(temp);
  EXPECT_TRUE(fs::is_empty(temp));
}

// Files left by a run that was killed go at the next start; those still listed by a copy that
// runs, and anything outside the game's folder, stay until no running copy lists them. A running
// copy's list cannot be taken over.
TEST(DeadRuns, TheirFilesGoButTheListsAndFilesOfRunningCopiesStay) {
  ScratchFolder temp;
  ScratchFolder elsewhere;
  const auto players = elsewhere.Write("notes.txt", "mine");
  const auto onlyDead = temp.Write("snd1.tmp", "x");
  const auto shared = temp.Write("pan0.tmp", "x");
  temp.Write("qwertyui.tmp", onlyDead.string() + "\n" + shared.string() + "\n" + players.string() +
                                 "\n" + temp.folder() + "abcdefgh.tmp\n");
  temp.Write("zebrazoo.tmp", onlyDead.string() + "\n");  // not a list's name: left alone

  TempFileRegistry running, other;
  ASSERT_TRUE(running.Create(temp.folder() + "abcdefgh.tmp", nullptr));
  ASSERT_TRUE(other.Create(temp.folder() + "bbbbbbbb.tmp", nullptr));
  running.Add(shared.string());
  other.Add(shared.string());
  TempFileRegistry thief;
  std::string error;
  EXPECT_FALSE(thief.Create(temp.folder() + "bbbbbbbb.tmp", &error));
  EXPECT_NE(error.find("bbbbbbbb.tmp"), std::string::npos);

  EXPECT_EQ(RemoveFilesOfDeadRuns(temp.folder()), 1);
  EXPECT_FALSE(fs::exists(onlyDead));
  EXPECT_FALSE(fs::exists(temp.path() / "qwertyui.tmp"));
  EXPECT_TRUE(fs::exists(shared));
  EXPECT_TRUE(fs::exists(players));
  EXPECT_TRUE(fs::exists(temp.path() / "abcdefgh.tmp"));
  EXPECT_TRUE(fs::exists(temp.path() / "zebrazoo.tmp"));

  // The running copies' own shutdowns: the shared file goes with the last of them (so the
  // attempt to take over the other's list left it whole).
  running.DeleteAll(temp.folder());
  EXPECT_TRUE(fs::exists(shared));
  other.DeleteAll(temp.folder());
  EXPECT_FALSE(fs::exists(shared));
}

}  // namespace
}  // namespace zendor
