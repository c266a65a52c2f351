#pragma once
// A drawing surface: a rectangle of pixels in the display's format onto which pictures
// are copied (colour-keyed and clipped), colour is filled and text is written, and which
// the display component presents.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/graphics/direct_draw.h"
#include "engine/graphics/surface_canvas.h"
#include "engine/timer/geometry.h"

class TGraphic;
class TPicture;
class TDIB;

// What a lock gives: the first pixel of the locked part, the row pitch and the format.
struct TDDSurfaceDesc {
  int Width = 0;
  int Height = 0;
  int32_t Pitch = 0;
  TDDPixelFormat PixelFormat;
  void* Surface = nullptr;
  bool SystemMemory = false;
};

// Flags of the copy operations.
enum TDDBltFlag : uint32_t {
  DDBLT_KEYSRC = 1u << 0,
  DDBLT_WAIT = 1u << 1,
  DDBLT_COLORFILL = 1u << 2,
  DDBLT_DDFX = 1u << 3,
  DDBLTFAST_SRCCOLORKEY = 1u << 4,
  DDBLTFAST_WAIT = 1u << 5,
};
enum TDDBltFxFlag : uint32_t {
  DDBLTFX_MIRRORLEFTRIGHT = 1u << 0,
  DDBLTFX_MIRRORUPDOWN = 1u << 1,
};

// The effects record of the clipping copy.
struct TDDBltFX {
  uint32_t dwDDFX = 0;
  uint32_t dwFillColor = 0;
};

class TDirectDrawSurface : public TDirectX {
 public:
  explicit TDirectDrawSurface(TDirectDraw* ddraw);
  ~TDirectDrawSurface() override;
  TDirectDrawSurface(const TDirectDrawSurface&) = delete;
  TDirectDrawSurface& operator=(const TDirectDrawSurface&) = delete;

  TDirectDraw* DDraw() const { return ddraw_; }
  int Width() const { return memory_ ? memory_->Width : 0; }
  int Height() const { return memory_ ? memory_->Height : 0; }
  TRect ClipRect() const { return TRect{0, 0, Width(), Height()}; }
  bool HasClipper() const { return hasClipper_; }
  // Create the memory in system memory rather than display memory.
  bool SystemMemory = false;
  // The pixel format of the attached memory (the device's display format without one).
  TDDPixelFormat PixelFormat() const;

  // The attached memory; EDirectDrawSurfaceError "IDirectDrawSurface not made" without.
  TSurfaceMemory& ISurface();
  bool HasSurface() const { return memory_ != nullptr; }
  // Attaches memory (a presenter's, or a duplicate of another surface's); none, or the
  // same again, changes nothing.
  void SetISurface(std::shared_ptr<TSurfaceMemory> memory);
  // Lets go of the memory (the device is going away, or the owner is done with it).
  void ReleaseISurface();

  // A new w x h surface; w <= 0 or h <= 0 changes nothing.
  void SetSize(int width, int height);
  // Sizes the surface to w x h (0: the rectangle's size) and stretches that rectangle of
  // the picture into it.
  void LoadGraphicRect(const TGraphic& graphic, const TRect& rect, int width = 0, int height = 0);
  void LoadGraphic(const TGraphic& graphic);
  // The pixel value that a picture pixel of this colour becomes on this surface.
  uint32_t MatchColor(uint32_t color);
  void SetColorKey(uint32_t value);
  uint32_t ColorKey() const { return memory_ ? memory_->ColorKey : 0; }

  // Copies src of source to (x, y), clipped to both surfaces; colour-keyed when
  // transparent. A rectangle with Right < Left or Bottom < Top copies mirrored.
  void BlitFrom(int x, int y, const TRect& src, TDirectDrawSurface* source, bool transparent);
  bool Fill(uint32_t value);
  // Fills a rectangle (clipped) with a raw pixel value.
  bool FillRect(const TRect& rect, uint32_t value);

  // The whole surface, or the part given.
  bool Lock(const TRect* rect, TDDSurfaceDesc& desc);
  bool Lock(TDDSurfaceDesc& desc) { return Lock(nullptr, desc); }
  void Unlock();
  int LockCount() const { return lockCount_; }
  uint32_t GetPixel(int x, int y);
  void SetPixel(int x, int y, uint32_t value);

  // The text canvas; its font and brush survive ReleaseCanvas.
  TDirectDrawSurfaceCanvas& Canvas();
  void ReleaseCanvas();

  bool IsLost() const { return memory_ != nullptr && memory_->Lost; }
  // Brings lost memory back; its contents are undefined afterwards.
  bool RestoreLost();
  void SetClipper(TDirectDrawClipper* clipper);
  void SetPalette(TDirectDrawPalette* palette);

  // The clipping copy: dest and src rectangles (none: the whole surface), flags and the
  // effects record. Sizes may differ (nearest-pixel stretch).
  bool Blt(const TRect* dest, const TRect* src, uint32_t flags, const TDDBltFX& fx,
           TDirectDrawSurface* source);
  // The fast copy of src to (x, y); refuses rectangles that leave either surface.
  bool BltFast(int x, int y, const TRect& src, uint32_t flags, TDirectDrawSurface* source);

  // The wave draw: src of source scaled into the box (x, y, width, height), every row
  // shifted along a sine curve.
  void DrawWave(int x, int y, int width, int height, const TRect& src, TDirectDrawSurface* source,
                bool transparent, int amplitude, int wavelength, int phase);

  // Shares the other surface's memory; from a graphic or picture, loads the whole of it.
  void Assign(const TDirectDrawSurface* source);
  void Assign(const TGraphic* graphic);
  void Assign(const TPicture* picture);
  // The surface as a 24-bit bitmap.
  void AssignTo(TDIB& dib);

 private:
  friend class TDirectDraw;
  bool usable(int32_t* failure = nullptr);
  void copyRect(const TRect& d, const TRect& s, TDirectDrawSurface& source, bool keyed,
                bool mirrorX, bool mirrorY);

  TDirectDraw* ddraw_;
  std::shared_ptr<TSurfaceMemory> memory_;
  bool hasClipper_ = false;
  int lockCount_ = 0;
  std::unique_ptr<TDirectDrawSurfaceCanvas> canvas_;
};
