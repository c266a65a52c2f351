#include "engine/input/key_names.h"

#include <gtest/gtest.h>

#include "platform/virtual_keys.h"

namespace {

using namespace platform;

TEST(KeyNames, NamesAndCodesGoBothWaysInAnyLetterCase) {
  EXPECT_EQ(KeyByName("Up"), VK_UP);
  EXPECT_EQ(KeyByName("up"), VK_UP);
  EXPECT_EQ(KeyByName("KP_8"), VK_NUMPAD8);
  EXPECT_EQ(KeyByName("kp_0"), VK_NUMPAD0);
  EXPECT_EQ(KeyByName("h"), 'H');
  EXPECT_EQ(KeyByName("7"), '7');
  EXPECT_EQ(KeyByName("F12"), VK_F1 + 11);
  EXPECT_EQ(KeyByName("space"), VK_SPACE);
  EXPECT_EQ(KeyByName("semicolon"), VK_OEM_1);
  EXPECT_EQ(KeyName(VK_NUMPAD2), "KP_2");
  EXPECT_EQ(KeyName('J'), "J");
  // Every name reads back as its own code.
  int named = 0;
  for (int code = 1; code < 256; ++code) {
    const std::string name = KeyName(static_cast<uint16_t>(code));
    if (name.empty()) continue;
    ++named;
    EXPECT_EQ(KeyByName(name), code) << name;
  }
  EXPECT_GT(named, 90);
}

TEST(KeyNames, UnknownNamesAndCodesGiveNothing) {
  for (const char* name : {"", "Upp", "KP_10", "F13", "Ю", "K;L", " K"}) {
    EXPECT_EQ(KeyByName(name), 0) << name;
  }
  EXPECT_EQ(KeyName(0), "");
  EXPECT_EQ(KeyName(255), "");
}

}  // namespace
