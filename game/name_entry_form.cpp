#include "game/name_entry_form.h"

#include "game/main_form.h"

TForm1::TForm1(TComponent* owner, TMainForm* mainForm) : TForm(owner), mainForm_(mainForm) {
  PublishMethod<TNotifyEvent>("FormCreate", [this](TObject* s) { FormCreate(s); });
  PublishMethod<TNotifyEvent>("FormActivate", [this](TObject* s) { FormActivate(s); });
  PublishMethod<TNotifyEvent>("BitBtn1Click", [this](TObject* s) { BitBtn1Click(s); });
}

void TForm1::Loaded() {
  TForm::Loaded();
  Label1 = dynamic_cast<TLabel*>(FindComponent("Label1"));
  BitBtn1 = dynamic_cast<TBitBtn*>(FindComponent("BitBtn1"));
  if (Label1 == nullptr || BitBtn1 == nullptr) throw EReadError("Components missing from the name-entry window");
  BitBtn1->Default = true;
}

// The window's pictures and the name field arrive with the records screen.
void TForm1::FormCreate(TObject*) {}

void TForm1::FormActivate(TObject*) { Label1->Caption = mainForm_->Label1->Caption; }

void TForm1::BitBtn1Click(TObject*) {
  ModalResult = mrOk;
  Close();
  mainForm_->Show();
}
