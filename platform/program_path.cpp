#include "platform/program_path.h"

#include <unistd.h>

#include <vector>

namespace platform {

std::string programPath() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return std::string();
    if (static_cast<size_t>(length) < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);  // the path may have been cut: try a larger buffer
  }
}

}  // namespace platform
