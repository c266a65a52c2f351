#pragma once
// A real file system that fills up or turns read-only, for the tests of saves that fail:
// a small memory file system mounted over a folder in a child process of its own mount
// namespace, so that nothing outside the child sees it. Root gets past a folder's
// permissions, but not past a full or read-only file system.

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

// Exit code of a child that could not have a file system of its own.
inline constexpr int kNoSmallFileSystem = 77;

// Runs body in a child process that sees, at folder, an empty memory file system of
// `bytes` bytes. Gives the child's exit code: 0 when body's expectations held, 1 when
// not, kNoSmallFileSystem (with the reason in why) when the machine cannot mount one.
inline int InSmallFileSystem(const std::filesystem::path& folder, size_t bytes,
                             const std::function<void()>& body, std::string& why) {
  int reason[2];
  if (pipe(reason) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(reason[0]);
    const std::string options = "size=" + std::to_string(bytes);
    const char* step = "unshare";
    bool mounted = unshare(CLONE_NEWNS) == 0;
    if (mounted) {
      step = "mount";
      mounted = mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    if (!mounted) {
      const std::string text = std::string(step) + ": " + std::strerror(errno);
      if (write(reason[1], text.data(), text.size()) < 0) _exit(2);
      _exit(kNoSmallFileSystem);
    }
    body();
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  close(reason[1]);
  char text[256];
  const ssize_t count = read(reason[0], text, sizeof text);
  close(reason[0]);
  if (count > 0) why.assign(text, static_cast<size_t>(count));
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Fills the file system of folder up to its last byte with a file of its own.
inline void FillUp(const std::filesystem::path& folder) {
  std::ofstream filler(folder / "filler", std::ios::binary);
  const std::string block(4096, 'x');
  while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) filler.flush();
  filler.clear();
  for (int i = 0; i < 4096 && filler.put('x'); ++i) filler.flush();
}

// Makes the file system mounted at folder read-only.
inline bool RemountReadOnly(const std::filesystem::path& folder) {
  return mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

// Runs body on a small file system at folder, or skips the test with the reason.
#define REEFMAW_IN_SMALL_FILE_SYSTEM(folder, bytes, body)                                   \
  do {                                                                                      \
    std::string why_;                                                                       \
    const int code_ = InSmallFileSystem(folder, bytes, body, why_);                         \
    if (code_ == kNoSmallFileSystem) GTEST_SKIP() << "no file system of its own: " << why_; \
    EXPECT_EQ(code_, 0) << "the child's expectations failed (see above)";                   \
  } while (false)
