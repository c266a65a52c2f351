#pragma once
// File-system services the standard library lacks.

#include <cstdio>
#include <string>

namespace platform {

// Pushes a written file's data to the disk before it replaces another (fsync).
bool syncFile(std::FILE* file);
// Makes a finished rename survive a crash (fsync of the directory).
bool syncDirectory(const std::string& directory);

}  // namespace platform
