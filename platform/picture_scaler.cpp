#include "platform/picture_scaler.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

uint32_t swapRedBlue(uint32_t p) {
  return (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
}

uint16_t argbTo565(uint32_t p) {
  return static_cast<uint16_t>(((p >> 8) & 0xF800u) | ((p >> 5) & 0x07E0u) | ((p >> 3) & 0x001Fu));
}

// The visible part of the output area and, for each of its columns and rows, the source
// pixel it shows.
struct Span {
  int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  bool empty() const { return x0 >= x1 || y0 >= y1; }
};

int sourceIndex(int offset, int picture, int extent) {
  return static_cast<int>(static_cast<int64_t>(offset) * picture / extent);
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define REEFMAW_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define REEFMAW_WIDE_VECTORS
#endif

template <typename In, typename Out, typename Convert>
REEFMAW_WIDE_VECTORS void convertRow(const In* __restrict in, Out* __restrict out, int count,
                                     Convert convert) {
  for (int x = 0; x < count; ++x) out[x] = convert(in[x]);
}

template <typename T>
REEFMAW_WIDE_VECTORS void gatherRow(const T* __restrict row, T* __restrict out,
                                    const int32_t* __restrict columns, int count) {
  for (int x = 0; x < count; ++x) out[x] = row[columns[x]];
}

// Writes one row of converted and scaled pixels per visible output row. A row that shows
// the same source row as the one above is a copy of it; a picture shown at its own width
// is converted straight into the target.
template <typename In, typename Out, typename Convert>
void drawRows(const PixelSource& source, const PixelTarget& target, const PresentRect& area,
              const Span& span, const std::vector<int32_t>& columns, std::vector<uint32_t>& row,
              Convert convert) {
  const int visible = span.x1 - span.x0;
  const bool sameWidth = area.width == source.width;
  const int firstColumn = columns.front();
  Out* scratch = reinterpret_cast<Out*>(row.data());
  const auto* sourceBytes = static_cast<const uint8_t*>(source.pixels);
  auto* targetBytes = static_cast<uint8_t*>(target.pixels);
  int previousSourceRow = -1;
  const Out* previous = nullptr;
  for (int y = span.y0; y < span.y1; ++y) {
    Out* out =
        reinterpret_cast<Out*>(targetBytes + static_cast<size_t>(y) * target.pitch) + span.x0;
    const int sourceRow = sourceIndex(y - area.y, source.height, area.height);
    if (sourceRow == previousSourceRow) {
      std::memcpy(out, previous, static_cast<size_t>(visible) * sizeof(Out));
    } else {
      const In* in =
          reinterpret_cast<const In*>(sourceBytes + static_cast<size_t>(sourceRow) * source.pitch);
      if (sameWidth) {
        convertRow(in + firstColumn, out, visible, convert);
      } else {
        convertRow(in, scratch, source.width, convert);
        gatherRow(scratch, out, columns.data(), visible);
      }
    }
    previousSourceRow = sourceRow;
    previous = out;
  }
}

}  // namespace

uint32_t rgb565ToXrgb(uint16_t pixel) {
  const uint32_t r = pixel >> 11;
  const uint32_t g = (pixel >> 5) & 0x3Fu;
  const uint32_t b = pixel & 0x1Fu;
  return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

void PictureScaler::draw(const PixelSource& source, const PixelTarget& target,
                         const PresentRect& area) {
  if (target.layout == SurfaceLayout::Other || source.pixels == nullptr ||
      target.pixels == nullptr || source.width <= 0 || source.height <= 0 || area.width <= 0 ||
      area.height <= 0) {
    return;
  }
  Span span;
  span.x0 = std::max(area.x, 0);
  span.x1 = std::min(area.x + area.width, target.width);
  span.y0 = std::max(area.y, 0);
  span.y1 = std::min(area.y + area.height, target.height);
  if (span.empty()) return;
  columns_.resize(static_cast<size_t>(span.x1 - span.x0));
  for (int x = span.x0; x < span.x1; ++x) {
    columns_[static_cast<size_t>(x - span.x0)] = sourceIndex(x - area.x, source.width, area.width);
  }
  row_.resize(static_cast<size_t>(source.width));

  const bool from565 = source.format == PixelFormat::RGB565;
  switch (target.layout) {
    case SurfaceLayout::XRGB8888:
      if (from565) {
        drawRows<uint16_t, uint32_t>(source, target, area, span, columns_, row_,
                                     [](uint16_t p) { return kOpaque | rgb565ToXrgb(p); });
      } else {
        drawRows<uint32_t, uint32_t>(source, target, area, span, columns_, row_,
                                     [](uint32_t p) { return kOpaque | p; });
      }
      break;
    case SurfaceLayout::XBGR8888:
      if (from565) {
        drawRows<uint16_t, uint32_t>(source, target, area, span, columns_, row_, [](uint16_t p) {
          return kOpaque | swapRedBlue(rgb565ToXrgb(p));
        });
      } else {
        drawRows<uint32_t, uint32_t>(source, target, area, span, columns_, row_,
                                     [](uint32_t p) { return kOpaque | swapRedBlue(p); });
      }
      break;
    case SurfaceLayout::RGB565:
      if (from565) {
        drawRows<uint16_t, uint16_t>(source, target, area, span, columns_, row_,
                                     [](uint16_t p) { return p; });
      } else {
        drawRows<uint32_t, uint16_t>(source, target, area, span, columns_, row_, argbTo565);
      }
      break;
    case SurfaceLayout::Other:
      break;
  }
}

void fillOutside(const PixelTarget& target, const PresentRect& area) {
  if (target.pixels == nullptr || target.layout == SurfaceLayout::Other) return;
  const size_t bytes = target.layout == SurfaceLayout::RGB565 ? 2 : 4;
  const int x0 = std::clamp(area.x, 0, target.width);
  const int x1 = std::clamp(area.x + area.width, x0, target.width);
  const int y0 = std::clamp(area.y, 0, target.height);
  const int y1 = std::clamp(area.y + area.height, y0, target.height);
  auto* base = static_cast<uint8_t*>(target.pixels);
  for (int y = 0; y < target.height; ++y) {
    uint8_t* row = base + static_cast<size_t>(y) * target.pitch;
    if (y < y0 || y >= y1 || x0 == x1) {
      std::memset(row, 0, static_cast<size_t>(target.width) * bytes);
    } else {
      std::memset(row, 0, static_cast<size_t>(x0) * bytes);
      std::memset(row + x1 * bytes, 0, static_cast<size_t>(target.width - x1) * bytes);
    }
  }
}

}  // namespace platform
