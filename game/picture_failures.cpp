#include "game/picture_failures.h"

#include <filesystem>

#include "framework/bitmap.h"
#include "framework/exceptions.h"
#include "framework/paths.h"

namespace {
// A message box taller than this many lines would not fit on a small screen.
constexpr size_t kListedFailures = 12;
}  // namespace

void LoadPictureNoting(TPicture& picture, const std::string& gamePath,
                       std::vector<std::string>& failures) {
  try {
    picture.LoadFromFile(gamePath);
  } catch (const EFOpenError& e) {
    failures.push_back(e.Message());  // it names the file and the system's reason
  } catch (const Exception& e) {
    std::error_code ec;
    const std::string full = std::filesystem::absolute(ResolvePath(gamePath), ec).string();
    failures.push_back("\"" + full + "\": " + e.Message());
  }
}

std::string PictureFailuresMessage(const std::vector<std::string>& failures) {
  std::string message = failures.size() == 1
                            ? "A picture could not be read; the game goes on without it:"
                            : "Some pictures could not be read; the game goes on without them:";
  for (size_t i = 0; i < failures.size() && i < kListedFailures; ++i) {
    message += "\n" + failures[i];
  }
  if (failures.size() > kListedFailures) {
    message += "\n... and " + std::to_string(failures.size() - kListedFailures) + " more";
  }
  return message;
}
