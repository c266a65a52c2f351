#include "platform/key_file.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(KeyFile, ARewriteKeepsUnknownKeysCommentsAndOrder) {
  const std::string text =
      "# my own notes\n"
      "[display]\n"
      "# why I like it big\n"
      "fullscreen=true\n"
      "mine=42\n"
      "\n"
      "[extra]\n"
      "colour=blue\n";
  KeyFile file;
  std::string reason;
  ASSERT_TRUE(file.load(text, reason)) << reason;
  EXPECT_TRUE(file.has("display", "fullscreen"));
  EXPECT_FALSE(file.has("display", "vsync"));
  EXPECT_EQ(file.value("extra", "colour"), "blue");
  file.setValue("display", "fullscreen", "false");
  file.setValue("display", "vsync", "true");
  file.setComment("display", "vsync", "waits\nfor the refresh");
  const std::string rewritten = file.text();
  EXPECT_EQ(rewritten,
            "# my own notes\n"
            "\n"
            "[display]\n"
            "# why I like it big\n"
            "fullscreen=false\n"
            "mine=42\n"
            "# waits\n"
            "# for the refresh\n"
            "vsync=true\n"
            "\n"
            "[extra]\n"
            "colour=blue\n");
}

TEST(KeyFile, ValuesKeepTheirCharactersThroughEscapes) {
  KeyFile file;
  file.setValue("keys", "up", " Up;KP_8\\K\n");
  KeyFile again;
  std::string reason;
  ASSERT_TRUE(again.load(file.text(), reason)) << reason;
  EXPECT_EQ(again.value("keys", "up"), " Up;KP_8\\K\n");
  EXPECT_EQ(again.value("keys", "missing"), "");
}

TEST(KeyFile, TextThatIsNoKeyFileIsRefusedAndTheOldContentStays) {
  KeyFile file;
  std::string reason;
  ASSERT_TRUE(file.load("[a]\nk=v\n", reason));
  for (const std::string& bad :
       {std::string("just a line\n"), std::string("[open\nk=v\n"), std::string("[a]\nk=v\0x", 8)}) {
    EXPECT_FALSE(file.load(bad, reason)) << bad;
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(file.value("a", "k"), "v");
  }
  // A value that is not UTF-8 is still the player's text, for the reader to refuse.
  ASSERT_TRUE(file.load("[a]\nk=\xff\xfe\n", reason));
  EXPECT_EQ(file.value("a", "k"), "\xff\xfe");
}

}  // namespace
}  // namespace platform
