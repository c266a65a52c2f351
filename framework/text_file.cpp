#include "framework/text_file.h"

#include <cerrno>
#include <vector>

#include "framework/exceptions.h"
#include "framework/paths.h"
#include "platform/safe_save.h"

std::string ReadTextFile(const std::string& gamePath) {
  std::string bytes;
  const int error = platform::readWholeFile(ResolvePath(gamePath), bytes);
  if (error == ENOENT || error == ENOTDIR) throw EInOutError(SFileNotFound, kErrorFileNotFound);
  // A folder opens but cannot be read.
  if (error != 0) throw EInOutError(SAccessDenied, kErrorAccessDenied);
  return bytes;
}

void WriteTextFile(const std::string& gamePath, const std::string& bytes) {
  try {
    WriteFileAtomically(gamePath, std::vector<uint8_t>(bytes.begin(), bytes.end()));
  } catch (const EStreamError& e) {
    // The player learns why: a full disk or a read-only folder is theirs to mend.
    const std::string reason = e.Reason().empty() ? std::string() : ": " + e.Reason();
    throw EInOutError(SAccessDenied + reason, kErrorAccessDenied);
  }
}
