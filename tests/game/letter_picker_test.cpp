#include "game/letter_picker.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/code_page.h"
#include "framework/utf8.h"
#include "platform/platform.h"

namespace {

// A picker over the English letters with the cursor as a text field's selection puts
// it, run through inputs: ^ Up, v Down, > Right, < Left.
struct Picked {
  std::string text;
  size_t cursor;
  bool operator==(const Picked&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Picked& p) {
  return out << '"' << p.text << "\" at " << p.cursor;
}

Picked pick(const std::string& text, size_t start, size_t length, const std::string& inputs) {
  TLetterPicker picker(PadLetters(lgEnglish), Utf8ToUtf32(text));
  const bool spent = picker.Place(start, length);
  for (size_t i = spent ? 1 : 0; i < inputs.size(); ++i) {
    switch (inputs[i]) {
      case '^':
        picker.Turn(-1);
        break;
      case 'v':
        picker.Turn(1);
        break;
      case '>':
        picker.Forward();
        break;
      default:
        picker.Back();
        break;
    }
  }
  return {Utf32ToUtf8(picker.Text()), picker.Cursor()};
}

TEST(LetterPicker, TurnsMovesOnAndGoesBackAsArcadeGamesTakeAName) {
  const std::string full(kPadNameLength, 'Z');
  const struct {
    const char* what;
    Picked got;
    Picked want;
  } cases[] = {
      {"the selected prompt gives way to the first letter, whatever the input",
       pick("Enter your name", 0, 15, "v"),
       {"A", 0}},
      {"Down and Up turn the letter, round the ends", pick("A", 0, 1, "vv^^^"), {"!", 0}},
      {"after the capitals the small letters, the digits, space and signs",
       pick("Z", 0, 1, std::string(27, 'v')),
       {"0", 0}},
      {"Right past the last letter starts a new one at the letter just chosen",
       pick("A", 0, 1, "vv>>v"),
       {"CCD", 2}},
      {"Left on the last letter takes it away", pick("CCD", 2, 1, "<<"), {"C", 0}},
      {"Left at the first letter does nothing", pick("AB", 0, 1, "<<^"), {"!B", 0}},
      {"Left and Right move over letters in the middle", pick("ABC", 0, 1, ">v<"), {"ACC", 0}},
      {"on the empty place after typed letters a turn puts the last one there",
       pick("Bob", 3, 0, "v"),
       {"Bobb", 3}},
      {"and Left goes onto the last letter", pick("Bob", 3, 0, "<v"), {"Boc", 2}},
      {"an empty name starts at the first letter", pick("", 0, 0, ">"), {"A", 0}},
      {"a letter the pad does not offer turns to the first", pick("Жук", 0, 1, "v"), {"Aук", 0}},
      {"a name at the length limit takes no more letters",
       pick(full, kPadNameLength - 1, 1, ">>"),
       {full, kPadNameLength - 1}},
      {"nor on the empty place after it",
       pick(full, kPadNameLength, 0, "v"),
       {full, kPadNameLength}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(LetterPicker, EveryLetterOfEveryLanguageGoesIntoTheRecordsFileAndBack) {
  for (int32_t language = 0; language < kLanguageCount; ++language) {
    const std::string letters = Utf32ToUtf8(PadLetters(static_cast<TLanguage>(language)));
    EXPECT_EQ(Win1251ToUtf8(Utf8ToWin1251(letters)), letters) << Language(language).Code;
  }
  EXPECT_NE(Utf32ToUtf8(PadLetters(lgRussian)).find("ЕЁЖ"), std::string::npos);
  EXPECT_NE(Utf32ToUtf8(PadLetters(lgRussian)).find("еёж"), std::string::npos);
}

TEST(LetterPicker, TheLongestNameFitsBeforeTheRecordsScreensScoreColumn) {
  // The records screen draws the names at x 175 and the scores at 525, in its font.
  const std::unique_ptr<platform::TextRenderer> renderer = platform::createTextRenderer();
  platform::FontSpec font;
  font.family = "Comic Sans MS";
  font.sizePoints = 20;
  for (int32_t language = 0; language < kLanguageCount; ++language) {
    for (char32_t letter : PadLetters(static_cast<TLanguage>(language))) {
      const std::string name = Utf32ToUtf8(std::u32string(kPadNameLength, letter));
      int width = 0;
      int height = 0;
      renderer->textExtent(name, font, width, height);
      EXPECT_LE(width, 525 - 175) << name;
    }
  }
}

}  // namespace
