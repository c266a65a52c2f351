#pragma once
// Files for tests: the system's own, except for the failures a test asks for (a disk that
// fills up in the middle of a write, a sync or a rename that fails), and a count of what
// was asked of them.

#include <cerrno>
#include <cstddef>
#include <string>

#include "platform/files.h"

namespace platform {

class FakeFiles final : public Files {
 public:
  int createTemporary(const std::string& target, std::string& path) override;
  int removeLeftovers(const std::string& target) override;
  // Once `failWriteAfter` bytes have gone to a file, the rest is refused with the chosen
  // error: the bytes before that point are on the disk, as when a disk fills up.
  bool write(int handle, const void* data, size_t size) override;
  bool sync(int handle) override;
  bool close(int handle) override;
  bool rename(const std::string& from, const std::string& to) override;
  bool remove(const std::string& path) override;
  bool syncDirectory(const std::string& directory) override;
  int lock(const std::string& path) override;
  void unlock(int handle) override;

  // The next files written take this many bytes each and then fail (negative: never).
  void failWritesAfter(long bytes, int error = ENOSPC) {
    failWriteAfter_ = bytes;
    writeError_ = error;
  }
  void failSyncs(bool fail) { failSync_ = fail; }
  void failRenames(bool fail) { failRename_ = fail; }

  int temporariesMade() const { return temporaries_; }
  int locksTaken() const { return locks_; }
  int locksHeld() const { return held_; }
  const std::string& lastTemporary() const { return lastTemporary_; }

 private:
  long failWriteAfter_ = -1;
  int writeError_ = ENOSPC;
  bool failSync_ = false;
  bool failRename_ = false;
  long written_ = 0;  // bytes of the file being written now
  int temporaries_ = 0;
  int locks_ = 0;
  int held_ = 0;
  std::string lastTemporary_;
};

}  // namespace platform
