#include "framework/data_folders.h"

#include <algorithm>
#include <filesystem>

#include "framework/paths.h"

namespace fs = std::filesystem;

namespace {

std::string absolute(const std::string& folder) {
  std::error_code ec;
  const fs::path path = fs::absolute(folder, ec);
  return (ec ? fs::path(folder) : path).lexically_normal().string();
}

bool sameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return !a.empty() && !b.empty() && fs::equivalent(a, b, ec);
}

// The folder itself, without a trailing separator, so that messages read naturally.
std::string plain(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

std::vector<DataPlace> DataPlaces(const std::string& chosenFolder, const std::string& currentFolder,
                                  const std::string& executablePath,
                                  const std::string& installedRelative,
                                  const std::string& buildFolder, const std::string& sourceFolder) {
  if (!chosenFolder.empty()) return {{plain(absolute(chosenFolder)), false}};
  std::vector<DataPlace> places = {{plain(absolute(currentFolder)), false}};
  if (!executablePath.empty()) {
    const fs::path programFolder = fs::path(executablePath).parent_path();
    places.push_back({plain(absolute((programFolder / installedRelative).string())), true});
    if (!sourceFolder.empty() && sameFolder(programFolder, buildFolder)) {
      places.push_back({plain(absolute(sourceFolder)), false});
    }
  }
  return places;
}

bool HoldsFolders(const std::string& folder, const std::vector<std::string>& marks) {
  std::error_code ec;
  const fs::path base = absolute(folder);
  // Resolved as the game resolves its own paths: every component in any letter case.
  return std::all_of(marks.begin(), marks.end(), [&](const std::string& mark) {
    return fs::is_directory(ResolvePath((base / mark).string()), ec);
  });
}

const DataPlace* FindDataPlace(const std::vector<DataPlace>& places,
                               const std::vector<std::string>& marks) {
  for (const DataPlace& place : places) {
    if (HoldsFolders(place.folder, marks)) return &place;
  }
  return nullptr;
}

std::string NotFoundMessage(const std::vector<DataPlace>& places, const std::string& missing,
                            const std::string& hint) {
  std::string message = missing + " Looked in:";
  for (const DataPlace& place : places) message += "\n  " + place.folder;
  return message + "\n" + hint;
}

void UseDataPlace(const DataPlace& place, const std::string& currentFolder,
                  const std::string& userFolder, const std::vector<std::string>& userFiles) {
  if (place.installed) {
    UseInstalledFolders(place.folder, userFolder, userFiles);
  } else if (sameFolder(place.folder, currentFolder)) {
    UseCurrentFolder();
  } else {
    UseDataFolder(place.folder);
  }
}
