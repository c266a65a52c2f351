#include "engine/graphics/direct_draw_surface.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "engine/graphics/dib.h"
#include "engine/graphics/pixel_rows.h"
#include "framework/bitmap.h"

namespace {

int bytesPerPixel(const TDDPixelFormat& format) { return format.BitCount / 8; }

bool nonEmpty(const TRect& r) { return r.Left < r.Right && r.Top < r.Bottom; }

bool inside(const TRect& r, int width, int height) {
  return r.Left >= 0 && r.Top >= 0 && r.Right <= width && r.Bottom <= height && r.Left <= r.Right &&
         r.Top <= r.Bottom;
}

uint32_t readPixel(const uint8_t* p, int bytes) { return GetLE(p, bytes); }

void writePixel(uint8_t* p, int bytes, uint32_t value) { SetLE(p, bytes, value); }

// The colour-keyed row copy of the display format, written so that the compiler can
// turn it into vector blends.
void keyedRow16(uint16_t* dest, const uint16_t* src, int count, uint16_t key) {
  for (int i = 0; i < count; ++i) {
    const uint16_t s = src[i];
    dest[i] = s == key ? dest[i] : s;
  }
}

void keyedRow32(uint32_t* dest, const uint32_t* src, int count, uint32_t key) {
  for (int i = 0; i < count; ++i) {
    const uint32_t s = src[i];
    dest[i] = s == key ? dest[i] : s;
  }
}

// The clip rule: the destination first, then the source, left and top before right and
// bottom, each cut moving the other rectangle's matching edge by the same amount.
bool clipPair(TRect& d, TRect& s, const TRect& dc, const TRect& sc) {
  if (d.Left < dc.Left) {
    s.Left += dc.Left - d.Left;
    d.Left = dc.Left;
  }
  if (d.Top < dc.Top) {
    s.Top += dc.Top - d.Top;
    d.Top = dc.Top;
  }
  if (s.Left < sc.Left) {
    d.Left += sc.Left - s.Left;
    s.Left = sc.Left;
  }
  if (s.Top < sc.Top) {
    d.Top += sc.Top - s.Top;
    s.Top = sc.Top;
  }
  if (dc.Right < d.Right) {
    s.Right -= d.Right - dc.Right;
    d.Right = dc.Right;
  }
  if (dc.Bottom < d.Bottom) {
    s.Bottom -= d.Bottom - dc.Bottom;
    d.Bottom = dc.Bottom;
  }
  if (sc.Right < s.Right) {
    d.Right -= s.Right - sc.Right;
    s.Right = sc.Right;
  }
  if (sc.Bottom < s.Bottom) {
    d.Bottom -= s.Bottom - sc.Bottom;
    s.Bottom = sc.Bottom;
  }
  return nonEmpty(d) && nonEmpty(s);
}

}  // namespace

TDirectDrawSurface::TDirectDrawSurface(TDirectDraw* ddraw) : ddraw_(ddraw) {
  if (ddraw_ != nullptr) ddraw_->surfaces_.push_back(this);
}

TDirectDrawSurface::~TDirectDrawSurface() {
  canvas_.reset();
  ReleaseISurface();
  if (ddraw_ != nullptr) std::erase(ddraw_->surfaces_, this);
}

TDDPixelFormat TDirectDrawSurface::PixelFormat() const {
  if (memory_) return memory_->Format;
  return ddraw_ != nullptr ? ddraw_->DisplayFormat() : PixelFormat565();
}

TSurfaceMemory& TDirectDrawSurface::ISurface() {
  if (!memory_) throw EDirectDrawSurfaceError(Format(SNotMade, "IDirectDrawSurface"));
  return *memory_;
}

void TDirectDrawSurface::SetISurface(std::shared_ptr<TSurfaceMemory> memory) {
  if (!memory || memory == memory_) return;
  ReleaseISurface();
  memory_ = std::move(memory);
  hasClipper_ = memory_->Clipper != nullptr;
}

void TDirectDrawSurface::ReleaseISurface() {
  if (canvas_) canvas_->Release();
  memory_.reset();
  hasClipper_ = false;
  lockCount_ = 0;
}

bool TDirectDrawSurface::usable(int32_t* failure) {
  int32_t code = DD_OK;
  if (!memory_) {
    code = DDERR_GENERIC;
  } else if (memory_->Lost) {
    code = DDERR_SURFACELOST;
  } else if (lockCount_ > 0) {
    code = DDERR_SURFACEBUSY;
  }
  if (failure != nullptr) *failure = code;
  return code == DD_OK;
}

