#include "game/picture_failures.h"

#include <atomic>
#include <exception>
#include <filesystem>
#include <system_error>
#include <thread>

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

void LoadPicturesNoting(const std::vector<TPictureToLoad>& pictures,
                        std::vector<std::string>& failures) {
  std::vector<std::vector<std::string>> noted(pictures.size());
  std::vector<std::exception_ptr> raised(pictures.size());
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < pictures.size(); i = next++) {
      try {
        LoadPictureNoting(*pictures[i].Picture, pictures[i].Path, noted[i]);
      } catch (...) {
        raised[i] = std::current_exception();  // raised again below, in order
      }
    }
  };
  std::thread helper;
  try {
    helper = std::thread(work);
  } catch (const std::system_error&) {
    // No second thread to be had: this one loads them all.
  }
  work();
  if (helper.joinable()) helper.join();
  for (size_t i = 0; i < pictures.size(); ++i) {
    if (raised[i]) std::rethrow_exception(raised[i]);
    failures.insert(failures.end(), noted[i].begin(), noted[i].end());
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
