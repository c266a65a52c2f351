#pragma once
// The name-entry window: opened modally when a finished game beats the tenth record; it
// puts the typed name and the game's total into the records file. A pad picks the name
// letter by letter beside the keyboard (see letter_picker.h), and while a pad is
// connected a line under the picture says how.

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

  // Enter, the pad's Start, and A on the empty place after the name: saves, as the
  // picture button does.
  void Confirm() override;

  // The pad's letters: Up (-1) or Down (+1) turns the letter under the cursor.
  void PadTurn(int step);
  // Right: on to the next letter.
  void PadRight();
  // A: as Right, but on the empty place after the name it confirms.
  void PadA();
  // Left or B: back a letter, taking the last one away.
  void PadBack();
  // The line that names the pad's buttons, under the picture; the window grows by it.
  void ShowPadHint(bool shown);
  bool PadHintShown() const;

 private:
  // Runs one pad input on the name field's text and cursor. The first input of a showing
  // only takes away the selected text (the prompt, or the last name).
  template <class Input>
  void pick(Input input);
  // A letter the pad picked stands selected as its cursor; typing goes on after it.
  void leavePadCursor();

  TMainForm* mainForm_;
  // The total is taken once per showing: while the window is open the main window's
  // score text already follows the next game.
  bool scoreTaken_ = false;
  TLabel* padHint_ = nullptr;
  int storedClientHeight_ = 0;
  // Where the pad's cursor letter stands selected; -1 when the pad has not placed it.
  int padCursorAt_ = -1;
};
