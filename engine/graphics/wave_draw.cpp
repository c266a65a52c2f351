// The wave draw: a rectangle of one surface scaled into a box on another, every row
// shifted sideways along a sine curve, in 16.16 fixed point on the locked pixels.

#include <cmath>
#include <cstdint>

#include "engine/graphics/direct_draw_surface.h"
#include "engine/timer/cos_table.h"
#include "framework/byte_order.h"

namespace {

constexpr int64_t kOne = 65536;  // 1.0 in 16.16

uint32_t readPixel(const uint8_t* row, int x, int bytes) {
  return GetLE(row + std::ptrdiff_t{x} * bytes, bytes);
}

void writePixel(uint8_t* row, int x, int bytes, uint32_t value) {
  uint8_t* p = row + std::ptrdiff_t{x} * bytes;
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

// The top 16 bits of a 32-bit fixed-point value taken as unsigned, as the span checks
// read them.
uint32_t unsignedWhole(int64_t value) { return static_cast<uint32_t>(value) >> 16; }

}  // namespace

void TDirectDrawSurface::DrawWave(int x, int y, int width, int height, const TRect& src,
                                  TDirectDrawSurface* source, bool transparent, int amplitude,
                                  int wavelength, int phase) {
  if (Width() == 0 || Height() == 0 || width == 0 || height == 0) return;
  if (source == nullptr || source->Width() == 0 || source->Height() == 0) return;
  TDDSurfaceDesc destDesc;
  if (!Lock(destDesc)) return;
  TDDSurfaceDesc srcDesc;
  if (!source->Lock(srcDesc)) {
    Unlock();
    return;
  }
  struct Unlocker {
    TDirectDrawSurface* dest;
    TDirectDrawSurface* src;
    ~Unlocker() {
      src->Unlock();
      dest->Unlock();
    }
  } unlocker{this, source};

  const int srcWidth = source->Width();
  const int srcHeight = source->Height();
  if (src.Left < 0 || src.Top < 0 || src.Right > srcWidth || src.Bottom > srcHeight ||
      src.Left >= src.Right || src.Top >= src.Bottom) {
    return;
  }
  const int destWidth = Width();
  const int destHeight = Height();

  int y0 = y;
  int y1 = y + height;
  int skipped = 0;
  if (y0 < 0) {
    skipped = -y0;
    y0 = 0;
  }
  y1 = std::min(y1, destHeight);
  if (y1 < 1 || y1 - y0 < 1) return;

  const int64_t xstep = (int64_t{src.Right - src.Left} * kOne) / width;
  const int64_t ystep = (int64_t{src.Bottom - src.Top} * kOne) / height;
  const int32_t phaseStep = wavelength == 0 ? 0 : static_cast<int32_t>((256 * kOne) / wavelength);

  // The phase accumulator keeps 32 bits, as the shift of the starting phase does.
  auto p = static_cast<int32_t>(static_cast<uint32_t>(phase) << 16);
  p = static_cast<int32_t>(static_cast<uint32_t>(p) +
                           static_cast<uint32_t>(skipped) * static_cast<uint32_t>(phaseStep));
  int64_t v = skipped * ystep + int64_t{src.Top} * kOne;
  if (unsignedWhole((y1 - y0) * ystep + v) > static_cast<uint32_t>(srcHeight)) return;

  const int bytes = destDesc.PixelFormat.BitCount / 8;
  const int srcBytes = srcDesc.PixelFormat.BitCount / 8;
  if (bytes == 0 || srcBytes == 0) return;
  const bool sameFormat = destDesc.PixelFormat == srcDesc.PixelFormat;
  const uint32_t key = source->ColorKey();
  auto* destBase = static_cast<uint8_t*>(destDesc.Surface);
  const auto* srcBase = static_cast<const uint8_t*>(srcDesc.Surface);

  for (int r = y0; r < y1; ++r) {
    const int angle = ((p / static_cast<int32_t>(kOne)) + 192) & 0xFF;
    const int offset = static_cast<int>(std::nearbyint(Cos256(angle) * amplitude));
    int x0 = x + offset;
    int x1 = x0 + width;
    int skippedX = 0;
    if (x0 < 0) {
      skippedX = -x0;
      x0 = 0;
    }
    x1 = std::min(x1, destWidth);
    if (x1 >= 1 && x1 - x0 >= 1) {
      const int64_t u = skippedX * xstep + int64_t{src.Left} * kOne;
      if (u < 0 || v < 0) return;
      if (unsignedWhole((x1 - x0) * xstep + u) > static_cast<uint32_t>(srcWidth)) return;
      const int srcRow = static_cast<int>(v >> 16);
      if (srcRow >= srcHeight) return;
      const uint8_t* in =
          srcBase + static_cast<size_t>(srcRow) * static_cast<size_t>(srcDesc.Pitch);
      uint8_t* out = destBase + static_cast<size_t>(r) * static_cast<size_t>(destDesc.Pitch);
      const int count = x1 - x0;
      if (sameFormat && bytes == 2) {
        auto* o = reinterpret_cast<uint16_t*>(out) + x0;
        const auto* i16 = reinterpret_cast<const uint16_t*>(in);
        int64_t uu = u;
        for (int k = 0; k < count; ++k, uu += xstep) {
          const uint16_t s = i16[std::min<int64_t>(uu >> 16, srcWidth - 1)];
          if (!transparent || s != key) o[k] = s;
        }
      } else {
        int64_t uu = u;
        for (int k = 0; k < count; ++k, uu += xstep) {
          const uint32_t s =
              readPixel(in, static_cast<int>(std::min<int64_t>(uu >> 16, srcWidth - 1)), srcBytes);
          if (transparent && s == key) continue;
          const uint32_t d =
              sameFormat ? s : RGBToPixel(PixelToRGB(s, srcDesc.PixelFormat), destDesc.PixelFormat);
          writePixel(out, x0 + k, bytes, d);
        }
      }
    }
    p = static_cast<int32_t>(static_cast<uint32_t>(p) + static_cast<uint32_t>(phaseStep));
    v += ystep;
  }
}
