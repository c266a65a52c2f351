// Feeds arbitrary bytes to both picture readers: the framework's bitmap reader (the
// game's .bmp files) and the device-independent bitmap reader (files and the pictures
// stored in window descriptions). Each must read or raise one of the system's errors,
// never crash or read out of bounds; what the DIB reader accepts must survive writing
// and reading again, and must load into a drawing surface.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/graphics/dib.h"
#include "engine/graphics/direct_draw_surface.h"
#include "framework/bitmap.h"

namespace {

// Pictures that say they are huge are refused by the readers only above a quarter of a
// gigabyte; decoding such sizes would just slow the search down.
bool declaresHugePicture(const uint8_t* data, size_t size) {
  auto at32 = [&](size_t offset) -> int64_t {
    if (offset + 4 > size) return 0;
    return static_cast<int32_t>(data[offset] | (data[offset + 1] << 8) | (data[offset + 2] << 16) |
                                (static_cast<uint32_t>(data[offset + 3]) << 24));
  };
  for (size_t header : {size_t{0}, size_t{14}}) {
    const int64_t w = at32(header + 4);
    const int64_t h = at32(header + 8);
    if (w * (h < 0 ? -h : h) > (int64_t{1} << 18)) return true;
  }
  return false;
}

void exerciseDib(const TDIB& dib) {
  std::vector<uint32_t> pixels;
  dib.ToRGB32(pixels);
  TMemoryStream written;
  dib.SaveToStream(written);
  written.SetPosition(0);
  TDIB again;
  again.LoadFromStream(written);
  if (again.Width() != dib.Width() || again.Height() != dib.Height()) __builtin_trap();
  for (int y = 0; y < dib.Height(); y += 7) {
    for (int x = 0; x < dib.Width(); x += 5) {
      if (again.Pixel(x, y) != dib.Pixel(x, y)) __builtin_trap();
    }
  }
  if (!dib.Empty()) {
    TDirectDraw ddraw(nullptr);
    TDirectDrawSurface surface(&ddraw);
    surface.LoadGraphicRect(dib, TRect{-3, -3, dib.Width() + 3, dib.Height() / 2 + 1});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (declaresHugePicture(data, size)) return 0;
  const std::vector<uint8_t> bytes(data, data + size);
  try {
    TBitmap bitmap;
    TMemoryStream stream(bytes);
    bitmap.LoadFromStream(stream);
    std::vector<uint32_t> pixels;
    bitmap.ToRGB32(pixels);
    if (pixels.size() !=
        static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitmap.Height())) {
      __builtin_trap();
    }
  } catch (const Exception&) {
  }
  try {
    TDIB dib;
    TMemoryStream stream(bytes);
    dib.LoadFromStream(stream);
    exerciseDib(dib);
  } catch (const Exception&) {
  }
  try {
    TDIB dib;
    TReadOnlyMemoryStream stream(data, static_cast<int64_t>(size));
    dib.ReadBitmapData(stream);
    exerciseDib(dib);
  } catch (const Exception&) {
  }
  return 0;
}
