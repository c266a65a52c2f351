#include "framework/message_box.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/colors.h"
#include "framework/form.h"

namespace {

// A form built in code: the text over a single "OK" button, sized to the text.
class TMessageForm : public TForm {
 public:
  TMessageForm(TComponent* owner, const std::string& text, const std::string& caption)
      : TForm(owner) {
    Name = "MessageForm";
    SetCaption(caption);
    BorderStyle = TBorderStyle::bsDialog;
    Position = TPosition::poScreenCenter;
    KeyPreview = false;
    Font.family = "MS Sans Serif";
    Font.sizePoints = 9;
    int textWidth = 0;
    int textHeight = 0;
    Application->Platform().text().textExtent(text, Font, textWidth, textHeight);
    label_ = CreateComponent<TLabel>();
    label_->Caption = text;
    label_->Font = Font;
    label_->Left = 24;
    label_->Top = 20;
    label_->Width = textWidth;
    label_->Height = textHeight;
    AddControl(label_);
    ClientWidth = std::max(textWidth + 48, 200);
    ClientHeight = textHeight + 84;
    button_ = CreateComponent<TButton>();
    button_->Caption = "OK";
    button_->Width = 75;
    button_->Height = 25;
    button_->Left = (ClientWidth - button_->Width) / 2;
    button_->Top = ClientHeight - button_->Height - 16;
    button_->ModalResult = mrOk;
    button_->Default = true;
    button_->Cancel = true;
    AddControl(button_);
    ActiveControl = button_;
  }
  std::string ClassName() const override { return "TMessageForm"; }

 private:
  TLabel* label_ = nullptr;
  TButton* button_ = nullptr;
};

}  // namespace

void ShowMessageBox(TApplication& application, const std::string& text,
                    const std::string& caption) {
  auto form = std::make_unique<TMessageForm>(&application, text, caption);
  form->ShowModal();
}
