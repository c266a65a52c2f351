#pragma once
// The software presenter's pixel work: a 5-6-5 or 32-bit picture converted and scaled
// (nearest neighbour) straight into a window surface's pixels, for machines where no GPU
// does it. Every output pixel shows the source pixel under its left-top corner, the same
// mapping the pointer goes back through (present_layout.h), so integer factors repeat
// each source pixel exactly and the pointer lands on the pixel it is drawn over.

#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "platform/present_layout.h"

namespace platform {

// The layouts of window surfaces the scaler writes itself (little-endian words): 32-bit
// with red in bits 16-23 or in bits 0-7, and 5-6-5. Others go through SDL's own blit.
enum class SurfaceLayout { Other, XRGB8888, XBGR8888, RGB565 };

struct PixelSource {
  const void* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;  // bytes per row
  PixelFormat format = PixelFormat::RGB565;
};

struct PixelTarget {
  void* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;
  SurfaceLayout layout = SurfaceLayout::Other;
};

// A 5-6-5 pixel as 0x00RRGGBB, each channel widened by repeating its top bits (so 0 stays
// 0 and full stays 255).
uint32_t rgb565ToXrgb(uint16_t pixel);

class PictureScaler {
 public:
  // Draws the picture over `area` of the target, clipped to the target. Nothing is drawn
  // for an Other layout or an empty picture or area.
  void draw(const PixelSource& source, const PixelTarget& target, const PresentRect& area);

 private:
  std::vector<int32_t> columns_;  // source column of each visible output column
  std::vector<uint32_t> row_;     // one source row converted to the target layout
};

// Fills every pixel of the target outside `area` with black.
void fillOutside(const PixelTarget& target, const PresentRect& area);

}  // namespace platform
