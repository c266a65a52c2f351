#pragma once
// The one-line text field: text in any script typed through the platform's text input,
// a caret, a selection, and the usual editing keys (Backspace, Delete, the arrows, Home,
// End, with Shift to select). On taking the focus it selects all its text, so typing
// replaces it.

#include <cstdint>
#include <string>

#include "framework/form.h"

class TEdit : public TControl {
 public:
  explicit TEdit(TComponent* owner) : TControl(owner) {}
  std::string ClassName() const override { return "TEdit"; }
  void SetStoredProperty(const std::string& name, const TPropertyValue& value) override;

  // UTF-8; setting it puts the caret at the end.
  std::string Text() const;
  void SetText(const std::string& text);
  // Characters at most, 0 for no limit.
  int MaxLength = 0;
  bool AutoSelect = true;
  platform::FontSpec Font;
  TKeyEvent OnKeyDown;
  TNotifyEvent OnChange;

  // The caret and the selection, in characters: the selection runs from the anchor to
  // the caret.
  int CaretPos() const { return caret_; }
  int SelStart() const { return std::min(anchor_, caret_); }
  int SelLength() const { return std::abs(caret_ - anchor_); }
  std::string SelText() const;
  void SelectAll();
  // Selects length characters from start (0: puts the caret at start), within the text.
  void Select(int start, int length);

  bool CanFocus() const override { return Visible && Enabled; }
  void Enter() override;
  void Paint(TFormCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;

 private:
  void moveCaret(int position, bool extend);
  void replaceSelection(const std::u32string& text);
  int characterAt(int x) const;
  int textWidth(int characters) const;

  std::u32string text_;
  int caret_ = 0;
  int anchor_ = 0;
  int scroll_ = 0;  // pixels of text hidden to the left of the field
};
