// The picture tool run as the program it is: a 16-bit picture written back as 24 bits,
// through either reader, with each channel widened so that full intensity stays full.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/graphics/bmp_samples.h"
#include "engine/graphics/dib.h"
#include "framework/stream.h"

namespace fs = std::filesystem;
namespace bs = bmp_samples;

namespace {

// Writes the picture into a folder of its own, runs bmp_tool on it (with --dib when
// asked) and reads the 24-bit file it writes.
TDIB convert(const std::vector<uint8_t>& picture, bool throughDib) {
  const fs::path dir =
      fs::temp_directory_path() / ("reefmaw_bmp_tool_" + std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  const fs::path in = dir / "in.bmp";
  const fs::path out = dir / "out.bmp";
  std::ofstream(in, std::ios::binary)
      .write(reinterpret_cast<const char*>(picture.data()),
             static_cast<std::streamsize>(picture.size()));
  const std::string command = std::string(BMP_TOOL) + (throughDib ? " --dib " : " ") + in.string() +
                              " " + out.string() + " > /dev/null";
  const int status = std::system(command.c_str());
  std::ifstream file(out, std::ios::binary);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  fs::remove_all(dir);
  EXPECT_EQ(status, 0) << command;
  TDIB dib;
  TMemoryStream stream(bytes);
  dib.LoadFromStream(stream);
  EXPECT_EQ(dib.BitCount(), 24);
  return dib;
}

// A one-row 16-bit picture of the given pixel values, with masks when they are given.
std::vector<uint8_t> row16(const std::vector<uint16_t>& values,
                           const std::vector<uint32_t>& masks = {}) {
  bs::BmpLayout layout;
  layout.width = static_cast<int32_t>(values.size());
  layout.height = 1;
  layout.bitCount = 16;
  if (!masks.empty()) {
    layout.compression = 3;
    layout.masks = masks;
  }
  for (uint16_t v : values) bs::put16(layout.pixels, v);
  layout.pixels.resize((layout.pixels.size() + 3) / 4 * 4, 0);
  return bs::bmpFile(layout);
}

TEST(BmpTool, SixteenBitChannelsAreWidenedByRepeatingTheirTopBits) {
  // 5-5-5: white, pure red, and 16 in each channel (binary 10000 -> 10000100 = 0x84).
  const std::vector<uint8_t> rgb555 = row16({0x7FFF, 0x7C00, 0x4210});
  // 5-6-5: white, pure green, and green 32 (100000 -> 10000010 = 0x82) with blue 1.
  const std::vector<uint8_t> rgb565 = row16({0xFFFF, 0x07E0, 0x0401}, {0xF800, 0x07E0, 0x001F});
  for (bool throughDib : {false, true}) {
    SCOPED_TRACE(throughDib ? "DIB reader" : "bitmap reader");
    const TDIB a = convert(rgb555, throughDib);
    ASSERT_EQ(a.Width(), 3);
    EXPECT_EQ(a.PixelRGB(0, 0), 0xFFFFFFu);
    EXPECT_EQ(a.PixelRGB(1, 0), 0xFF0000u);
    EXPECT_EQ(a.PixelRGB(2, 0), 0x848484u);
    const TDIB b = convert(rgb565, throughDib);
    ASSERT_EQ(b.Width(), 3);
    EXPECT_EQ(b.PixelRGB(0, 0), 0xFFFFFFu);
    EXPECT_EQ(b.PixelRGB(1, 0), 0x00FF00u);
    EXPECT_EQ(b.PixelRGB(2, 0), 0x008208u);
  }
}

}  // namespace
