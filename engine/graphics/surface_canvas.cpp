#include "engine/graphics/surface_canvas.h"

#include "engine/graphics/direct_draw_surface.h"
#include "framework/bitmap.h"
#include "platform/platform.h"

namespace {

platform::FontSpec fontSpec(const TFont& font) {
  platform::FontSpec result;
  result.family = font.Name;
  result.sizePoints = font.Size;
  result.bold = (font.Style & fsBold) != 0;
  result.italic = (font.Style & fsItalic) != 0;
  result.color = font.Color;
  return result;
}

platform::TextRenderer* textRenderer(TDirectDrawSurface* surface) {
  return surface->DDraw() != nullptr ? surface->DDraw()->TextRenderer() : nullptr;
}

}  // namespace

void TDirectDrawSurfaceCanvas::TextOut(int x, int y, const std::string& text) {
  holding_ = true;
  platform::TextRenderer* renderer = textRenderer(surface_);
  if (renderer == nullptr || !surface_->HasSurface() || text.empty()) return;
  const TDDPixelFormat format = surface_->PixelFormat();
  platform::PixelFormat target;
  if (format == PixelFormat565()) {
    target = platform::PixelFormat::RGB565;
  } else if (format == PixelFormat888(32)) {
    target = platform::PixelFormat::ARGB8888;
  } else {
    return;  // text is drawn only in the display formats
  }
  const platform::FontSpec result = fontSpec(Font);
  if (Brush.Style == bsSolid) {
    int width = 0;
    int height = 0;
    renderer->textExtent(text, result, width, height);
    FillRect(x, y, x + width, y + height);
  }
  TDDSurfaceDesc desc;
  if (!surface_->Lock(desc)) return;
  renderer->drawText(desc.Surface, desc.Width, desc.Height, desc.Pitch, target, x, y, text, result);
  surface_->Unlock();
}

int TDirectDrawSurfaceCanvas::TextWidth(const std::string& text) {
  platform::TextRenderer* renderer = textRenderer(surface_);
  if (renderer == nullptr) return 0;
  int width = 0;
  int height = 0;
  renderer->textExtent(text, fontSpec(Font), width, height);
  return width;
}

int TDirectDrawSurfaceCanvas::TextHeight(const std::string& text) {
  platform::TextRenderer* renderer = textRenderer(surface_);
  if (renderer == nullptr) return 0;
  int width = 0;
  int height = 0;
  renderer->textExtent(text, fontSpec(Font), width, height);
  return height;
}

void TDirectDrawSurfaceCanvas::FillRect(int left, int top, int right, int bottom) {
  holding_ = true;
  surface_->FillRect(TRect{left, top, right, bottom}, surface_->MatchColor(Brush.Color));
}

void TDirectDrawSurfaceCanvas::Draw(int x, int y, const TGraphic& graphic) {
  holding_ = true;
  if (!surface_->HasSurface() || graphic.Empty()) return;
  TDirectDrawSurface picture(surface_->DDraw());
  picture.SystemMemory = true;
  picture.LoadGraphic(graphic);
  surface_->BlitFrom(x, y, picture.ClipRect(), &picture, false);
}