void TDirectDrawSurface::SetSize(int width, int height) {
  if (width <= 0 || height <= 0) return;
  std::shared_ptr<TSurfaceMemory> memory;
  if (ddraw_ != nullptr) {
    memory = ddraw_->CreateSurfaceMemory(width, height, SystemMemory);
    if (!memory && !SystemMemory) {
      // Display memory ran out: the same surface in system memory will do.
      memory = ddraw_->CreateSurfaceMemory(width, height, true);
      if (memory) SystemMemory = true;
    }
    SetResult(ddraw_->LastResult());
  }
  if (!memory) throw EDirectDrawSurfaceError(Format(SCannotMadeSurface, "Surface"));
  memory->ColorKey = 0;
  SetISurface(std::move(memory));
}

void TDirectDrawSurface::LoadGraphic(const TGraphic& graphic) {
  LoadGraphicRect(graphic, TRect{0, 0, graphic.Width(), graphic.Height()});
}

void TDirectDrawSurface::LoadGraphicRect(const TGraphic& graphic, const TRect& rect, int width,
                                         int height) {
  if (width == 0) width = rect.Width();
  if (height == 0) height = rect.Height();
  if (width <= 0 || height <= 0) return;
  SetSize(width, height);
  TSurfaceMemory& memory = ISurface();
  // Pictures are converted for every surface whenever the display starts: a bitmap's own
  // pixels are read where they are rather than copied first.
  std::vector<uint32_t> converted;
  const uint32_t* rgb = graphic.RGB32Pixels();
  if (rgb == nullptr) {
    graphic.ToRGB32(converted);
    rgb = converted.data();
  }
  const int gw = graphic.Width();
  const int gh = graphic.Height();
  const int bytes = bytesPerPixel(memory.Format);
  if (bytes == 0) return;
  // The display format's conversion written out, as it runs for every pixel of every
  // picture whenever the display starts.
  const bool is565 = memory.Format == PixelFormat565();
  // Nearest-pixel stretch; picture pixels outside the graphic come out black.
  std::vector<int> columns(static_cast<size_t>(width));
  for (int x = 0; x < width; ++x) {
    columns[static_cast<size_t>(x)] =
        rect.Left + static_cast<int>(int64_t{x} * rect.Width() / width);
  }
  for (int y = 0; y < height; ++y) {
    const int sy = rect.Top + static_cast<int>(int64_t{y} * rect.Height() / height);
    uint8_t* out = memory.Row(y);
    // The picture's row, or none above or below it.
    const uint32_t* row =
        sy >= 0 && sy < gh ? rgb + static_cast<size_t>(sy) * static_cast<size_t>(gw) : nullptr;
    if (is565 && row != nullptr && width == rect.Width() && rect.Left >= 0 &&
        rect.Left + width <= gw) {
      // Unstretched and wholly inside the picture, as every picture of the game is: a plain
      // loop the compiler turns into vector code.
      const uint32_t* source = row + rect.Left;
      for (int x = 0; x < width; ++x) {
        const uint32_t c = source[x];
        const uint32_t value = ((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x001F);
        out[2 * std::ptrdiff_t{x}] = static_cast<uint8_t>(value);
        out[2 * std::ptrdiff_t{x} + 1] = static_cast<uint8_t>(value >> 8);
      }
      continue;
    }
    for (int x = 0; x < width; ++x) {
      const int sx = columns[static_cast<size_t>(x)];
      uint32_t value = 0;
      if (row != nullptr && sx >= 0 && sx < gw) {
        const uint32_t c = row[sx];
        value = is565 ? ((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x001F)
                      : RGBToPixel(c, memory.Format);
      }
      uint8_t* p = out + std::ptrdiff_t{x} * bytes;
      if (is565) {
        // Two little-endian bytes, which the compiler stores at once.
        p[0] = static_cast<uint8_t>(value);
        p[1] = static_cast<uint8_t>(value >> 8);
      } else {
        writePixel(p, bytes, value);
      }
    }
  }
  ReleaseCanvas();
}

uint32_t TDirectDrawSurface::MatchColor(uint32_t color) {
  if (!memory_) return 0;
  return RGBToPixel(ColorToRGB(color), memory_->Format);
}

void TDirectDrawSurface::SetColorKey(uint32_t value) {
  if (!memory_) {
    SetResult(DDERR_GENERIC);
    return;
  }
  memory_->ColorKey = value;
  SetResult(DD_OK);
}

// Copying.

void TDirectDrawSurface::copyRect(const TRect& d, const TRect& s, TDirectDrawSurface& source,
                                  bool keyed, bool mirrorX, bool mirrorY) {
  TSurfaceMemory& dm = *memory_;
  TSurfaceMemory& sm = *source.memory_;
  const int bytes = bytesPerPixel(dm.Format);
  const int dw = d.Width();
  const int dh = d.Height();
  const int sw = s.Width();
  const int sh = s.Height();
  const uint32_t key = sm.ColorKey;
  // A copy within one memory reads from a snapshot so that overlapping parts come out
  // as they were before the copy.
  std::vector<uint8_t> snapshot;
  const uint8_t* srcBase = sm.Pixels.data();
  if (&dm == &sm) {
    snapshot = sm.Pixels;
    srcBase = snapshot.data();
  }
  auto srcRow = [&](int y) {
    return srcBase + static_cast<size_t>(y) * static_cast<size_t>(sm.Pitch);
  };

  if (dw == sw && dh == sh && !mirrorX) {
    for (int row = 0; row < dh; ++row) {
      const int sy = mirrorY ? s.Bottom - 1 - row : s.Top + row;
      uint8_t* out = dm.Row(d.Top + row) + std::ptrdiff_t{d.Left} * bytes;
      const uint8_t* in = srcRow(sy) + std::ptrdiff_t{s.Left} * bytes;
      if (!keyed) {
        std::memcpy(out, in, static_cast<size_t>(dw) * static_cast<size_t>(bytes));
      } else if (bytes == 2) {
        // Rows of 16-bit memory are 2-aligned (pitches are multiples of 4).
        keyedRow16(reinterpret_cast<uint16_t*>(out), reinterpret_cast<const uint16_t*>(in), dw,
                   static_cast<uint16_t>(key));
      } else if (bytes == 4) {
        keyedRow32(reinterpret_cast<uint32_t*>(out), reinterpret_cast<const uint32_t*>(in), dw,
                   key);
      } else {
        for (int x = 0; x < dw; ++x) {
          const uint32_t v = readPixel(in + std::ptrdiff_t{x} * bytes, bytes);
          if (v != key) writePixel(out + std::ptrdiff_t{x} * bytes, bytes, v);
        }
      }
    }
    return;
  }
  for (int row = 0; row < dh; ++row) {
    const int offY = static_cast<int>(int64_t{row} * sh / dh);
    const int sy = mirrorY ? s.Bottom - 1 - offY : s.Top + offY;
    uint8_t* out = dm.Row(d.Top + row) + std::ptrdiff_t{d.Left} * bytes;
    const uint8_t* in = srcRow(sy);
    for (int x = 0; x < dw; ++x) {
      const int offX = static_cast<int>(int64_t{x} * sw / dw);
      const int sx = mirrorX ? s.Right - 1 - offX : s.Left + offX;
      const uint32_t v = readPixel(in + std::ptrdiff_t{sx} * bytes, bytes);
      if (!keyed || v != key) writePixel(out + std::ptrdiff_t{x} * bytes, bytes, v);
    }
  }
}

bool TDirectDrawSurface::Blt(const TRect* dest, const TRect* src, uint32_t flags,
                             const TDDBltFX& fx, TDirectDrawSurface* source) {
  int32_t failure = DD_OK;
  if (!usable(&failure)) {
    SetResult(failure);
    return false;
  }
  TRect d = dest != nullptr ? *dest : ClipRect();
  if (!inside(d, Width(), Height())) {
    SetResult(DDERR_INVALIDRECT);
    return false;
  }
  if ((flags & DDBLT_COLORFILL) != 0) {
    const int bytes = bytesPerPixel(memory_->Format);
    if (hasClipper_) {
      const TRect& c = memory_->Clipper->ClipRect();
      d = TRect{std::max(d.Left, c.Left), std::max(d.Top, c.Top), std::min(d.Right, c.Right),
                std::min(d.Bottom, c.Bottom)};
    }
    if (bytes == 0) {
      SetResult(DDERR_INVALIDPARAMS);
      return false;
    }
    for (int y = d.Top; y < d.Bottom; ++y) {
      uint8_t* out = memory_->Row(y);
      const auto color16 = static_cast<uint16_t>(fx.dwFillColor);
      if (bytes == 2 && (color16 & 0xFF) == color16 >> 8) {
        // Both bytes alike (black above all, which clears every frame): a byte fill.
        std::memset(out + std::ptrdiff_t{d.Left} * 2, color16 & 0xFF,
                    static_cast<size_t>(std::max(d.Width(), 0)) * 2);
      } else if (bytes == 2) {
        std::fill_n(reinterpret_cast<uint16_t*>(out) + d.Left, std::max(d.Width(), 0), color16);
      } else {
        for (int x = d.Left; x < d.Right; ++x)
          writePixel(out + std::ptrdiff_t{x} * bytes, bytes, fx.dwFillColor);
      }
    }
    SetResult(DD_OK);
    return true;
  }
  if (source == nullptr || !source->memory_ || source->memory_->Lost) {
    SetResult(source != nullptr && source->memory_ ? DDERR_SURFACELOST : DDERR_INVALIDPARAMS);
    return false;
  }
  if (source != this && source->lockCount_ > 0) {
    SetResult(DDERR_SURFACEBUSY);
    return false;
  }
  TRect s = src != nullptr ? *src : source->ClipRect();
  if (!inside(s, source->Width(), source->Height()) || !(source->PixelFormat() == PixelFormat()) ||
      bytesPerPixel(PixelFormat()) == 0) {
    SetResult(DDERR_INVALIDRECT);
    return false;
  }
  if (!nonEmpty(d) || !nonEmpty(s)) {
    SetResult(DD_OK);
    return true;
  }
  const bool mirrorX = (flags & DDBLT_DDFX) != 0 && (fx.dwDDFX & DDBLTFX_MIRRORLEFTRIGHT) != 0;
  const bool mirrorY = (flags & DDBLT_DDFX) != 0 && (fx.dwDDFX & DDBLTFX_MIRRORUPDOWN) != 0;
  const bool keyed = (flags & DDBLT_KEYSRC) != 0;
  if (hasClipper_) {
    // The clip list cuts the destination; the source keeps its scale.
    const TRect& c = memory_->Clipper->ClipRect();
    const TRect cut{std::max(d.Left, c.Left), std::max(d.Top, c.Top), std::min(d.Right, c.Right),
                    std::min(d.Bottom, c.Bottom)};
    if (!nonEmpty(cut)) {
      SetResult(DD_OK);
      return true;
    }
    if (!(cut == d)) {
      // Copy through a stretched intermediate only for the visible part.
      const int64_t dw = d.Width(), dh = d.Height();
      auto mapX = [&](int x) { return static_cast<int>((x - d.Left) * int64_t{s.Width()} / dw); };
      auto mapY = [&](int y) { return static_cast<int>((y - d.Top) * int64_t{s.Height()} / dh); };
      if (d.Width() == s.Width() && d.Height() == s.Height()) {
        TRect cs = s;
        if (mirrorX) {
          cs.Left = s.Right - (cut.Right - d.Left);
          cs.Right = s.Right - (cut.Left - d.Left);
        } else {
          cs.Left = s.Left + mapX(cut.Left);
          cs.Right = s.Left + mapX(cut.Right);
        }
        if (mirrorY) {
          cs.Top = s.Bottom - (cut.Bottom - d.Top);
          cs.Bottom = s.Bottom - (cut.Top - d.Top);
        } else {
          cs.Top = s.Top + mapY(cut.Top);
          cs.Bottom = s.Top + mapY(cut.Bottom);
        }
        copyRect(cut, cs, *source, keyed, mirrorX, mirrorY);
        SetResult(DD_OK);
        return true;
      }
      d = cut;
    }
  }
  copyRect(d, s, *source, keyed, mirrorX, mirrorY);
  SetResult(DD_OK);
  return true;
}

bool TDirectDrawSurface::BltFast(int x, int y, const TRect& src, uint32_t flags,
                                 TDirectDrawSurface* source) {
  int32_t failure = DD_OK;
  if (!usable(&failure)) {
    SetResult(failure);
    return false;
  }
  if (memory_->Clipper != nullptr) {
    SetResult(DDERR_CLIPPERISUSINGHWND);
    return false;
  }
  if (source == nullptr || !source->memory_ || source->memory_->Lost ||
      (source != this && source->lockCount_ > 0)) {
    SetResult(source != nullptr && source->memory_ ? DDERR_SURFACELOST : DDERR_INVALIDPARAMS);
    return false;
  }
  const TRect d{x, y, x + src.Width(), y + src.Height()};
  if (!inside(src, source->Width(), source->Height()) || !inside(d, Width(), Height()) ||
      !(source->PixelFormat() == PixelFormat()) || bytesPerPixel(PixelFormat()) == 0) {
    SetResult(DDERR_INVALIDRECT);
    return false;
  }
  if (nonEmpty(d)) copyRect(d, src, *source, (flags & DDBLTFAST_SRCCOLORKEY) != 0, false, false);
  SetResult(DD_OK);
  return true;
}

void TDirectDrawSurface::BlitFrom(int x, int y, const TRect& src, TDirectDrawSurface* source,
                                  bool transparent) {
  if (source == nullptr || x > Width() || y > Height()) return;
  const uint32_t fastFlags = DDBLTFAST_WAIT | (transparent ? DDBLTFAST_SRCCOLORKEY : 0u);
  const uint32_t bltFlags = DDBLT_WAIT | (transparent ? DDBLT_KEYSRC : 0u);
  TDDBltFX fx;
  TRect s = src;
  if (s.Right >= s.Left && s.Bottom >= s.Top) {
    TRect d{x, y, x + s.Width(), y + s.Height()};
    if (!clipPair(d, s, ClipRect(), source->ClipRect())) return;
    if (hasClipper_) {
      Blt(&d, &s, bltFlags, fx, source);
      return;
    }
    if (!BltFast(d.Left, d.Top, s, fastFlags, source) && LastResult() == DDERR_CLIPPERISUSINGHWND &&
        memory_ && memory_->Clipper != nullptr) {
      hasClipper_ = true;
      Blt(&d, &s, bltFlags, fx, source);
    }
    return;
  }
  if (std::abs(s.Left - s.Right) + x <= 0 || std::abs(s.Top - s.Bottom) + y <= 0) return;
  fx.dwDDFX = 0;
  const int sw = source->Width();
  const int sh = source->Height();
  if (s.Right < s.Left) {
    std::swap(s.Left, s.Right);
    fx.dwDDFX |= DDBLTFX_MIRRORLEFTRIGHT;
  }
  if (s.Bottom < s.Top) {
    std::swap(s.Top, s.Bottom);
    fx.dwDDFX |= DDBLTFX_MIRRORUPDOWN;
  }
  // A mirrored axis is clipped in the source's reflected coordinates, where the
  // destination's left edge meets the source's right edge; the copy then reads the
  // clipped source rectangle backwards, so the part cut off at a screen edge is the part
  // that would have been drawn there.
  const bool mirrorX = (fx.dwDDFX & DDBLTFX_MIRRORLEFTRIGHT) != 0;
  const bool mirrorY = (fx.dwDDFX & DDBLTFX_MIRRORUPDOWN) != 0;
  TRect d{x, y, x + s.Width(), y + s.Height()};
  TRect r = s;
  if (mirrorX) r.Left = sw - s.Right, r.Right = sw - s.Left;
  if (mirrorY) r.Top = sh - s.Bottom, r.Bottom = sh - s.Top;
  if (!clipPair(d, r, ClipRect(), source->ClipRect())) return;
  if (mirrorX)
    s.Left = sw - r.Right, s.Right = sw - r.Left;
  else
    s.Left = r.Left, s.Right = r.Right;
  if (mirrorY)
    s.Top = sh - r.Bottom, s.Bottom = sh - r.Top;
  else
    s.Top = r.Top, s.Bottom = r.Bottom;
  Blt(&d, &s, bltFlags | DDBLT_DDFX, fx, source);
}

bool TDirectDrawSurface::Fill(uint32_t value) {
  TDDBltFX fx;
  fx.dwFillColor = value;
  return Blt(nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, fx, nullptr);
}

bool TDirectDrawSurface::FillRect(const TRect& rect, uint32_t value) {
  const TRect d{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, Width()),
                std::min(rect.Bottom, Height())};
  if (!nonEmpty(d)) return true;
  TDDBltFX fx;
  fx.dwFillColor = value;
  return Blt(&d, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, fx, nullptr);
}

// Locking and pixels.

bool TDirectDrawSurface::Lock(const TRect* rect, TDDSurfaceDesc& desc) {
  if (!memory_ || lockCount_ > 0) return false;
  if (memory_->Lost) {
    SetResult(DDERR_SURFACELOST);
    return false;
  }
  TRect r = ClipRect();
  if (rect != nullptr && !(*rect == ClipRect())) {
    if (!inside(*rect, Width(), Height())) {
      SetResult(DDERR_INVALIDRECT);
      return false;
    }
    r = *rect;
  }
  desc = TDDSurfaceDesc{};
  desc.Width = r.Width();
  desc.Height = r.Height();
  desc.Pitch = memory_->Pitch;
  desc.PixelFormat = memory_->Format;
  desc.SystemMemory = memory_->SystemMemory;
  desc.Surface = memory_->Row(r.Top) + (int64_t{r.Left} * memory_->Format.BitCount) / 8;
  lockCount_ = 1;
  SetResult(DD_OK);
  return true;
}

void TDirectDrawSurface::Unlock() {
  if (lockCount_ <= 0) return;
  --lockCount_;
}

uint32_t TDirectDrawSurface::GetPixel(int x, int y) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  TDDSurfaceDesc desc;
  if (!Lock(desc)) return 0;
  const uint8_t* row = static_cast<const uint8_t*>(desc.Surface) +
                       static_cast<size_t>(y) * static_cast<size_t>(desc.Pitch);
  const uint32_t value = RowPixel(row, x, desc.PixelFormat.BitCount);
  Unlock();
  return value;
}

