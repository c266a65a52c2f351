#include "game/name_entry_form.h"

#include <algorithm>
#include <limits>

#include "engine/input/dx_input.h"
#include "framework/edit_control.h"
#include "framework/image_control.h"
#include "framework/utf8.h"
#include "game/game_texts.h"
#include "game/letter_picker.h"
#include "game/main_form.h"
#include "game/picture_failures.h"
#include "game/records.h"
#include "platform/virtual_keys.h"

namespace {

using platform::VK_RETURN;

// The hint line's room below and above its text.
constexpr int kHintMargin = 2;

int32_t toScore(int64_t total) {
  return static_cast<int32_t>(std::clamp<int64_t>(total, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

TForm1::TForm1(TComponent* owner, TMainForm* mainForm) : TForm(owner), mainForm_(mainForm) {
  PublishMethod<TNotifyEvent>("FormCreate", [this](TObject* s) { FormCreate(s); });
  PublishMethod<TNotifyEvent>("FormActivate", [this](TObject* s) { FormActivate(s); });
  PublishMethod<TNotifyEvent>("Image2Click", [this](TObject* s) { Image2Click(s); });
  PublishMethod<TNotifyEvent>("BitBtn1Click", [this](TObject* s) { BitBtn1Click(s); });
}

void TForm1::Loaded() {
  TForm::Loaded();
  Label1 = RequiredComponent<TLabel>(*this, "Label1");
  Image1 = RequiredComponent<TImage>(*this, "Image1");
  Image2 = RequiredComponent<TImage>(*this, "Image2");
  BitBtn1 = RequiredComponent<TBitBtn>(*this, "BitBtn1");
  Edit1 = RequiredComponent<TEdit>(*this, "Edit1");
  // The description's texts are the Russian wordings: the run's language replaces them.
  SetCaption(GameText(Caption()));
  BitBtn1->Caption = GameText(BitBtn1->Caption);
  Edit1->SetText(GameText(Edit1->Text()));
  Label1->Font = Font;
  Edit1->Font = Font;
  storedClientHeight_ = ClientHeight;
  padHint_ = CreateComponent<TLabel>();
  padHint_->Font = Font;
  padHint_->Caption = GameText("↑↓ буква  ←→ место  Start — готово");
  padHint_->Visible = false;
  AddControl(padHint_);
  OnShow = [this](TObject*) {
    scoreTaken_ = false;
    padCursorAt_ = -1;
    ShowPadHint(mainForm_->DXInput != nullptr && mainForm_->DXInput->Joystick->Attached());
  };
  KeyPreview = true;
  OnKeyPress = [this](TObject*, char32_t&) { leavePadCursor(); };
  OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) {
    if (key != VK_RETURN) leavePadCursor();
  };
}

void TForm1::FormCreate(TObject*) {
  // Failures join the main window's list, which the start-up shows in one message.
  LoadPictureNoting(Image1->Picture, LanguagePicture("Data\\Fon\\1.bmp"),
                    mainForm_->PictureFailures);
  LoadPictureNoting(Image2->Picture, "Data\\Fon\\2.bmp", mainForm_->PictureFailures);
}

void TForm1::FormActivate(TObject*) {
  if (scoreTaken_) return;
  Label1->Caption = mainForm_->Label1->Caption;
  scoreTaken_ = true;
}

void TForm1::Image2Click(TObject*) { BitBtn1->Click(); }

void TForm1::BitBtn1Click(TObject*) {
  SaveRecord(Edit1->Text(), toScore(StrToInt(Label1->Caption)));
  ModalResult = mrOk;
  Close();
  mainForm_->Show();
}

void TForm1::Confirm() { Image2Click(this); }

template <class Input>
void TForm1::pick(Input input) {
  TLetterPicker picker(PadLetters(GameLanguage()), Utf8ToUtf32(Edit1->Text()));
  if (!picker.Place(static_cast<size_t>(Edit1->SelStart()),
                    static_cast<size_t>(Edit1->SelLength()))) {
    input(picker);
  }
  Edit1->SetText(Utf32ToUtf8(picker.Text()));
  padCursorAt_ = static_cast<int>(picker.Cursor());
  Edit1->Select(padCursorAt_, picker.OnEmptyPlace() ? 0 : 1);
  Repaint();
}

void TForm1::PadTurn(int step) {
  pick([step](TLetterPicker& picker) { picker.Turn(step); });
}

void TForm1::PadRight() {
  pick([](TLetterPicker& picker) { picker.Forward(); });
}

void TForm1::PadA() {
  bool afterTheName = false;
  pick([&afterTheName](TLetterPicker& picker) {
    afterTheName = picker.OnEmptyPlace() && !picker.Text().empty();
    if (!afterTheName) picker.Forward();
  });
  if (afterTheName) Confirm();
}

void TForm1::PadBack() {
  pick([](TLetterPicker& picker) { picker.Back(); });
}

void TForm1::leavePadCursor() {
  if (padCursorAt_ >= 0 && Edit1->SelLength() == 1 && Edit1->SelStart() == padCursorAt_)
    Edit1->Select(padCursorAt_ + 1, 0);
  padCursorAt_ = -1;
}

bool TForm1::PadHintShown() const { return padHint_->Visible; }

void TForm1::ShowPadHint(bool shown) {
  if (shown == padHint_->Visible) return;
  padHint_->Visible = shown;
  int width = 0;
  int height = 0;
  if (Application != nullptr)
    Application->Platform().text().textExtent(padHint_->Caption, padHint_->Font, width, height);
  padHint_->Left = std::max((ClientWidth - width) / 2, 0);
  padHint_->Top = storedClientHeight_ + kHintMargin;
  ClientHeight = storedClientHeight_ + (shown ? height + 2 * kHintMargin : 0);
  if (Handle() != nullptr) Handle()->setClientSize(ClientWidth, ClientHeight);
  Repaint();
}
