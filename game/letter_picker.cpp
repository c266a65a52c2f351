#include "game/letter_picker.h"

#include <algorithm>
#include <utility>

#include "framework/utf8.h"

std::u32string PadLetters(TLanguage language) {
  return Utf8ToUtf32(Language(language).Letters) + U"0123456789 -.!";
}

TLetterPicker::TLetterPicker(std::u32string letters, std::u32string text)
    : letters_(std::move(letters)), text_(std::move(text)), cursor_(text_.size()) {}

bool TLetterPicker::Place(size_t start, size_t length) {
  cursor_ = std::min(start, text_.size());
  if (length <= 1) return false;
  text_.replace(cursor_, length, 1, letters_.front());
  return true;
}

void TLetterPicker::Turn(int step) {
  if (OnEmptyPlace()) {
    fillEmptyPlace();
    return;
  }
  char32_t& letter = text_[cursor_];
  const size_t index = letters_.find(letter);
  if (index == std::u32string::npos) {
    // A typed letter the pad does not offer: the turn starts from the first.
    letter = letters_.front();
    return;
  }
  const auto count = static_cast<int64_t>(letters_.size());
  const int64_t turned = ((static_cast<int64_t>(index) + step) % count + count) % count;
  letter = letters_[static_cast<size_t>(turned)];
}

void TLetterPicker::Forward() {
  if (OnEmptyPlace()) {
    fillEmptyPlace();
  } else if (cursor_ + 1 < text_.size()) {
    ++cursor_;
  } else if (text_.size() < kPadNameLength) {
    text_ += text_[cursor_];
    ++cursor_;
  }
}

void TLetterPicker::Back() {
  if (cursor_ == 0) return;
  if (OnEmptyPlace()) {
    cursor_ = text_.size() - 1;
    return;
  }
  if (cursor_ + 1 == text_.size()) text_.pop_back();
  --cursor_;
}

void TLetterPicker::fillEmptyPlace() {
  if (text_.size() >= kPadNameLength) return;
  text_ += cursor_ > 0 ? text_[cursor_ - 1] : letters_.front();
}
