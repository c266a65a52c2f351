#pragma once
// Writing the finished pictures through the game's own bitmap class, so the files are
// exactly what the game's reader expects.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/art/raster.h"

namespace art {

// A BMP file of the raster at 24 bits, or at 8 bits with a colour table of its colours
// (raises std::runtime_error when it has more than 256).
std::vector<uint8_t> bmpBytes(const Raster& raster, int bitCount);
void writeBmp(const Raster& raster, int bitCount, const std::string& path);
void writeBytes(const std::vector<uint8_t>& bytes, const std::string& path);

}  // namespace art
