#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace platform {
namespace {

constexpr const char* kTemporaryMark = ".tmp.";

// The process id in a temporary file's name after the mark ("<pid>.<count>"), or 0 when
// the rest of the name is not of that form.
pid_t savingProcess(const std::string& rest) {
  const size_t dot = rest.find('.');
  if (dot == 0 || dot == std::string::npos || dot + 1 == rest.size()) return 0;
  if (rest.find_first_not_of("0123456789") != dot ||
      rest.find_first_not_of("0123456789", dot + 1) != std::string::npos) {
    return 0;
  }
  const long pid = std::strtol(rest.substr(0, dot).c_str(), nullptr, 10);
  return pid > 0 && pid <= 0x3FFFFFFF ? static_cast<pid_t>(pid) : 0;
}

// A save is live while its process runs (between closing its file and renaming it, the
// file is not held) or while anyone holds its file.
bool leftBehind(const std::string& path, pid_t pid) {
  if (pid == getpid() || kill(pid, 0) == 0 || errno != ESRCH) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  const bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return free;
}

class SystemFiles final : public Files {
 public:
  int createTemporary(const std::string& target, std::string& path) override {
    // The process id tells games apart and the counter saves within one game; O_EXCL
    // makes sure that no file left behind by a game that died is taken over.
    static std::atomic<unsigned> counter{0};
    for (;;) {
      path = target + kTemporaryMark + std::to_string(getpid()) + "." + std::to_string(counter++);
      const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0) flock(fd, LOCK_EX | LOCK_NB);  // a new file: nobody else holds it
      if (fd >= 0 || errno != EEXIST) return fd;
    }
  }

  int removeLeftovers(const std::string& target) override {
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string prefix =
        (slash == std::string::npos ? target : target.substr(slash + 1)) + kTemporaryMark;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return 0;
    int removed = 0;
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.compare(0, prefix.size(), prefix) != 0) continue;
      const pid_t pid = savingProcess(name.substr(prefix.size()));
      const std::string path = slash == std::string::npos ? name : folder + name;
      if (pid != 0 && leftBehind(path, pid) && unlink(path.c_str()) == 0) ++removed;
    }
    closedir(dir);
    return removed;
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
