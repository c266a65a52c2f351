#pragma once
// A text renderer that remembers every text drawn, then draws it with the real one.

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

struct DrawnText {
  std::string text;
  int x = 0;
  int y = 0;
  platform::FontSpec font;
};

class RecordingTextRenderer final : public platform::TextRenderer {
 public:
  RecordingTextRenderer() : real_(platform::createTextRenderer()) {}
  void drawText(void* pixels, int width, int height, int pitch, platform::PixelFormat format, int x,
                int y, const std::string& text, const platform::FontSpec& font) override {
    drawn.push_back({text, x, y, font});
    real_->drawText(pixels, width, height, pitch, format, x, y, text, font);
  }
  void textExtent(const std::string& text, const platform::FontSpec& font, int& width,
                  int& height) override {
    real_->textExtent(text, font, width, height);
  }
  bool sawText(const std::string& text, int x, int y) const {
    for (const DrawnText& d : drawn) {
      if (d.text == text && d.x == x && d.y == y) return true;
    }
    return false;
  }
  std::vector<DrawnText> drawn;

 private:
  std::unique_ptr<platform::TextRenderer> real_;
};
