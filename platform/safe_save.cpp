#include "platform/safe_save.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

SaveError::SaveError(bool created, int error)
    : std::runtime_error(std::strerror(error != 0 ? error : EIO)),
      created(created),
      error(error != 0 ? error : EIO) {}

SafeSave::SafeSave(Files& files, std::string target) : files_(files), target_(std::move(target)) {
  files_.removeLeftovers(target_);
  handle_ = files_.createTemporary(target_, temporary_);
  if (handle_ < 0) throw SaveError(false, errno);
}

SafeSave::~SafeSave() {
  if (!committed_) abandon();
}

void SafeSave::abandon() {
  const int error = errno;
  if (handle_ >= 0) files_.close(handle_);
  handle_ = -1;
  if (!temporary_.empty()) files_.remove(temporary_);
  temporary_.clear();
  errno = error;
}

void SafeSave::write(const void* data, size_t size) {
  if (handle_ < 0) throw SaveError(true, EBADF);
  if (size > 0 && !files_.write(handle_, data, size)) {
    const int error = errno;
    abandon();
    throw SaveError(true, error);
  }
}

void SafeSave::commit() {
  if (handle_ < 0) throw SaveError(true, EBADF);
  // The file is renamed only once its bytes are on the disk, so that a crash leaves the
  // old file or the new one; the folder is synced so the rename itself stays.
  bool done = files_.sync(handle_);
  int error = errno;
  const int handle = handle_;
  handle_ = -1;
  if (!files_.close(handle) && done) {
    done = false;
    error = errno;
  }
  if (done && !files_.rename(temporary_, target_)) {
    done = false;
    error = errno;
  }
  if (!done) {
    abandon();
    throw SaveError(true, error);
  }
  committed_ = true;
  const size_t slash = target_.rfind('/');
  files_.syncDirectory(slash == std::string::npos ? std::string() : target_.substr(0, slash + 1));
}

void saveFile(Files& files, const std::string& target, const void* data, size_t size) {
  SafeSave save(files, target);
  save.write(data, size);
  save.commit();
}

int readWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  char buffer[64 * 1024];
  int error = 0;
  for (;;) {
    const ssize_t count = read(fd, buffer, sizeof buffer);
    if (count > 0) {
      bytes.append(buffer, static_cast<size_t>(count));
    } else if (count == 0) {
      break;
    } else if (errno != EINTR) {
      error = errno;
      break;
    }
  }
  close(fd);
  if (error != 0) bytes.clear();
  return error;
}

}  // namespace platform
