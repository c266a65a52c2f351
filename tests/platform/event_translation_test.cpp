#include "platform/event_translation.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace platform {
namespace {

TEST(ShiftFromSdl, EitherSideOfAModifierCounts) {
  EXPECT_EQ(shiftFromSdl(KMOD_LALT, 0), ssAlt);
  EXPECT_EQ(shiftFromSdl(KMOD_RALT, 0), ssAlt);
  EXPECT_EQ(shiftFromSdl(KMOD_LSHIFT | KMOD_RCTRL, 0), ssShift | ssCtrl);
  EXPECT_EQ(shiftFromSdl(KMOD_NUM | KMOD_CAPS, 0), 0u);  // lock states are not held keys
}

TEST(ShiftFromSdl, PointerButtons) {
  EXPECT_EQ(shiftFromSdl(0, SDL_BUTTON_LMASK), ssLeft);
  EXPECT_EQ(shiftFromSdl(0, SDL_BUTTON_RMASK | SDL_BUTTON_MMASK), ssRight | ssMiddle);
  EXPECT_EQ(shiftFromSdl(KMOD_LALT, SDL_BUTTON_X1MASK), ssAlt);
}

TEST(IsCommandText, LeftAltMakesCommandsAltGrTypes) {
  EXPECT_TRUE(isCommandText(KMOD_LALT));
  EXPECT_TRUE(isCommandText(KMOD_LALT | KMOD_SHIFT));
  EXPECT_FALSE(isCommandText(KMOD_NONE));
  EXPECT_FALSE(isCommandText(KMOD_SHIFT | KMOD_CAPS));
  EXPECT_FALSE(isCommandText(KMOD_RALT));
  EXPECT_FALSE(isCommandText(KMOD_LALT | KMOD_MODE));
}

TEST(SplitUtf8Characters, OneStringPerCharacter) {
  EXPECT_EQ(splitUtf8Characters("ab"), (std::vector<std::string>{"a", "b"}));
  // Cyrillic (two bytes), a euro sign (three), an emoji (four).
  EXPECT_EQ(splitUtf8Characters("Я€😀"), (std::vector<std::string>{"Я", "€", "😀"}));
  EXPECT_TRUE(splitUtf8Characters("").empty());
}

TEST(SplitUtf8Characters, BrokenSequencesBecomeReplacementCharacters) {
  const std::string bad = "\xEF\xBF\xBD";
  // A stray continuation byte, then a letter.
  EXPECT_EQ(splitUtf8Characters("\x80z"), (std::vector<std::string>{bad, "z"}));
  // A lead byte cut off at the end of the text: nothing is read past it.
  EXPECT_EQ(splitUtf8Characters("a\xD0"), (std::vector<std::string>{"a", bad}));
  EXPECT_EQ(splitUtf8Characters("\xF0\x9F\x98"), (std::vector<std::string>{bad, bad, bad}));
  // Overlong forms and surrogates are refused.
  EXPECT_EQ(splitUtf8Characters("\xC0\xAF"), (std::vector<std::string>{bad, bad}));
  EXPECT_EQ(splitUtf8Characters("\xE0\x80\xAF"), (std::vector<std::string>{bad, bad, bad}));
  EXPECT_EQ(splitUtf8Characters("\xED\xA0\x80"), (std::vector<std::string>{bad, bad, bad}));
}

}  // namespace
}  // namespace platform
