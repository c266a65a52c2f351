#include "framework/paths.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/text_case.h"
#include "platform/files.h"
#include "platform/safe_save.h"

namespace fs = std::filesystem;

namespace {

// The installed game's folders; empty data folder: nothing configured.
struct Folders {
  fs::path data;
  fs::path user;
  std::vector<std::pair<std::string, std::string>> userFiles;  // lower-case game path, file name
};

Folders& folders() {
  static Folders value;
  return value;
}

std::string withSlashes(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

// A game path in one spelling for comparing: slashes, lower case, no "./" or doubled
// separators.
std::string comparable(const std::string& gamePath) {
  return LowerCase(fs::path(withSlashes(gamePath)).lexically_normal().string());
}

// The user's own copy of a game path, or empty when the path is not one of the user's files.
fs::path userFileFor(const std::string& path) {
  const Folders& f = folders();
  if (f.data.empty() || path.empty() || path[0] == '/') return fs::path();
  const std::string wanted = comparable(path);
  for (const auto& [gamePath, name] : f.userFiles) {
    if (gamePath == wanted) return f.user / name;
  }
  return fs::path();
}

// The path matched component by component from base (empty: the current directory).
std::string resolveFrom(const fs::path& base, const std::string& path) {
  const bool absolute = !path.empty() && path[0] == '/';
  fs::path resolved = absolute ? fs::path("/") : base;
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

// Copies the shipped file to the user's folder through a temporary file, so a copy cut
// short never passes for the user's file.
void copyShipped(const fs::path& shipped, const fs::path& target) {
  std::error_code ec;
  if (fs::exists(target, ec) || !fs::is_regular_file(shipped, ec)) return;
  fs::create_directories(target.parent_path(), ec);
  const fs::path temp = target.string() + ".tmp";
  if (!fs::copy_file(shipped, temp, fs::copy_options::overwrite_existing, ec)) return;
  fs::rename(temp, target, ec);
  if (ec) fs::remove(temp, ec);
}

}  // namespace

std::string ResolvePath(const std::string& gamePath) {
  const std::string path = withSlashes(gamePath);
  const fs::path userFile = userFileFor(path);
  if (!userFile.empty()) return userFile.string();
  return resolveFrom(folders().data, path);
}

namespace {

void useFolders(const fs::path& dataFolder, const std::string& userFolder,
                const std::vector<std::string>& userFiles) {
  Folders f;
  std::error_code ec;
  f.data = dataFolder;
  f.user = userFolder.empty() ? fs::current_path(ec) : fs::path(userFolder);
  for (const std::string& gamePath : userFiles) {
    f.userFiles.emplace_back(comparable(gamePath),
                             fs::path(withSlashes(gamePath)).filename().string());
  }
  folders() = std::move(f);
}

}  // namespace

void UseInstalledFolders(const std::string& dataFolder, const std::string& userFolder,
                         const std::vector<std::string>& userFiles) {
  useFolders(dataFolder, userFolder, userFiles);
  for (const std::string& gamePath : userFiles) {
    copyShipped(resolveFrom(folders().data, withSlashes(gamePath)), userFileFor(gamePath));
  }
}

void UseDataFolder(const std::string& folder) {
  Folders f;
  f.data = folder;
  folders() = std::move(f);
}

void UseOwnUserFiles(const std::string& dataFolder, const std::string& userFolder,
                     const std::vector<std::string>& userFiles) {
  std::error_code ec;
  useFolders(dataFolder.empty() ? fs::current_path(ec) : fs::path(dataFolder), userFolder,
             userFiles);
}

void UseCurrentFolder() { folders() = Folders{}; }

namespace {

// $variable/<name>, or ~/<fallback>/<name>; as the XDG base directory rules have it, a
// relative value of the variable is ignored.
std::string baseDirectoryFolder(const char* variable, const char* fallback,
                                const std::string& name) {
  const char* base = std::getenv(variable);
  if (base != nullptr && base[0] == '/') return (fs::path(base) / name).string();
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return (fs::path(home) / fallback / name).string();
  return std::string();
}

}  // namespace

std::string UserDataFolder(const std::string& name) {
  return baseDirectoryFolder("XDG_DATA_HOME", ".local/share", name);
}

std::string UserConfigFolder(const std::string& name) {
  return baseDirectoryFolder("XDG_CONFIG_HOME", ".config", name);
}

bool FileExists(const std::string& gamePath) {
  std::error_code ec;
  return fs::is_regular_file(ResolvePath(gamePath), ec);
}

namespace {

platform::Files& files() {
  return Application != nullptr ? Application->Platform().files() : platform::systemFiles();
}

}  // namespace

void WriteFileAtomically(const std::string& gamePath, const std::vector<uint8_t>& data) {
  const std::string target = ResolvePath(gamePath);
  try {
    platform::saveFile(files(), target, data.data(), data.size());
  } catch (const platform::SaveError& e) {
    if (!e.created) {
      throw EFCreateError(Format(SFCreateError, fs::absolute(target).string(), e.what()), e.what());
    }
    throw EWriteError(SWriteError, e.what());
  }
}

FileLock::FileLock(const std::string& gamePath)
    : handle_(files().lock(ResolvePath(gamePath) + ".lock")) {}

FileLock::~FileLock() {
  if (handle_ >= 0) files().unlock(handle_);
}
