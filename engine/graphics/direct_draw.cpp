#include "engine/graphics/direct_draw.h"

#include <algorithm>
#include <bit>

#include "engine/graphics/direct_draw_surface.h"

TDDPixelFormat PixelFormat565() { return TDDPixelFormat{16, 0xF800, 0x07E0, 0x001F}; }
TDDPixelFormat PixelFormat555() { return TDDPixelFormat{16, 0x7C00, 0x03E0, 0x001F}; }
TDDPixelFormat PixelFormat888(int bitCount) {
  return TDDPixelFormat{bitCount, 0xFF0000, 0x00FF00, 0x0000FF};
}
TDDPixelFormat PixelFormatIndexed(int bitCount) { return TDDPixelFormat{bitCount, 0, 0, 0}; }

namespace {

uint32_t toChannel(uint32_t value8, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const uint32_t v = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
  return (v << shift) & mask;
}

uint32_t fromChannel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const uint32_t v = (pixel & mask) >> shift;
  return bits >= 8 ? v >> (bits - 8) : v << (8 - bits);
}

}  // namespace

uint32_t RGBToPixel(uint32_t rgb, const TDDPixelFormat& format) {
  if (format.BitCount <= 8) return 0;
  return toChannel((rgb >> 16) & 0xFF, format.RBitMask) |
         toChannel((rgb >> 8) & 0xFF, format.GBitMask) | toChannel(rgb & 0xFF, format.BBitMask);
}

uint32_t PixelToRGB(uint32_t pixel, const TDDPixelFormat& format) {
  if (format.BitCount <= 8) return 0;
  return (fromChannel(pixel, format.RBitMask) << 16) | (fromChannel(pixel, format.GBitMask) << 8) |
         fromChannel(pixel, format.BBitMask);
}

uint32_t ColorToRGB(uint32_t color) {
  // System colours (high byte 0x80, the low byte the colour's index) as a classic
  // Windows desktop showed them.
  static constexpr uint32_t kSystemColors[] = {
      0xC0C0C0, 0x3A6EA5, 0x000080, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000,
      0x000000, 0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8,
      0x808080, 0x808080, 0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000,
      0xFFFFE1, 0xB5B5B5, 0x0000FF, 0xA6CAF0, 0xC0C0C0};
  if ((color & 0xFF000000u) == 0x80000000u) {
    const uint32_t index = color & 0xFF;
    return index < std::size(kSystemColors) ? kSystemColors[index] : 0;
  }
  // 0x00BBGGRR to 0x00RRGGBB.
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

TDirectDraw::TDirectDraw(platform::TextRenderer* text, TDDPixelFormat displayFormat)
    : text_(text), displayFormat_(displayFormat) {}

TDirectDraw::~TDirectDraw() {
  // Each list from its last element to its first; the owners keep their objects, which
  // are left without memory and without a device.
  while (!surfaces_.empty()) {
    TDirectDrawSurface* surface = surfaces_.back();
    surface->ReleaseISurface();
    surface->ddraw_ = nullptr;
    surfaces_.pop_back();
  }
  while (!palettes_.empty()) {
    palettes_.back()->Detach();
    palettes_.pop_back();
  }
  while (!clippers_.empty()) {
    clippers_.back()->Detach();
    clippers_.pop_back();
  }
}

std::shared_ptr<TSurfaceMemory> TDirectDraw::CreateSurfaceMemory(int width, int height,
                                                                 bool systemMemory) {
  if (width <= 0 || height <= 0) {
    SetResult(DDERR_INVALIDPARAMS);
    return nullptr;
  }
  const int64_t pitch = ((int64_t{displayFormat_.BitCount} * width + 31) / 32) * 4;
  const int64_t bytes = pitch * height;
  if (bytes > kMaxSurfaceBytes) {
    SetResult(DDERR_OUTOFMEMORY);
    return nullptr;
  }
  if (!systemMemory && displayMemoryBudget_ >= 0 &&
      *displayMemoryUsed_ + bytes > displayMemoryBudget_) {
    SetResult(DDERR_OUTOFVIDEOMEMORY);
    return nullptr;
  }
  std::shared_ptr<TSurfaceMemory> memory;
  if (systemMemory) {
    memory = std::make_shared<TSurfaceMemory>();
  } else {
    // Display memory is counted until the last surface sharing it lets it go, which may
    // be after the device has gone.
    std::shared_ptr<int64_t> used = displayMemoryUsed_;
    *used += bytes;
    memory = std::shared_ptr<TSurfaceMemory>(new TSurfaceMemory, [used, bytes](TSurfaceMemory* m) {
      *used -= bytes;
      delete m;
    });
  }
  memory->Width = width;
  memory->Height = height;
  memory->Pitch = static_cast<int>(pitch);
  memory->Format = displayFormat_;
  memory->SystemMemory = systemMemory;
  memory->Pixels.assign(static_cast<size_t>(bytes), 0);
  SetResult(DD_OK);
  return memory;
}

void TDirectDraw::MarkSurfacesLost() {
  for (TDirectDrawSurface* surface : surfaces_) {
    if (surface->memory_) surface->memory_->Lost = true;
  }
}

TDirectDrawPalette::TDirectDrawPalette(TDirectDraw* ddraw) : ddraw_(ddraw) {
  if (ddraw_ != nullptr) ddraw_->palettes_.push_back(this);
}

TDirectDrawPalette::~TDirectDrawPalette() {
  if (ddraw_ != nullptr) std::erase(ddraw_->palettes_, this);
}

bool TDirectDrawPalette::SetEntries(int start, const TPaletteEntry32* entries, int count) {
  if (start < 0 || count < 0 || start + count > 256 || entries == nullptr) {
    SetResult(DDERR_INVALIDPARAMS);
    return false;
  }
  std::copy(entries, entries + count, entries_.begin() + start);
  SetResult(DD_OK);
  return true;
}

TDirectDrawClipper::TDirectDrawClipper(TDirectDraw* ddraw) : ddraw_(ddraw) {
  if (ddraw_ != nullptr) ddraw_->clippers_.push_back(this);
}

TDirectDrawClipper::~TDirectDrawClipper() {
  if (ddraw_ != nullptr) std::erase(ddraw_->clippers_, this);
}
