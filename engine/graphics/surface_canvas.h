#pragma once
// The text canvas of a drawing surface: brush, font and text output straight into the
// surface's pixels. Its settings survive releases, so a frame may set them once.

#include <cstdint>
#include <string>

class TDirectDrawSurface;

enum class TBrushStyle { bsSolid, bsClear };
using enum TBrushStyle;

struct TBrush {
  TBrushStyle Style = bsSolid;
  uint32_t Color = 0x00FFFFFF;  // 0x00BBGGRR
};

enum TFontStyle : uint32_t { fsBold = 1u << 0, fsItalic = 1u << 1 };

struct TFont {
  std::string Name = "MS Sans Serif";
  int Size = 8;        // points
  uint32_t Color = 0;  // 0x00BBGGRR
  uint32_t Style = 0;  // TFontStyle bits
};

class TDirectDrawSurfaceCanvas {
 public:
  explicit TDirectDrawSurfaceCanvas(TDirectDrawSurface* surface) : surface_(surface) {}

  TBrush Brush;
  TFont Font;

  // Writes text (UTF-8) with its top-left corner at (x, y); with a solid brush the text's
  // box is filled first.
  void TextOut(int x, int y, const std::string& text);
  int TextWidth(const std::string& text);
  int TextHeight(const std::string& text);
  // Fills a rectangle with the brush colour.
  void FillRect(int left, int top, int right, int bottom);
  // Draws a picture at its own size with its top-left corner at (x, y).
  void Draw(int x, int y, const class TGraphic& graphic);

  // True between the first drawing call and the release.
  bool Holding() const { return holding_; }
  void Release() { holding_ = false; }

 private:
  TDirectDrawSurface* surface_;
  bool holding_ = false;
};
