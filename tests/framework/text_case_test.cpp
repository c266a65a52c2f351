#include "framework/text_case.h"

#include <gtest/gtest.h>

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
