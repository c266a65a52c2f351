#include "framework/text_case.h"

namespace {

// The lower-case form of the character that starts at text[i], written to out: one byte,
// or two for a Cyrillic letter (its lower-case form is two bytes long as well). Returns how
// many bytes it took, which is also how many it wrote. Names are compared and hashed every
// frame, so this folds in place instead of building lower-case copies.
size_t foldAt(const std::string& text, size_t i, unsigned char out[2]) {
  const auto c = static_cast<unsigned char>(text[i]);
  if (c >= 'A' && c <= 'Z') {
    out[0] = static_cast<unsigned char>(c + 32);
    return 1;
  }
  if (c != 0xD0 || i + 1 >= text.size()) {
    out[0] = c;
    return 1;
  }
  const auto d = static_cast<unsigned char>(text[i + 1]);
  if (d >= 0x90 && d <= 0x9F) {  // А..П
    out[0] = 0xD0;
    out[1] = static_cast<unsigned char>(d + 0x20);
  } else if (d >= 0xA0 && d <= 0xAF) {  // Р..Я
    out[0] = 0xD1;
    out[1] = static_cast<unsigned char>(d - 0x20);
  } else if (d == 0x81) {  // Ё
    out[0] = 0xD1;
    out[1] = 0x91;
  } else {
    out[0] = c;
    out[1] = d;
  }
  return 2;
}

// Reads the bytes of a text's lower-case form one at a time.
class FoldedBytes {
 public:
  explicit FoldedBytes(const std::string& text) : text_(text) {}
  unsigned char next() {
    if (taken_ == length_) {
      length_ = foldAt(text_, at_, folded_);
      at_ += length_;
      taken_ = 0;
    }
    return folded_[taken_++];
  }

 private:
  const std::string& text_;
  size_t at_ = 0;
  unsigned char folded_[2] = {0, 0};
  size_t length_ = 0;
  size_t taken_ = 0;
};

}  // namespace

std::string LowerCase(const std::string& text) {
  std::string out(text.size(), '\0');
  FoldedBytes folded(text);
  for (char& c : out) c = static_cast<char>(folded.next());
  return out;
}

bool SameText(const std::string& a, const std::string& b) {
  // Folding keeps every character's length, so texts of different lengths differ.
  if (a.size() != b.size()) return false;
  FoldedBytes fa(a);
  FoldedBytes fb(b);
  for (size_t i = 0; i < a.size(); ++i) {
    if (fa.next() != fb.next()) return false;
  }
  return true;
}

unsigned char LowerCaseByte(const std::string& text, size_t index) {
  if (index >= text.size()) return 0;
  FoldedBytes folded(text);
  for (size_t i = 0; i < index; ++i) folded.next();
  return folded.next();
}