void TDirectDrawSurface::SetPixel(int x, int y, uint32_t value) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  TDDSurfaceDesc desc;
  if (!Lock(desc)) return;
  uint8_t* row = static_cast<uint8_t*>(desc.Surface) +
                 static_cast<size_t>(y) * static_cast<size_t>(desc.Pitch);
  SetRowPixel(row, x, desc.PixelFormat.BitCount, value);
  Unlock();
}

// Canvas, restoring, clippers and palettes.

TDirectDrawSurfaceCanvas& TDirectDrawSurface::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TDirectDrawSurfaceCanvas>(this);
  return *canvas_;
}

void TDirectDrawSurface::ReleaseCanvas() {
  if (canvas_) canvas_->Release();
}

bool TDirectDrawSurface::RestoreLost() {
  if (!memory_) {
    SetResult(DDERR_GENERIC);
    return false;
  }
  memory_->Lost = false;
  SetResult(DD_OK);
  return true;
}

void TDirectDrawSurface::SetClipper(TDirectDrawClipper* clipper) {
  if (!memory_) {
    SetResult(DDERR_GENERIC);
    hasClipper_ = false;
    return;
  }
  memory_->Clipper = clipper;
  hasClipper_ = clipper != nullptr;
  SetResult(DD_OK);
}

