#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace platform {
namespace {

class SystemFiles final : public Files {
 public:
  int createTemporary(const std::string& target, std::string& path) override {
    // The process id tells games apart and the counter saves within one game; O_EXCL
    // makes sure that no file left behind by a game that died is taken over.
    static std::atomic<unsigned> counter{0};
    for (;;) {
      path = target + ".tmp." + std::to_string(getpid()) + "." + std::to_string(counter++);
      const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0 || errno != EEXIST) return fd;
    }
  }

  bool write(int handle, const void* data, size_t size) override {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t done = ::write(handle, bytes, size);
      if (done < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      bytes += done;
      size -= static_cast<size_t>(done);
    }
    return true;
  }

  bool sync(int handle) override { return fsync(handle) == 0; }

  bool close(int handle) override { return ::close(handle) == 0; }

  bool rename(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0;
  }

  bool remove(const std::string& path) override { return unlink(path.c_str()) == 0; }

  bool syncDirectory(const std::string& directory) override {
    const int fd =
        open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = fsync(fd) == 0;
    ::close(fd);
    return ok;
  }

  int lock(const std::string& path) override {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    // A lock file that exists in a folder this user cannot write still serves.
    if (fd < 0) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    while (flock(fd, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(fd);
        return -1;
      }
    }
    return fd;
  }

  void unlock(int handle) override {
    if (handle < 0) return;
    flock(handle, LOCK_UN);
    ::close(handle);
  }
};

}  // namespace

Files& systemFiles() {
  static SystemFiles files;
  return files;
}

}  // namespace platform
