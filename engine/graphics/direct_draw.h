#pragma once
// The display device and what it makes: the pixel memory that stands where the display
// hardware's surfaces stood, palettes and clippers. The device keeps lists of the
// surfaces, palettes and clippers made on it; it does not own the surfaces (their owners
// hold them) but detaches every one still on it when it goes.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/timer/direct_x.h"
#include "engine/timer/geometry.h"

namespace platform {
class TextRenderer;
}

class TDirectDrawSurface;
class TDirectDrawPalette;
class TDirectDrawClipper;

// Result codes of the operations (0 is success).
inline constexpr int32_t DD_OK = 0;
inline constexpr int32_t DDERR_GENERIC = static_cast<int32_t>(0x80004005);
inline constexpr int32_t DDERR_INVALIDPARAMS = static_cast<int32_t>(0x80070057);
inline constexpr int32_t DDERR_OUTOFMEMORY = static_cast<int32_t>(0x8007000E);
inline constexpr int32_t DDERR_INVALIDRECT = static_cast<int32_t>(0x88760096);
inline constexpr int32_t DDERR_SURFACEBUSY = static_cast<int32_t>(0x887601AE);
inline constexpr int32_t DDERR_SURFACELOST = static_cast<int32_t>(0x887601C2);
inline constexpr int32_t DDERR_NOTLOCKED = static_cast<int32_t>(0x887601E8);
inline constexpr int32_t DDERR_CLIPPERISUSINGHWND = static_cast<int32_t>(0x88760239);
inline constexpr int32_t DDERR_OUTOFVIDEOMEMORY = static_cast<int32_t>(0x8876017C);

class EDirectDrawError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};
class EDirectDrawSurfaceError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};
class EDirectDrawPaletteError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};
class EDirectDrawClipperError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};

inline constexpr const char* SCannotMadeSurface = "%s cannot be made";
inline constexpr const char* SSinceDirectX6 = "Necessary since DirectX 6";
inline constexpr const char* SSinceDirectX7 = "Necessary since DirectX 7";

// Bits of one pixel: the bit count and, for 16 bits and more, the channel masks.
struct TDDPixelFormat {
  int BitCount = 16;
  uint32_t RBitMask = 0xF800;
  uint32_t GBitMask = 0x07E0;
  uint32_t BBitMask = 0x001F;
  bool operator==(const TDDPixelFormat&) const = default;
};

TDDPixelFormat PixelFormat565();
TDDPixelFormat PixelFormat555();
TDDPixelFormat PixelFormat888(int bitCount);      // 24 or 32 bits
TDDPixelFormat PixelFormatIndexed(int bitCount);  // 1, 4 or 8 bits

// An 8-bit-per-channel colour (0x00RRGGBB) as a pixel of the format: each channel keeps
// its top bits. Formats of 8 bits or fewer give 0.
uint32_t RGBToPixel(uint32_t rgb, const TDDPixelFormat& format);
// The way back, each channel's bits at the top of its 8 bits.
uint32_t PixelToRGB(uint32_t pixel, const TDDPixelFormat& format);
// A colour value (0x00BBGGRR, or a system-colour code) as 0x00RRGGBB.
uint32_t ColorToRGB(uint32_t color);

// The pixel memory of a surface, as the device makes it.
struct TSurfaceMemory {
  int Width = 0;
  int Height = 0;
  int Pitch = 0;
  TDDPixelFormat Format;
  bool SystemMemory = false;
  bool Lost = false;
  uint32_t ColorKey = 0;
  TDirectDrawClipper* Clipper = nullptr;
  TDirectDrawPalette* Palette = nullptr;
  std::vector<uint8_t> Pixels;
  uint8_t* Row(int y) {
    return Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Pitch);
  }
};

// The largest surface the device makes, in bytes.
inline constexpr int64_t kMaxSurfaceBytes = int64_t{1} << 28;

