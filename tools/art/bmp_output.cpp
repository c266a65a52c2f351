#include "tools/art/bmp_output.h"

#include <map>
#include <stdexcept>

#include "engine/graphics/dib.h"
#include "framework/paths.h"
#include "framework/stream.h"

namespace art {

namespace {

uint32_t packed(Pixel p) { return (uint32_t{p.r} << 16) | (uint32_t{p.g} << 8) | p.b; }

void fillIndexed(TDIB& dib, const Raster& raster) {
  // Colours take table entries in the order they first appear, top row first, so the
  // table is the same on every run; unused entries keep the grey ramp of a new bitmap.
  std::map<uint32_t, int> index;
  TRGBQuads table = GreyColorTable();
  for (const Pixel& p : raster.pixels) {
    if (index.count(packed(p))) continue;
    if (index.size() == 256) throw std::runtime_error("More than 256 colours in an 8-bit picture");
    int i = int(index.size());
    index[packed(p)] = i;
    table[size_t(i)] = TRGBQuad{p.b, p.g, p.r, 0};
  }
  dib.SetSize(raster.width, raster.height, 8);
  dib.SetColorTable(table);
  for (int y = 0; y < raster.height; ++y) {
    for (int x = 0; x < raster.width; ++x)
      dib.SetPixel(x, y, uint32_t(index[packed(raster.at(x, y))]));
  }
}

}  // namespace

std::vector<uint8_t> bmpBytes(const Raster& raster, int bitCount) {
  TDIB dib;
  if (bitCount == 8) {
    fillIndexed(dib, raster);
  } else {
    dib.SetSize(raster.width, raster.height, 24);
    for (int y = 0; y < raster.height; ++y) {
      for (int x = 0; x < raster.width; ++x) dib.SetPixel(x, y, packed(raster.at(x, y)));
    }
  }
  TMemoryStream stream;
  dib.WriteBitmapFile(stream);
  return stream.Bytes();
}

void writeBmp(const Raster& raster, int bitCount, const std::string& path) {
  writeBytes(bmpBytes(raster, bitCount), path);
}

void writeBytes(const std::vector<uint8_t>& bytes, const std::string& path) {
  WriteFileAtomically(path, bytes);
}

}  // namespace art
