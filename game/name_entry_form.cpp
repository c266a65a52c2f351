#include "game/name_entry_form.h"

#include <algorithm>
#include <limits>

#include "framework/edit_control.h"
#include "framework/image_control.h"
#include "game/game_texts.h"
#include "game/main_form.h"
#include "game/picture_failures.h"
#include "game/records.h"
#include "platform/virtual_keys.h"

namespace {
using platform::VK_RETURN;

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
  OnShow = [this](TObject*) { scoreTaken_ = false; };
  // Enter in the name field confirms, like the picture button.
  Edit1->OnKeyDown = [this](TObject* sender, uint16_t& key, TShiftState) {
    if (key != VK_RETURN) return;
    key = 0;
    Image2Click(sender);
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
