#include "framework/text_file.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include "framework/exceptions.h"
#include "framework/paths.h"

std::string ReadTextFile(const std::string& gamePath) {
  const std::string path = ResolvePath(gamePath);
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    if (errno == ENOENT || errno == ENOTDIR) throw EInOutError(SFileNotFound, kErrorFileNotFound);
    throw EInOutError(SAccessDenied, kErrorAccessDenied);
  }
  std::string bytes;
  char buffer[8192];
  size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
  const bool failed = std::ferror(file) != 0;  // a folder opens but cannot be read
  std::fclose(file);
  if (failed) throw EInOutError(SAccessDenied, kErrorAccessDenied);
  return bytes;
}

void WriteTextFile(const std::string& gamePath, const std::string& bytes) {
  try {
    WriteFileAtomically(gamePath, std::vector<uint8_t>(bytes.begin(), bytes.end()));
  } catch (const EStreamError&) {
    throw EInOutError(SAccessDenied, kErrorAccessDenied);
  }
}
