#include "framework/code_page.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage1251, EveryByteComesBackAsItWas) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  const std::string text = Win1251ToUtf8(bytes);
  EXPECT_EQ(Utf8ToWin1251(text), bytes);
}

TEST(CodePage1251, RussianAndTheSymbolsMapToTheirBytes) {
  EXPECT_EQ(Win1251ToUtf8("\xC0\xFF\xA8\xB8\xB9\x88\x96"), "АяЁё№€–");
  EXPECT_EQ(Utf8ToWin1251("Введите имя"), "\xC2\xE2\xE5\xE4\xE8\xF2\xE5 \xE8\xEC\xFF");
  EXPECT_EQ(Utf8ToWin1251("Shark 42"), "Shark 42");
}

TEST(CodePage1251, WhatItCannotHoldBecomesAQuestionMark) {
  EXPECT_EQ(Utf8ToWin1251("ñ日🦈"), "???");
  EXPECT_EQ(Utf8ToWin1251("a\xFF"
                          "b"),
            "a?b");  // not UTF-8 at all
}

}  // namespace