class TDirectDraw : public TDirectX {
 public:
  // text draws the canvases' text (none: text is not drawn); displayFormat is the format
  // of every surface made on the device.
  explicit TDirectDraw(platform::TextRenderer* text,
                       TDDPixelFormat displayFormat = PixelFormat565());
  ~TDirectDraw() override;
  TDirectDraw(const TDirectDraw&) = delete;
  TDirectDraw& operator=(const TDirectDraw&) = delete;

  const TDDPixelFormat& DisplayFormat() const { return displayFormat_; }
  platform::TextRenderer* TextRenderer() const { return text_; }

  // New pixel memory in the display format, filled with 0; none (and the result code set)
  // when it cannot be made. A display-memory budget below 0 means unlimited.
  std::shared_ptr<TSurfaceMemory> CreateSurfaceMemory(int width, int height, bool systemMemory);
  // Limits the bytes of display memory (for tests of the system-memory retry).
  void SetDisplayMemoryBudget(int64_t bytes) { displayMemoryBudget_ = bytes; }
  // Marks every surface of the device lost, as when the display's textures were reset.
  void MarkSurfacesLost();
  int64_t DisplayMemoryUsed() const { return *displayMemoryUsed_; }

  int SurfaceCount() const { return static_cast<int>(surfaces_.size()); }
  TDirectDrawSurface* Surfaces(int index) const { return surfaces_[static_cast<size_t>(index)]; }
  int PaletteCount() const { return static_cast<int>(palettes_.size()); }
  int ClipperCount() const { return static_cast<int>(clippers_.size()); }

 private:
  friend class TDirectDrawSurface;
  friend class TDirectDrawPalette;
  friend class TDirectDrawClipper;

  platform::TextRenderer* text_;
  TDDPixelFormat displayFormat_;
  int64_t displayMemoryBudget_ = -1;
  std::shared_ptr<int64_t> displayMemoryUsed_ = std::make_shared<int64_t>(0);
  std::vector<TDirectDrawSurface*> surfaces_;
  std::vector<TDirectDrawPalette*> palettes_;
  std::vector<TDirectDrawClipper*> clippers_;
};

// One palette entry as the device takes it: red, green, blue, flags.
struct TPaletteEntry32 {
  uint8_t peRed = 0;
  uint8_t peGreen = 0;
  uint8_t peBlue = 0;
  uint8_t peFlags = 0;
  bool operator==(const TPaletteEntry32&) const = default;
};

// A 256-entry palette on a device; it only matters on displays of 8 bits per pixel.
class TDirectDrawPalette : public TDirectX {
 public:
  explicit TDirectDrawPalette(TDirectDraw* ddraw);
  ~TDirectDrawPalette() override;
  TDirectDrawPalette(const TDirectDrawPalette&) = delete;
  TDirectDrawPalette& operator=(const TDirectDrawPalette&) = delete;

  bool SetEntries(int start, const TPaletteEntry32* entries, int count);
  const std::array<TPaletteEntry32, 256>& Entries() const { return entries_; }
  void Detach() { ddraw_ = nullptr; }

 private:
  TDirectDraw* ddraw_;
  std::array<TPaletteEntry32, 256> entries_{};
};

// A clip list bound to a window; copies onto a surface that has one are limited to it.
class TDirectDrawClipper : public TDirectX {
 public:
  explicit TDirectDrawClipper(TDirectDraw* ddraw);
  ~TDirectDrawClipper() override;
  TDirectDrawClipper(const TDirectDrawClipper&) = delete;
  TDirectDrawClipper& operator=(const TDirectDrawClipper&) = delete;

  // The window's client area in the surface's pixels.
  void SetClipRect(const TRect& rect) { clip_ = rect; }
  const TRect& ClipRect() const { return clip_; }
  void Detach() { ddraw_ = nullptr; }

 private:
  TDirectDraw* ddraw_;
  TRect clip_{0, 0, 0x3FFFFFFF, 0x3FFFFFFF};
};
