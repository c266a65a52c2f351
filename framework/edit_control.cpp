#include "framework/edit_control.h"

#include <algorithm>
#include <cstdlib>

#include "framework/colors.h"
#include "framework/utf8.h"
#include "platform/virtual_keys.h"

namespace {

using platform::VK_BACK;
using platform::VK_DELETE;
using platform::VK_END;
using platform::VK_HOME;
using platform::VK_LEFT;
using platform::VK_RIGHT;

constexpr uint32_t kHighlight = 0x006A240A;  // a deep blue
constexpr uint32_t kHighlightText = 0x00FFFFFF;
constexpr uint32_t kShadow = 0x00808080;
constexpr uint32_t kDarkShadow = 0x00404040;
constexpr uint32_t kLight = clWhite;
constexpr int kBorder = 2;
constexpr int kTextInset = 1;

}  // namespace

void TEdit::SetStoredProperty(const std::string& name, const TPropertyValue& value) {
  if (name == "Text") {
    SetText(value.AsString(name));
  } else if (name == "MaxLength") {
    MaxLength = static_cast<int>(std::max<int64_t>(value.AsInteger(name), 0));
  } else if (name == "AutoSelect") {
    AutoSelect = value.AsBoolean(name);
  } else if (name == "OnChange") {
    OnChange = MethodByName<TNotifyEvent>(name, value.AsIdentifier(name));
  } else {
    TControl::SetStoredProperty(name, value);
  }
}

std::string TEdit::Text() const { return Utf32ToUtf8(text_); }

void TEdit::SetText(const std::string& text) {
  text_ = Utf8ToUtf32(text);
  if (MaxLength > 0 && text_.size() > static_cast<size_t>(MaxLength))
    text_.resize(static_cast<size_t>(MaxLength));
  caret_ = anchor_ = static_cast<int>(text_.size());
  scroll_ = 0;
  if (OnChange) OnChange(this);
}

std::string TEdit::SelText() const {
  return Utf32ToUtf8(std::u32string_view(text_).substr(static_cast<size_t>(SelStart()),
                                                       static_cast<size_t>(SelLength())));
}

void TEdit::SelectAll() { Select(0, static_cast<int>(text_.size())); }

void TEdit::Select(int start, int length) {
  moveCaret(start, false);
  moveCaret(start + length, true);
  Invalidate();
}

void TEdit::Enter() {
  if (AutoSelect) SelectAll();
}

void TEdit::moveCaret(int position, bool extend) {
  caret_ = std::clamp(position, 0, static_cast<int>(text_.size()));
  if (!extend) anchor_ = caret_;
}

void TEdit::replaceSelection(const std::u32string& text) {
  const auto start = static_cast<size_t>(SelStart());
  std::u32string inserted = text;
  if (MaxLength > 0) {
    const size_t room =
        static_cast<size_t>(MaxLength) - (text_.size() - static_cast<size_t>(SelLength()));
    if (inserted.size() > room) inserted.resize(room);
  }
  text_.replace(start, static_cast<size_t>(SelLength()), inserted);
  caret_ = anchor_ = static_cast<int>(start + inserted.size());
  if (OnChange) OnChange(this);
}

void TEdit::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
  const bool extend = (shift & platform::ssShift) != 0;
  switch (key) {
    case VK_LEFT:
      moveCaret(!extend && SelLength() > 0 ? SelStart() : caret_ - 1, extend);
      break;
    case VK_RIGHT:
      moveCaret(!extend && SelLength() > 0 ? SelStart() + SelLength() : caret_ + 1, extend);
      break;
    case VK_HOME:
      moveCaret(0, extend);
      break;
    case VK_END:
      moveCaret(static_cast<int>(text_.size()), extend);
      break;
    case VK_BACK:
      if (SelLength() == 0) moveCaret(caret_ - 1, true);
      replaceSelection({});
      break;
    case VK_DELETE:
      if (SelLength() == 0) moveCaret(caret_ + 1, true);
      replaceSelection({});
      break;
    default:
      return;
  }
  key = 0;
}

void TEdit::KeyPress(char32_t& key) {
  // Control characters (Backspace, Enter, Escape, Delete) are keys, not text.
  if (key < 32 || key == 127) return;
  replaceSelection(std::u32string(1, key));
  key = 0;
}

void TEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TControl::MouseDown(button, shift, x, y);
  if (TForm* form = ParentForm()) form->FocusControl(this);
  moveCaret(characterAt(x - kBorder - kTextInset + scroll_), (shift & platform::ssShift) != 0);
}

int TEdit::textWidth(int characters) const {
  if (characters <= 0 || Application == nullptr) return 0;
  int width = 0;
  int height = 0;
  Application->Platform().text().textExtent(
      Utf32ToUtf8(std::u32string_view(text_).substr(0, static_cast<size_t>(characters))), Font,
      width, height);
  return width;
}

int TEdit::characterAt(int x) const {
  // The boundary between characters nearest to x.
  int best = 0;
  int bestDistance = std::abs(x);
  for (int i = 1; i <= static_cast<int>(text_.size()); ++i) {
    const int distance = std::abs(textWidth(i) - x);
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

void TEdit::Paint(TFormCanvas& canvas) {
  const int innerWidth = Width - 2 * kBorder;
  const int innerHeight = Height - 2 * kBorder;
  if (innerWidth <= 0 || innerHeight <= 0 || Application == nullptr) return;
  const TForm* form = ParentForm();
  const bool focused = form != nullptr && form->ActiveControl == this;

  // Keep the caret inside the field.
  const int caretX = textWidth(caret_);
  const int room = innerWidth - 2 * kTextInset - 1;
  if (caretX - scroll_ > room) scroll_ = caretX - room;
  if (caretX < scroll_) scroll_ = caretX;

  TFormCanvas field(Application->Platform().text(), innerWidth, innerHeight);
  field.FillRect(0, 0, innerWidth, innerHeight, clWindow);
  int textHeight = 0;
  int unused = 0;
  field.TextExtent("Ay", Font, unused, textHeight);
  const int textY = (innerHeight - textHeight) / 2;
  const int originX = kTextInset - scroll_;
  platform::FontSpec font = Font;
  font.color = clWindowText;
  field.TextOut(originX, textY, Text(), font);
  if (focused && SelLength() > 0) {
    const int left = originX + textWidth(SelStart());
    const int right = originX + textWidth(SelStart() + SelLength());
    field.FillRect(left, 0, right, innerHeight, kHighlight);
    font.color = kHighlightText;
    field.TextOut(left, textY, SelText(), font);
  }
  if (focused)
    field.FillRect(originX + caretX, textY, originX + caretX + 1, textY + textHeight, clWindowText);
  canvas.Draw(Left + kBorder, Top + kBorder, field.Pixels(), innerWidth, innerHeight);

  // A sunken border, as the window system draws a text field.
  canvas.FillRect(Left, Top, Left + Width, Top + 1, kShadow);
  canvas.FillRect(Left, Top, Left + 1, Top + Height, kShadow);
  canvas.FillRect(Left + 1, Top + 1, Left + Width - 1, Top + 2, kDarkShadow);
  canvas.FillRect(Left + 1, Top + 1, Left + 2, Top + Height - 1, kDarkShadow);
  canvas.FillRect(Left, Top + Height - 1, Left + Width, Top + Height, kLight);
  canvas.FillRect(Left + Width - 1, Top, Left + Width, Top + Height, kLight);
}
