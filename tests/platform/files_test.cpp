#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "platform/fake_files.h"
#include "support/temp_folder.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

struct FilesTest : ::testing::Test {
  TempFolder temp;
  const fs::path& dir = temp.path();
  std::string read(const fs::path& p) { return FileBytes(p); }
};

TEST_F(FilesTest, EverySaveGetsATemporaryFileOfItsOwn) {
  Files& files = systemFiles();
  const std::string target = (dir / "rec.rmw").string();
  std::set<std::string> paths;
  std::vector<int> handles;
  for (int i = 0; i < 5; ++i) {
    std::string path;
    const int handle = files.createTemporary(target, path);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(path.rfind(target + ".tmp.", 0), 0u) << path;
    paths.insert(path);
    handles.push_back(handle);
  }
  EXPECT_EQ(paths.size(), 5u);
  // A file left behind by a game that died is not taken over.
  std::string next;
  const std::string leftover = target + ".tmp." + std::to_string(getpid()) + ".";
  for (int n = 0; n < 1000; ++n) std::ofstream(leftover + std::to_string(n)) << "old";
  const int handle = files.createTemporary(target, next);
  ASSERT_GE(handle, 0);
  EXPECT_TRUE(paths.insert(next).second);
  ASSERT_TRUE(files.write(handle, "new", 3));
  ASSERT_TRUE(files.sync(handle));
  ASSERT_TRUE(files.close(handle));
  ASSERT_TRUE(files.rename(next, target));
  EXPECT_EQ(read(target), "new");
  for (int h : handles) files.close(h);
  EXPECT_EQ(files.createTemporary((dir / "no" / "rec.rmw").string(), next), -1);
  EXPECT_EQ(errno, ENOENT);
}

TEST_F(FilesTest, TheLockMakesAnotherProcessWait) {
  Files& files = systemFiles();
  const std::string lockPath = (dir / "rec.rmw.lock").string();
  const int held = files.lock(lockPath);
  ASSERT_GE(held, 0);
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t child = fork();
  if (child == 0) {
    const int handle = systemFiles().lock(lockPath);
    const char mark = handle >= 0 ? 1 : 0;
    if (write(fds[1], &mark, 1) != 1) _exit(2);
    _exit(0);
  }
  close(fds[1]);
  // The child cannot have the lock while this process holds it.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  fd_set ready;
  FD_ZERO(&ready);
  FD_SET(fds[0], &ready);
  timeval none{0, 0};
  EXPECT_EQ(select(fds[0] + 1, &ready, nullptr, nullptr, &none), 0);
  files.unlock(held);
  char mark = 0;
  EXPECT_EQ(::read(fds[0], &mark, 1), 1);
  EXPECT_EQ(mark, 1);
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(files.lock((dir / "no" / "x.lock").string()), -1);
}

TEST_F(FilesTest, FakeFilesFillUpTheDiskWhereTheTestSays) {
  FakeFiles files;
  files.failWritesAfter(4);
  std::string path;
  const int handle = files.createTemporary((dir / "t").string(), path);
  ASSERT_GE(handle, 0);
  EXPECT_TRUE(files.write(handle, "ab", 2));
  EXPECT_FALSE(files.write(handle, "cdef", 4));
  EXPECT_EQ(errno, ENOSPC);
  files.close(handle);
  EXPECT_EQ(read(path), "abcd");
  files.failRenames(true);
  EXPECT_FALSE(files.rename(path, (dir / "u").string()));
  EXPECT_EQ(files.temporariesMade(), 1);
}

}  // namespace
}  // namespace platform
