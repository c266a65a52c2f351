#pragma once
// The name-entry window: opened modally when a finished game beats the tenth record; it
// puts the typed name and the game's total into the records file.

#include <string>

#include "framework/form.h"

class TMainForm;
class TImage;
class TEdit;

class TForm1 : public TForm {
 public:
  TForm1(TComponent* owner, TMainForm* mainForm);
  std::string ClassName() const override { return "TForm1"; }
  void Loaded() override;

  TLabel* Label1 = nullptr;
  TImage* Image1 = nullptr;
  TImage* Image2 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TEdit* Edit1 = nullptr;

  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);
  void Image2Click(TObject* Sender);
  void BitBtn1Click(TObject* Sender);

 private:
  TMainForm* mainForm_;
  // The total is taken once per showing: while the window is open the main window's
  // score text already follows the next game.
  bool scoreTaken_ = false;
};
