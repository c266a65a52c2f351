#include "platform/safe_save.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/fake_files.h"
#include "support/temp_folder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// A game that starts a save of target in a process of its own and stops there: killed
// (gone at once) or still running until the returned pipe is closed.
struct HalfSave {
  pid_t pid = -1;
  int hold = -1;  // closing it lets a running game end
  std::string temporary;
};

HalfSave startSave(const std::string& target, bool killed) {
  int path[2];
  int hold[2];
  if (pipe(path) != 0 || pipe(hold) != 0) std::abort();
  HalfSave save;
  save.pid = fork();
  if (save.pid == 0) {
    close(path[0]);
    close(hold[1]);
    std::string temporary;
    const int handle = systemFiles().createTemporary(target, temporary);
    if (handle < 0 || !systemFiles().write(handle, "half", 4)) _exit(2);
    if (write(path[1], temporary.data(), temporary.size()) < 0) _exit(2);
    close(path[1]);
    char byte = 0;
    if (!killed && read(hold[0], &byte, 1) < 0) _exit(2);
    _exit(0);
  }
  close(path[1]);
  close(hold[0]);
  char name[4096];
  const ssize_t count = read(path[0], name, sizeof name);
  close(path[0]);
  if (count > 0) save.temporary.assign(name, static_cast<size_t>(count));
  save.hold = hold[1];
  if (killed) {
    waitpid(save.pid, nullptr, 0);
    close(save.hold);
  }
  return save;
}

TEST(SafeSave, LeftoversOfKilledSavesGoAtTheNextSaveAndLiveSavesKeepTheirs) {
  TempFolder temp;
  const std::string target = (temp.path() / "rec.rmw").string();
  const HalfSave killed = startSave(target, true);
  const HalfSave running = startSave(target, false);
  ASSERT_FALSE(killed.temporary.empty());
  ASSERT_FALSE(running.temporary.empty());
  // A killed game's file that someone still holds open, this game's own, the lock file
  // that games take turns by, and a file that only looks like a temporary one.
  const std::string held = target + ".tmp." + std::to_string(killed.pid) + ".77";
  std::ofstream(held) << "held";
  const int holder = open(held.c_str(), O_RDONLY);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  const std::string own = target + ".tmp." + std::to_string(getpid()) + ".999";
  const std::vector<std::string> kept = {
      running.temporary, held, own, target + ".lock", target + ".tmp.notes", target + ".tmp.1x.2"};
  for (size_t i = 2; i < kept.size(); ++i) std::ofstream(kept[i]) << "keep";

  saveFile(systemFiles(), target, "new", 3);
  std::string bytes;
  EXPECT_EQ(readWholeFile(target, bytes), 0);
  EXPECT_EQ(bytes, "new");
  EXPECT_FALSE(fs::exists(killed.temporary));
  for (const std::string& path : kept) EXPECT_TRUE(fs::exists(path)) << path;

  // Once the other game has ended and nobody holds the files, they go too.
  close(running.hold);
  waitpid(running.pid, nullptr, 0);
  close(holder);
  FakeFiles files;
  files.failWritesAfter(1);  // a save that fails still clears what others left
  EXPECT_THROW(saveFile(files, target, "newer", 5), SaveError);
  EXPECT_FALSE(fs::exists(running.temporary));
  EXPECT_FALSE(fs::exists(held));
  EXPECT_FALSE(fs::exists(files.lastTemporary()));
  EXPECT_TRUE(fs::exists(own));
  EXPECT_EQ(readWholeFile(target, bytes), 0);
  EXPECT_EQ(bytes, "new");
}

TEST(SafeSave, EachFailureNamesTheSystemsReason) {
  TempFolder temp;
  const std::string target = (temp.path() / "settings.ini").string();
  FakeFiles files;
  files.failWritesAfter(2);
  try {
    saveFile(files, target, "abc", 3);
    FAIL() << "no error";
  } catch (const SaveError& e) {
    EXPECT_TRUE(e.created);
    EXPECT_EQ(e.error, ENOSPC);
    EXPECT_STREQ(e.what(), "No space left on device");
  }
  try {
    saveFile(files, (temp.path() / "no" / "x").string(), "abc", 3);
    FAIL() << "no error";
  } catch (const SaveError& e) {
    EXPECT_FALSE(e.created);
    EXPECT_STREQ(e.what(), "No such file or directory");
  }
  std::string bytes;
  EXPECT_EQ(readWholeFile(target, bytes), ENOENT);
  EXPECT_EQ(readWholeFile(temp.path().string(), bytes), EISDIR);
}

}  // namespace
}  // namespace platform
