#include "framework/paths.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "framework/exceptions.h"
#include "framework/text_case.h"
#include "platform/files.h"

namespace fs = std::filesystem;

std::string ResolvePath(const std::string& gamePath) {
  std::string path = gamePath;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  const bool absolute = !path.empty() && path[0] == '/';
  fs::path resolved = absolute ? fs::path("/") : fs::path();
  bool matching = true;  // false once a component has no match: the rest is kept as is
  size_t start = absolute ? 1 : 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    if (part == "." || part == ".." || !matching) {
      resolved /= part;
      continue;
    }
    const fs::path here = resolved.empty() ? fs::path(".") : resolved;
    std::error_code ec;
    if (fs::exists(here / part, ec)) {
      resolved /= part;
      continue;
    }
    const std::string wanted = LowerCase(part);
    bool found = false;
    for (fs::directory_iterator it(here, ec), last; !ec && it != last; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (LowerCase(name) == wanted) {
        resolved /= name;
        found = true;
        break;
      }
    }
    if (!found) {
      resolved /= part;
      matching = false;
    }
  }
  return resolved.string();
}

bool FileExists(const std::string& gamePath) {
  std::error_code ec;
  return fs::is_regular_file(ResolvePath(gamePath), ec);
}

void WriteFileAtomically(const std::string& gamePath, const std::vector<uint8_t>& data) {
  const fs::path target = ResolvePath(gamePath);
  const fs::path temp = target.string() + ".tmp";
  const std::string full = fs::absolute(target).string();
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (file == nullptr) throw EFCreateError(Format(SFCreateError, full, std::strerror(errno)));
  const bool written = data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size();
  const bool synced = written && platform::syncFile(file);
  const bool closed = std::fclose(file) == 0;
  std::error_code ec;
  if (!written || !synced || !closed) {
    fs::remove(temp, ec);
    throw EWriteError(SWriteError);
  }
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    throw EWriteError(SWriteError);
  }
  platform::syncDirectory(target.parent_path().string());
}
