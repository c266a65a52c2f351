#pragma once
// The game names its files Windows-style (`Data\Fon\3.bmp`, `data\rec.rmw`): backslashes
// and any letter case, relative to the current directory.

#include <cstdint>
#include <string>
#include <vector>

// Turns a game path into a path of this file system: `\` becomes `/`, and every
// component that does not exist as written is matched case-insensitively against its
// directory's entries. A component with no match is kept as written, so errors name it.
std::string ResolvePath(const std::string& gamePath);

bool FileExists(const std::string& gamePath);

// Writes data to a temporary file beside the target, pushes it to the disk and renames
// it over the target, so a failure at any point leaves the old file whole.
// Raises EFCreateError or EWriteError.
void WriteFileAtomically(const std::string& gamePath, const std::vector<uint8_t>& data);
