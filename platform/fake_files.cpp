#include "platform/fake_files.h"

#include <algorithm>

namespace platform {

int FakeFiles::createTemporary(const std::string& target, std::string& path) {
  const int handle = systemFiles().createTemporary(target, path);
  if (handle >= 0) {
    ++temporaries_;
    lastTemporary_ = path;
    written_ = 0;
  }
  return handle;
}

int FakeFiles::removeLeftovers(const std::string& target) {
  return systemFiles().removeLeftovers(target);
}

bool FakeFiles::write(int handle, const void* data, size_t size) {
  if (failWriteAfter_ < 0) return systemFiles().write(handle, data, size);
  const long room = std::max(0L, failWriteAfter_ - written_);
  const size_t part = std::min(size, static_cast<size_t>(room));
  if (part > 0 && !systemFiles().write(handle, data, part)) return false;
  written_ += static_cast<long>(part);
  if (part == size) return true;
  errno = writeError_;
  return false;
}

bool FakeFiles::sync(int handle) {
  if (failSync_) {
    errno = EIO;
    return false;
  }
  return systemFiles().sync(handle);
}

bool FakeFiles::close(int handle) { return systemFiles().close(handle); }

bool FakeFiles::rename(const std::string& from, const std::string& to) {
  if (failRename_) {
    errno = EIO;
    return false;
  }
  return systemFiles().rename(from, to);
}

bool FakeFiles::remove(const std::string& path) { return systemFiles().remove(path); }

bool FakeFiles::syncDirectory(const std::string& directory) {
  return systemFiles().syncDirectory(directory);
}

int FakeFiles::lock(const std::string& path) {
  const int handle = systemFiles().lock(path);
  if (handle >= 0) {
    ++locks_;
    ++held_;
  }
  return handle;
}

void FakeFiles::unlock(int handle) {
  if (handle >= 0) --held_;
  systemFiles().unlock(handle);
}

}  // namespace platform
