#pragma once
// The folder a fuzz target saves into: one per process, on a memory file system where
// there is one (the saves flush to the disk), removed when the process ends.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

inline std::filesystem::path MakeWorkFolder(const std::string& name) {
  namespace fs = std::filesystem;
  static fs::path made;
  const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  made = base / (name + "_" + std::to_string(getpid()));
  fs::create_directories(made);
  std::atexit([] {
    std::error_code ec;
    fs::remove_all(made, ec);
  });
  return made;
}
