#include "framework/utf8.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<char32_t> decodeAll(std::string_view text) {
  std::vector<char32_t> result;
  size_t pos = 0;
  while (pos < text.size()) result.push_back(NextCodePoint(text, pos));
  return result;
}

TEST(Utf8, EncodesAndDecodesEveryLength) {
  std::string text;
  for (char32_t c : {U'A', U'Ж', U'€', U'🦈', U'\u007F', U'\u0080', U'\uFFFF', U'\U0010FFFF'})
    AppendUtf8(text, c);
  EXPECT_EQ(decodeAll(text),
            (std::vector<char32_t>{U'A', U'Ж', U'€', U'🦈', 0x7F, 0x80, 0xFFFF, 0x10FFFF}));
  std::string bad;
  AppendUtf8(bad, 0xD800);
  AppendUtf8(bad, 0x110000);
  EXPECT_EQ(decodeAll(bad), (std::vector<char32_t>{0xFFFD, 0xFFFD}));
}

TEST(Utf8, BrokenSequencesReadAsOneReplacementPerByteAndNeverReadPastTheEnd) {
  // Overlong, surrogate, cut short at the end, a stray continuation, a five-byte lead.
  EXPECT_EQ(decodeAll("\xC0\x80"), (std::vector<char32_t>{0xFFFD, 0xFFFD}));
  EXPECT_EQ(decodeAll("\xED\xA0\x80").front(), 0xFFFDu);
  EXPECT_EQ(decodeAll("a\xE2\x82"), (std::vector<char32_t>{U'a', 0xFFFD, 0xFFFD}));
  EXPECT_EQ(decodeAll("\x80z"), (std::vector<char32_t>{0xFFFD, U'z'}));
  EXPECT_EQ(decodeAll("\xF8\x88\x80\x80\x80").size(), 5u);
  EXPECT_EQ(decodeAll("\xF4\x90\x80\x80").front(), 0xFFFDu);  // above U+10FFFF
}

TEST(Utf8, StepsBackOverWholeCharacters) {
  const std::string text = "aЖ🦈";
  EXPECT_EQ(PreviousCharacterStart(text, text.size()), 3u);
  EXPECT_EQ(PreviousCharacterStart(text, 3), 1u);
  EXPECT_EQ(PreviousCharacterStart(text, 1), 0u);
  EXPECT_EQ(PreviousCharacterStart(text, 0), 0u);
  // A stray continuation byte is a character of its own.
  const std::string stray = "a\x80\x80";
  EXPECT_EQ(PreviousCharacterStart(stray, 3), 2u);
}

}  // namespace