void TDirectDrawSurface::SetPalette(TDirectDrawPalette* palette) {
  if (!memory_) {
    SetResult(DDERR_GENERIC);
    return;
  }
  memory_->Palette = palette;
  SetResult(DD_OK);
}

// Assigning.

void TDirectDrawSurface::Assign(const TDirectDrawSurface* source) {
  if (source == nullptr || !source->memory_) return;
  SetISurface(source->memory_);
}

void TDirectDrawSurface::Assign(const TGraphic* graphic) {
  if (graphic == nullptr) return;
  LoadGraphic(*graphic);
}

void TDirectDrawSurface::Assign(const TPicture* picture) {
  if (picture == nullptr || picture->Graphic() == nullptr) return;
  LoadGraphic(*picture->Graphic());
}

void TDirectDrawSurface::AssignTo(TDIB& dib) {
  dib.SetSize(Width(), Height(), 24);
  if (!memory_) return;
  const TSurfaceMemory& memory = *memory_;
  const int bytes = bytesPerPixel(memory.Format);
  for (int y = 0; y < dib.Height(); ++y) {
    uint8_t* out = dib.ScanLine(y);
    const uint8_t* in =
        memory.Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(memory.Pitch);
    for (std::ptrdiff_t x = 0; x < dib.Width(); ++x) {
      const uint32_t rgb =
          bytes == 0 ? 0 : PixelToRGB(readPixel(in + x * bytes, bytes), memory.Format);
      out[3 * x] = static_cast<uint8_t>(rgb);
      out[3 * x + 1] = static_cast<uint8_t>(rgb >> 8);
      out[3 * x + 2] = static_cast<uint8_t>(rgb >> 16);
    }
  }
}
