#pragma once
// A game folder for a test: a temporary directory holding a Data tree whose folders are
// real and whose pictures are links to the repository's, with a copy of the records file.
// The test runs inside it (it is the current directory until the folder goes), so it may
// remove pictures or rewrite the records file without touching the repository.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_folder.h"

class GameFolder {
 public:
  GameFolder() {
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "reefmaw_game_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
    const fs::path source = fs::path(REEFMAW_SOURCE_DIR) / "Data";
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
      const fs::path target = root_ / "Data" / fs::relative(entry.path(), source);
      if (entry.is_directory()) {
        fs::create_directories(target);
      } else if (entry.path().filename() == "rec.rmw") {
        fs::create_directories(target.parent_path());
        fs::copy_file(entry.path(), target);
      } else {
        fs::create_directories(target.parent_path());
        fs::create_symlink(entry.path(), target);
      }
    }
    previous_ = fs::current_path();
    fs::current_path(root_);
  }
  ~GameFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(root_, ec);
  }
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path path(const std::string& relative) const { return root_ / relative; }
  void remove(const std::string& relative) const { std::filesystem::remove(path(relative)); }
  std::string read(const std::string& relative) const { return FileBytes(path(relative)); }
  void write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::remove(path(relative));
    std::ofstream(path(relative), std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path root_;
  std::filesystem::path previous_;
};
