#include "platform/platform.h"

namespace platform {
namespace {
class NoText : public TextRenderer {
 public:
  void drawText(void*, int, int, int, PixelFormat, int, int, const std::string&, const FontSpec&) override {}
  void textExtent(const std::string& text, const FontSpec& font, int& width, int& height) override {
    width = static_cast<int>(text.size() * font.sizePoints * 0.6);
    height = static_cast<int>(font.sizePoints * 1.4);
  }
};
}  // namespace
std::unique_ptr<TextRenderer> createTextRenderer() { return std::make_unique<NoText>(); }
}  // namespace platform
