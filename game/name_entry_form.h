#pragma once
// The name-entry window: opened modally when a finished game beats the tenth record.

#include "framework/form.h"

class TMainForm;

class TForm1 : public TForm {
 public:
  TForm1(TComponent* owner, TMainForm* mainForm);
  std::string ClassName() const override { return "TForm1"; }
  void Loaded() override;

  TLabel* Label1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;

  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);
  void BitBtn1Click(TObject* Sender);

 private:
  TMainForm* mainForm_;
};
