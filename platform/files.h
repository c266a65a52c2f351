#pragma once
// The file operations a safe save is made of: a temporary file of its own, written,
// pushed to the disk and renamed over the old file, under a lock that makes the saves of
// several running games take turns. They sit behind an interface so that tests can make
// any of them fail as a full disk or a broken medium would. Paths are of this file system.

#include <cstddef>
#include <string>

namespace platform {

class Files {
 public:
  virtual ~Files() = default;
  // Creates and opens for writing a file that no other save uses, beside `target` (its
  // name is the target's with an ending of its own) and gives its path. The file is held
  // (locked) while it is open. Returns a handle, or -1 with errno set.
  virtual int createTemporary(const std::string& target, std::string& path) = 0;
  // Removes the temporary files of `target` that saves killed halfway left behind: those
  // whose game has ended and that nobody holds. Never another live save's, nor the lock
  // file. Gives how many went.
  virtual int removeLeftovers(const std::string& target) = 0;
  // Writes every byte; false with errno set when they could not all be written.
  virtual bool write(int handle, const void* data, size_t size) = 0;
  // Pushes what was written to the disk (fsync).
  virtual bool sync(int handle) = 0;
  virtual bool close(int handle) = 0;
  // Replaces `to` with `from` in one step.
  virtual bool rename(const std::string& from, const std::string& to) = 0;
  virtual bool remove(const std::string& path) = 0;
  // Makes a finished rename survive a crash (fsync of the directory).
  virtual bool syncDirectory(const std::string& directory) = 0;
  // Waits until this process holds the exclusive lock of the lock file at `path` (made
  // when missing). Returns a handle, or -1 with errno set when the file cannot be opened.
  virtual int lock(const std::string& path) = 0;
  virtual void unlock(int handle) = 0;
};

// The system's files.
Files& systemFiles();

}  // namespace platform
