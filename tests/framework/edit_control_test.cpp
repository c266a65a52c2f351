#include "framework/edit_control.h"

#include <gtest/gtest.h>

#include "framework/description.h"
#include "framework/image_control.h"
#include "platform/virtual_keys.h"
#include "support/fake_app.h"
#include "support/typing.h"

namespace {

using platform::VK_BACK;
using platform::VK_DELETE;
using platform::VK_END;
using platform::VK_HOME;
using platform::VK_LEFT;
using platform::VK_RETURN;
using platform::VK_RIGHT;

// A small window with a text field over a picture, as the game's dialogs have them.
constexpr const char* kForm = R"(
object Dialog: TForm
  Caption = 'Dialog'
  ClientWidth = 200
  ClientHeight = 60
  BorderIcons = []
  object Back: TImage
    Left = 0
    Top = 0
    Width = 200
    Height = 60
    Align = alClient
  end
  object Edit1: TEdit
    Left = 10
    Top = 10
    Width = 150
    Height = 21
    TabOrder = 0
    Text = 'Hello'
  end
end
)";

struct EditTest : ::testing::Test {
  FakeApp f;
  TForm* form = nullptr;
  TEdit* edit = nullptr;
  void SetUp() override {
    form = f.app->CreateForm<TForm>();
    form->LoadDescription(ParseDescription(kForm));
    edit = dynamic_cast<TEdit*>(form->FindComponent("Edit1"));
    ASSERT_NE(edit, nullptr);
    form->Show();
  }
  uint32_t id() { return form->Handle()->id(); }
  void key(uint16_t k, uint32_t shift = 0) {
    f.events().pushKeyDown(id(), k, shift);
    f.step();
  }
  void type(const std::string& text) {
    PushTyped(f.events(), id(), text);
    f.step(static_cast<int>(f.events().pending()));
  }
  const platform::FakePicture& picture() { return f.platform.findWindow(id())->lastPicture(); }
  // Dark pixels inside the field, left of x.
  int darkInField(int right) {
    int dark = 0;
    for (int y = 13; y < 28; ++y) {
      for (int x = 12; x < right; ++x)
        dark += (picture().pixel(x, y) & 0xFFFFFF) < 0x404040 ? 1 : 0;
    }
    return dark;
  }
};

TEST_F(EditTest, OpensFocusedWithItsTextSelectedSoTypingReplacesIt) {
  EXPECT_EQ(form->ActiveControl, edit);
  EXPECT_EQ(edit->SelStart(), 0);
  EXPECT_EQ(edit->SelLength(), 5);
  type("Акула");
  EXPECT_EQ(edit->Text(), "Акула");
  EXPECT_EQ(edit->CaretPos(), 5);
  EXPECT_EQ(edit->SelLength(), 0);
  // Shown again, the field selects its text once more.
  form->Hide();
  form->Show();
  EXPECT_EQ(edit->SelText(), "Акула");
}

