#include "framework/text_case.h"

std::string LowerCase(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 'A' && c <= 'Z') {
      out += static_cast<char>(c + 32);
    } else if (c == 0xD0 && i + 1 < text.size()) {
      const auto d = static_cast<unsigned char>(text[i + 1]);
      if (d >= 0x90 && d <= 0x9F) {  // А..П
        out += static_cast<char>(0xD0);
        out += static_cast<char>(d + 0x20);
      } else if (d >= 0xA0 && d <= 0xAF) {  // Р..Я
        out += static_cast<char>(0xD1);
        out += static_cast<char>(d - 0x20);
      } else if (d == 0x81) {  // Ё
        out += static_cast<char>(0xD1);
        out += static_cast<char>(0x91);
      } else {
        out += static_cast<char>(c);
        out += static_cast<char>(d);
      }
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool SameText(const std::string& a, const std::string& b) { return LowerCase(a) == LowerCase(b); }
