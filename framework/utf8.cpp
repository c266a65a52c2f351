#include "framework/utf8.h"

namespace {
constexpr char32_t kReplacement = 0xFFFD;
bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

char32_t NextCodePoint(std::string_view text, size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
    minimum = 0x10000;
  } else {
    ++pos;
    return kReplacement;
  }
  for (int i = 1; i <= extra; ++i) {
    const size_t at = pos + static_cast<size_t>(i);
    if (at >= text.size() || !isContinuation(static_cast<unsigned char>(text[at]))) {
      ++pos;
      return kReplacement;
    }
    cp = (cp << 6) | (static_cast<unsigned char>(text[at]) & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kReplacement;
  }
  pos += static_cast<size_t>(extra) + 1;
  return cp;
}

void AppendUtf8(std::string& text, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
  if (cp < 0x80) {
    text += static_cast<char>(cp);
  } else if (cp < 0x800) {
    text += static_cast<char>(0xC0 | (cp >> 6));
    text += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    text += static_cast<char>(0xE0 | (cp >> 12));
    text += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (cp >> 18));
    text += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

size_t PreviousCharacterStart(std::string_view text, size_t pos) {
  if (pos == 0) return 0;
  if (pos > text.size()) pos = text.size();
  // Step back over continuation bytes (at most three), then check that the sequence
  // found really ends at pos; a stray byte counts as a character of its own.
  size_t start = pos - 1;
  for (int i = 0; i < 3 && start > 0 && isContinuation(static_cast<unsigned char>(text[start]));
       ++i) {
    --start;
  }
  size_t end = start;
  NextCodePoint(text, end);
  return end == pos ? start : pos - 1;
}

std::u32string Utf8ToUtf32(std::string_view text) {
  std::u32string result;
  size_t pos = 0;
  while (pos < text.size()) result += NextCodePoint(text, pos);
  return result;
}

std::string Utf32ToUtf8(std::u32string_view text) {
  std::string result;
  for (char32_t c : text) AppendUtf8(result, c);
  return result;
}