TEST_F(EditTest, EditingKeysWorkOnWholeCharacters) {
  edit->SetText("abЖd");
  key(VK_LEFT);
  key(VK_LEFT);
  EXPECT_EQ(edit->CaretPos(), 2);
  key(VK_BACK);
  EXPECT_EQ(edit->Text(), "aЖd");
  key(VK_DELETE);
  EXPECT_EQ(edit->Text(), "ad");
  key(VK_HOME);
  key(VK_DELETE);
  EXPECT_EQ(edit->Text(), "d");
  key(VK_BACK);  // nothing before the caret
  EXPECT_EQ(edit->Text(), "d");
  key(VK_END);
  key(VK_BACK);
  key(VK_BACK);
  EXPECT_EQ(edit->Text(), "");
  edit->SetText("Ёжик");
  key(VK_LEFT, platform::ssShift);
  key(VK_LEFT, platform::ssShift);
  EXPECT_EQ(edit->SelText(), "ик");
  type("и");
  EXPECT_EQ(edit->Text(), "Ёжи");
  key(VK_HOME, platform::ssShift);  // from the caret back to the start
  EXPECT_EQ(edit->SelText(), "Ёжи");
  key(VK_RIGHT);  // collapses the selection at its end
  EXPECT_EQ(edit->CaretPos(), 3);
  EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(EditTest, ControlCharactersAreNoTextAndTheLimitHolds) {
  edit->SetText("");
  type("\b");
  type("\r");
  type("\x7f");
  type("\x1b");
  EXPECT_EQ(edit->Text(), "");
  edit->MaxLength = 3;
  type("abcdef");
  EXPECT_EQ(edit->Text(), "abc");
  uint16_t seen = 0;
  edit->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { seen = k; };
  key(VK_RETURN);
  EXPECT_EQ(seen, VK_RETURN);
}

TEST_F(EditTest, ShowsTheCaretOnlyWhileFocusedAndKeepsItInsideTheField) {
  edit->SetText("");
  form->Repaint();
  EXPECT_GT(darkInField(20), 0);  // the caret at the left edge
  form->ActiveControl = nullptr;
  form->Repaint();
  EXPECT_EQ(darkInField(20), 0);
  form->FocusControl(edit);
  edit->SetText(std::string(80, 'W'));
  form->Repaint();
  // Scrolled to the end: text fills the field, and the caret column is right of it.
  EXPECT_GT(darkInField(158), 200);
  EXPECT_EQ(edit->CaretPos(), 80);
}

TEST_F(EditTest, AClickPutsTheCaretBetweenCharacters) {
  edit->SetText("WWWW");
  f.events().pushMouseDown(id(), 12, 20);
  f.events().pushMouseUp(id(), 12, 20);
  f.step(2);
  EXPECT_EQ(edit->CaretPos(), 0);
  f.events().pushMouseDown(id(), 155, 20);
  f.step();
  EXPECT_EQ(edit->CaretPos(), 4);
}

TEST(FormBorderIcons, WithoutTheSystemMenuACloseRequestIsRefused) {
  FakeApp f;
  TForm* main = f.app->CreateForm<TForm>();
  main->LoadDescription(ParseDescription("object Main: TForm\n  Caption = 'm'\nend\n"));
  TForm* dialog = f.app->CreateForm<TForm>();
  dialog->LoadDescription(ParseDescription(kForm));
  int shown = 0;
  dialog->OnShow = [&](TObject*) { ++shown; };
  dialog->Show();
  f.events().pushClose(dialog->Handle()->id());
  f.step();
  EXPECT_TRUE(dialog->Handle()->visible());
  EXPECT_FALSE(dialog->SystemMenu);
  EXPECT_TRUE(main->SystemMenu);
  dialog->Hide();
  dialog->Show();
  EXPECT_EQ(shown, 2);
}

TEST_F(EditTest, ASelectionMadeInCodeStaysWithinTheText) {
  edit->SetText("Жук");
  edit->Select(1, 1);
  EXPECT_EQ(edit->SelText(), "у");
  edit->Select(2, 5);
  EXPECT_EQ(edit->SelText(), "к");
  edit->Select(5, 0);
  EXPECT_EQ(edit->CaretPos(), 3);
  EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(EditTest, EnterAndEscapeThatTheFieldLeavesConfirmAndCancelAsTheFormsOwnCallsDo) {
  std::string clicks;
  auto button = [&](char name, bool isDefault, bool isCancel, bool visible) {
    auto* b = form->CreateComponent<TButton>();
    b->Default = isDefault;
    b->Cancel = isCancel;
    b->Visible = visible;
    b->OnClick = [&clicks, name](TObject*) { clicks += name; };
    form->AddControl(b);
  };
  button('h', true, true, false);  // hidden: never clicked
  button('o', true, false, true);
  button('c', false, true, true);
  key(VK_RETURN);
  key(platform::VK_ESCAPE);
  form->Confirm();
  form->Cancel();
  EXPECT_EQ(clicks, "ococ");
  EXPECT_EQ(edit->Text(), "Hello");
}

}  // namespace
