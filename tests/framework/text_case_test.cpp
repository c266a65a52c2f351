#include "framework/text_case.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(TextCase, LatinAndRussianCapitalsFoldAndOtherTextStays) {
  EXPECT_EQ(LowerCase("Data\\FON\\3.BMP"), "data\\fon\\3.bmp");
  EXPECT_EQ(LowerCase("АБВЁЖПРЯ"), "абвёжпря");
  EXPECT_EQ(LowerCase("уже ok 1-2"), "уже ok 1-2");
  EXPECT_TRUE(SameText("Shlak", "SHLAK"));
  EXPECT_TRUE(SameText("Ёрш", "ёРШ"));
  EXPECT_FALSE(SameText("f11", "f1"));
  // A lone lead byte at the end is kept, not read past.
  EXPECT_EQ(LowerCase(std::string("A\xD0")), std::string("a\xD0"));
}

// Comparing and reading single bytes fold in place; they must agree with LowerCase, also
// where a lead byte pairs with a byte that is not a capital or stands alone at the end.
TEST(TextCase, InPlaceFoldingAgreesWithLowerCase) {
  std::vector<std::string> texts = {"", "F11", "f12", "Ёж", "ёЖ", "ПРЯ", "пря"};
  for (const char* odd :
       {"A\xD0", "a\xD0", "\xD0\xD0\x90", "\xD0\xD0\xB0", "\xD0\x41", "\xD0\x61"}) {
    texts.emplace_back(odd);
  }
  for (const std::string& a : texts) {
    const std::string lower = LowerCase(a);
    for (size_t i = 0; i <= a.size(); ++i) {
      EXPECT_EQ(LowerCaseByte(a, i), i < lower.size() ? static_cast<unsigned char>(lower[i]) : 0)
          << a << " at " << i;
    }
    for (const std::string& b : texts) {
      EXPECT_EQ(SameText(a, b), lower == LowerCase(b)) << a << " and " << b;
    }
  }
}
