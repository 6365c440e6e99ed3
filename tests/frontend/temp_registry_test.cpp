#include "assets/temp_registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "app/shutdown.h"
#include "support/game_fixture.h"

namespace zendor {
namespace {

using testing::ScratchFolder;
namespace fs = std::filesystem;

TEST(TempRegistry, DeletesWhatItListsEvenWhenAFileIsAlreadyGone) {
  ScratchFolder temp;
  TempFileRegistry registry;
  std::string error;
  ASSERT_TRUE(registry.Create(temp.folder() + "abcdefgh.tmp", &error)) << error;
  const auto first = temp.Write("pan0.tmp", "a");
  const auto gone = temp.Write("pan1.tmp", "b");
  const auto last = temp.Write("snd3.tmp", "c");
  for (const auto& file : {first, gone, last}) registry.Add(file.string());
  fs::remove(gone);

  registry.DeleteAll(temp.folder());
  EXPECT_TRUE(fs::is_empty(temp.path()));
  EXPECT_FALSE(registry.open());
}

TEST(TempRegistry, IgnoresLinesThatLeadOutOfTheTemporaryFolder) {
  ScratchFolder temp;
  ScratchFolder elsewhere;
  const auto players = elsewhere.Write("notes.txt", "mine");
  const auto nested = temp.Write("sub/deeper.tmp", "not ours to reach");
  TempFileRegistry registry;
  ASSERT_TRUE(registry.Create(temp.folder() + "abcdefgh.tmp", nullptr));
  registry.Add(players.string());
  registry.Add(temp.folder() + "../" + elsewhere.path().filename().string() + "/notes.txt");
  registry.Add(nested.string());
  registry.Add("relative.tmp");

  registry.DeleteAll(temp.folder());
  EXPECT_TRUE(fs::exists(players));
  EXPECT_TRUE(fs::exists(nested));
  EXPECT_FALSE(fs::exists(temp.path() / "abcdefgh.tmp"));
}

TEST(TempRegistry, TheListOfARunningCopyCannotBeTakenOver) {
  ScratchFolder temp;
  TempFileRegistry running;
  ASSERT_TRUE(running.Create(temp.folder() + "abcdefgh.tmp", nullptr));
  running.Add(temp.folder() + "pan0.tmp");
  TempFileRegistry second;
  std::string error;
  EXPECT_FALSE(second.Create(temp.folder() + "abcdefgh.tmp", &error));
  EXPECT_NE(error.find("abcdefgh.tmp"), std::string::npos);
  EXPECT_EQ(ReadRegistries(temp.folder()).at(0).files.size(), 1u);
}

// Files left by a run that was killed go at the next start; those of a copy that still runs,
// and anything outside the game's folder, stay.
TEST(DeadRuns, TheirFilesGoButARunningCopysFilesStay) {
  ScratchFolder temp;
  ScratchFolder elsewhere;
  const auto players = elsewhere.Write("notes.txt", "mine");
  const auto onlyDead = temp.Write("snd1.tmp", "x");
  const auto shared = temp.Write("pan0.tmp", "x");
  temp.Write("qwertyui.tmp", onlyDead.string() + "\n" + shared.string() + "\n" + players.string() +
                                 "\n" + temp.folder() + "abcdefgh.tmp\n");
  temp.Write("zebrazoo.tmp", onlyDead.string() + "\n");  // not a list's name: left alone

  TempFileRegistry running;
  ASSERT_TRUE(running.Create(temp.folder() + "abcdefgh.tmp", nullptr));
  running.Add(shared.string());

  EXPECT_EQ(RemoveFilesOfDeadRuns(temp.folder()), 1);
  EXPECT_FALSE(fs::exists(onlyDead));
  EXPECT_FALSE(fs::exists(temp.path() / "qwertyui.tmp"));
  EXPECT_TRUE(fs::exists(shared));
  EXPECT_TRUE(fs::exists(players));
  EXPECT_TRUE(fs::exists(temp.path() / "abcdefgh.tmp"));
  EXPECT_TRUE(fs::exists(temp.path() / "zebrazoo.tmp"));

  // The running copy's own shutdown then takes its files.
  running.DeleteAll(temp.folder());
  EXPECT_FALSE(fs::exists(shared));
}

TEST(DeadRuns, AFileSharedWithARunningCopyStaysAtShutdown) {
  ScratchFolder temp;
  const auto shared = temp.Write("pan0.tmp", "x");
  TempFileRegistry first, second;
  ASSERT_TRUE(first.Create(temp.folder() + "aaaaaaaa.tmp", nullptr));
  ASSERT_TRUE(second.Create(temp.folder() + "bbbbbbbb.tmp", nullptr));
  first.Add(shared.string());
  second.Add(shared.string());
  first.DeleteAll(temp.folder());
  EXPECT_TRUE(fs::exists(shared));
  second.DeleteAll(temp.folder());
  EXPECT_TRUE(fs::is_empty(temp.path()));
}

// A real second process: while it runs its list is respected; once it is killed, its files go.
TEST(DeadRuns, AKilledProcessIsToldFromARunningOne) {
  ScratchFolder temp;
  const auto file = temp.Write("mus2.tmp", "x");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TempFileRegistry registry;
    if (!registry.Create(temp.folder() + "kkkkkkkk.tmp", nullptr)) _exit(1);
    registry.Add(file.string());
    const char byte = 1;
    if (write(ready[1], &byte, 1) != 1) _exit(1);
    for (;;) pause();
  }
  close(ready[1]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  close(ready[0]);

  EXPECT_EQ(RemoveFilesOfDeadRuns(temp.folder()), 0);
  EXPECT_TRUE(fs::exists(file));

  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(RemoveFilesOfDeadRuns(temp.folder()), 1);
  EXPECT_TRUE(fs::is_empty(temp.path()));
}

}  // namespace
}  // namespace zendor
