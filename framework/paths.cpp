#include "framework/paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "framework/exceptions.h"
#include "framework/text_case.h"
#include "platform/files.h"

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

void UseInstalledFolders(const std::string& dataFolder, const std::string& userFolder,
                         const std::vector<std::string>& userFiles) {
  Folders f;
  f.data = dataFolder;
  std::error_code ec;
  f.user = userFolder.empty() ? fs::current_path(ec) : fs::path(userFolder);
  for (const std::string& gamePath : userFiles) {
    f.userFiles.emplace_back(comparable(gamePath),
                             fs::path(withSlashes(gamePath)).filename().string());
  }
  folders() = std::move(f);
  for (const std::string& gamePath : userFiles) {
    copyShipped(resolveFrom(folders().data, withSlashes(gamePath)), userFileFor(gamePath));
  }
}

void UseCurrentFolder() { folders() = Folders{}; }

std::string InstalledDataFolder(const std::string& executablePath, const std::string& relative) {
  if (executablePath.empty()) return std::string();
  const fs::path folder = (fs::path(executablePath).parent_path() / relative).lexically_normal();
  std::error_code ec;
  if (!fs::is_directory(resolveFrom(folder, "Data"), ec)) return std::string();
  return folder.string();
}

namespace {
// $variable/<name>, or the home folder's fallback/<name>; as the XDG base directory rules
// have it, a relative path in the variable is ignored.
std::string xdgFolder(const char* variable, const fs::path& fallback, const std::string& name) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return (fs::path(value) / name).string();
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return (fs::path(home) / fallback / name).string();
  return std::string();
}
}  // namespace

std::string UserDataFolder(const std::string& name) {
  return xdgFolder("XDG_DATA_HOME", fs::path(".local") / "share", name);
}

std::string UserConfigFolder(const std::string& name) {
  return xdgFolder("XDG_CONFIG_HOME", ".config", name);
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
  const bool written =
      data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size();
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
