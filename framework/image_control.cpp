#include "framework/image_control.h"

#include <algorithm>

void TImage::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "Picture.Data") {
    Picture.ReadData(value.AsBinary(name));
  } else {
    TControl::SetStoredProperty(name, value);
  }
}

void TImage::Paint(TFormCanvas& canvas) {
  const TGraphic* graphic = Picture.Graphic();
  if (graphic == nullptr || graphic->Empty()) return;
  std::vector<uint32_t> pixels;
  graphic->ToRGB32(pixels);
  // Only the part of the picture inside the control's box shows.
  const int width = std::min(graphic->Width(), Width);
  const int height = std::min(graphic->Height(), Height);
  if (width <= 0 || height <= 0) return;
  if (width != graphic->Width()) {
    for (int row = 0; row < height; ++row) {
      std::copy_n(pixels.begin() + static_cast<ptrdiff_t>(row) * graphic->Width(), width,
                  pixels.begin() + static_cast<ptrdiff_t>(row) * width);
    }
  }
  canvas.Draw(Left, Top, pixels.data(), width, height);
}
