#pragma once
// Rectangles and the small integer helpers the engine shares.

#include <cstdint>

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

inline TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  return TRect{left, top, left + width, top + height};
}

inline int32_t MaxInt32(int32_t a, int32_t b) { return a > b ? a : b; }
inline int32_t MinInt32(int32_t a, int32_t b) { return a < b ? a : b; }

// A rectangle without width or height (or turned inside out) covers no pixel.
inline bool IsEmptyRect(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

// Two rectangles overlap when each one's left is left of the other's right and each
// one's top above the other's bottom. An empty rectangle overlaps nothing, even with its
// corner inside the other.
inline bool OverlapRect(const TRect& a, const TRect& b) {
  return !IsEmptyRect(a) && !IsEmptyRect(b) && a.Left < b.Right && b.Left < a.Right &&
         a.Top < b.Bottom && b.Top < a.Bottom;
}
