#include "engine/sprite/pixel_overlap.h"

#include <algorithm>

#include "engine/graphics/direct_draw_surface.h"

namespace {

// One region of a locked surface: its first pixel, the row pitch and the colour key.
struct Region {
  const uint8_t* first = nullptr;
  int64_t pitch = 0;
  uint32_t key = 0;
};

template <int Bytes>
uint32_t readPixel(const uint8_t* p) {
  uint32_t value = 0;
  for (int i = 0; i < Bytes; ++i) value |= static_cast<uint32_t>(p[i]) << (8 * i);
  return value;
}

template <int Bytes>
bool anyOpaquePair(const Region& a, const Region& b, int width, int height, uint32_t mask) {
  const uint32_t keyA = a.key & mask;
  const uint32_t keyB = b.key & mask;
  for (int y = 0; y < height; ++y) {
    const uint8_t* rowA = a.first + y * a.pitch;
    const uint8_t* rowB = b.first + y * b.pitch;
    for (int x = 0; x < width; ++x) {
      if ((readPixel<Bytes>(rowA + std::ptrdiff_t{x} * Bytes) & mask) != keyA &&
          (readPixel<Bytes>(rowB + std::ptrdiff_t{x} * Bytes) & mask) != keyB) {
        return true;
      }
    }
  }
  return false;
}

bool anyOpaquePair(int bitCount, const Region& a, const Region& b, int width, int height) {
  switch (bitCount) {
    case 8:
      return anyOpaquePair<1>(a, b, width, height, 0xFFu);
    case 16:
      return anyOpaquePair<2>(a, b, width, height, 0xFFFFu);
    case 24:
      return anyOpaquePair<3>(a, b, width, height, 0xFFFFFFu);
    case 32:
      // The fourth byte of a 32-bit pixel carries no colour.
      return anyOpaquePair<4>(a, b, width, height, 0xFFFFFFu);
    default:
      return false;
  }
}

TRect unite(const TRect& a, const TRect& b) {
  return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
               std::max(a.Bottom, b.Bottom)};
}

// Unlocks the surfaces it was given when the test ends, however it ends.
class LockSet {
 public:
  ~LockSet() {
    for (TDirectDrawSurface* s : locked_) {
      if (s != nullptr) s->Unlock();
    }
  }
  bool lock(TDirectDrawSurface* surface, const TRect& rect, TDDSurfaceDesc& desc) {
    if (!surface->Lock(&rect, desc)) return false;
    locked_[count_++] = surface;
    return true;
  }

 private:
  TDirectDrawSurface* locked_[2] = {nullptr, nullptr};
  int count_ = 0;
};

}  // namespace

bool PatternsOverlap(const TRect& pattern1, TDirectDrawSurface* surface1, const TRect& pattern2,
                     TDirectDrawSurface* surface2, int64_t dx, int64_t dy) {
  // An empty pattern (a frame outside the image's patterns) overlaps nothing.
  if (IsEmptyRect(pattern1) || IsEmptyRect(pattern2)) return false;
  const int64_t w1 = pattern1.Width();
  const int64_t h1 = pattern1.Height();
  const int64_t w2 = pattern2.Width();
  const int64_t h2 = pattern2.Height();
  if (!(0 < dx + w2 && dx < w1 && 0 < dy + h2 && dy < h1)) return false;
  if (surface1 == nullptr || surface2 == nullptr) return true;

  // The shared part, in each pattern's own coordinates; the box test above keeps every
  // value here within the patterns' 32-bit sizes.
  const int32_t x1 = static_cast<int32_t>(std::max<int64_t>(dx, 0));
  const int32_t y1 = static_cast<int32_t>(std::max<int64_t>(dy, 0));
  const int32_t x2 = static_cast<int32_t>(std::max<int64_t>(-dx, 0));
  const int32_t y2 = static_cast<int32_t>(std::max<int64_t>(-dy, 0));
  const int32_t width = static_cast<int32_t>(std::min(w1 - x1, w2 - x2));
  const int32_t height = static_cast<int32_t>(std::min(h1 - y1, h2 - y2));
  if (width <= 0 || height <= 0) return false;
  const TRect region1{pattern1.Left + x1, pattern1.Top + y1, pattern1.Left + x1 + width,
                      pattern1.Top + y1 + height};
  const TRect region2{pattern2.Left + x2, pattern2.Top + y2, pattern2.Left + x2 + width,
                      pattern2.Top + y2 + height};

  LockSet locks;
  TDDSurfaceDesc desc1;
  TDDSurfaceDesc desc2;
  Region a;
  Region b;
  if (surface1 == surface2) {
    // A surface is locked once, over both regions.
    const TRect both = unite(region1, region2);
    if (!locks.lock(surface1, both, desc1)) return false;
    const int64_t bytes = desc1.PixelFormat.BitCount / 8;
    const uint8_t* base = static_cast<const uint8_t*>(desc1.Surface);
    a.first =
        base + (region1.Top - both.Top) * int64_t{desc1.Pitch} + (region1.Left - both.Left) * bytes;
    b.first =
        base + (region2.Top - both.Top) * int64_t{desc1.Pitch} + (region2.Left - both.Left) * bytes;
    a.pitch = b.pitch = desc1.Pitch;
    desc2 = desc1;
  } else {
    if (!locks.lock(surface1, region1, desc1)) return false;
    if (!locks.lock(surface2, region2, desc2)) return false;
    a.first = static_cast<const uint8_t*>(desc1.Surface);
    a.pitch = desc1.Pitch;
    b.first = static_cast<const uint8_t*>(desc2.Surface);
    b.pitch = desc2.Pitch;
  }
  if (desc1.PixelFormat.BitCount != desc2.PixelFormat.BitCount) return true;
  a.key = surface1->ColorKey();
  b.key = surface2->ColorKey();
  return anyOpaquePair(desc1.PixelFormat.BitCount, a, b, width, height);
}
