#pragma once
// A name picked letter by letter with a pad, as arcade games take a player's name. A
// cursor stands on a letter, which Up and Down turn through the language's letters, the
// digits, the space and a few signs. Right (or A) goes on to the next letter; past the
// last it starts a new one at the letter just chosen, so "AAA" takes three presses. Left
// (or B) goes back, and takes the last letter away when the cursor is on it. The cursor
// may also stand on the empty place after the last letter, where typing left the caret:
// a turn, or Right, puts the letter just chosen there.

#include <cstddef>
#include <string>

#include "game/languages.h"

// The longest name the pad makes: as many of the widest letters as the records screen
// shows before its score column. Typed names are not cut.
inline constexpr size_t kPadNameLength = 11;

// The letters a pad turns through in that language: its own, then the digits, the space,
// '-', '.' and '!'.
std::u32string PadLetters(TLanguage language);

class TLetterPicker {
 public:
  TLetterPicker(std::u32string letters, std::u32string text);

  const std::u32string& Text() const { return text_; }
  // The letter under the cursor is Text()[Cursor()]; at Text().size() the cursor stands
  // on the empty place after the last letter.
  size_t Cursor() const { return cursor_; }
  bool OnEmptyPlace() const { return cursor_ >= text_.size(); }

  // Puts the cursor where a text field's selection or caret is. A selection of more than
  // one letter (the whole text, as the name window opens) gives way to the first letter,
  // with the cursor on it; true then, and the input that came is spent on that.
  bool Place(size_t start, size_t length);
  // Up (-1) or Down (+1); round from the last letter to the first and back.
  void Turn(int step);
  // Right, or A on a letter.
  void Forward();
  // Left or B. At the first letter it does nothing.
  void Back();

 private:
  void fillEmptyPlace();

  std::u32string letters_;
  std::u32string text_;
  size_t cursor_ = 0;
};
