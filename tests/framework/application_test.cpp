#include "framework/application.h"

#include <gtest/gtest.h>

#include "framework/form.h"
#include "support/fake_app.h"

namespace {

TEST(IdleSlot, InstallingReplacesAndRemovingEmpties) {
  FakeApp f;
  int first = 0;
  int second = 0;
  f.app->SetIdleHandler([&](TObject*, bool& done) {
    ++first;
    done = false;
  });
  f.app->SetIdleHandler([&](TObject*, bool& done) {
    ++second;
    done = false;
  });
  f.step(3);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 3);
  EXPECT_EQ(f.events().waitCount(), 0);  // a handler that wants more keeps the loop from waiting
  f.app->RemoveIdleHandler();
  f.step();
  EXPECT_EQ(second, 3);
  EXPECT_EQ(f.events().waitCount(), 1);
}

TEST(IdleSlot, ContentHandlerLetsTheLoopWait) {
  FakeApp f;
  f.app->SetIdleHandler([](TObject*, bool& done) { done = true; });
  f.step(2);
  EXPECT_EQ(f.events().waitCount(), 2);
}

TEST(IdleSlot, AHandlerWithNothingToDoLetsTheLoopWaitForTheShortestTimeAsked) {
  FakeApp f;
  int pass = 0;
  f.app->SetIdleHandler([&](TObject*, bool& done) {
    done = false;
    if (++pass == 2) {
      f.app->RequestIdleWait(40);
      f.app->RequestIdleWait(15);
      f.app->RequestIdleWait(30);
    }
  });
  f.step();
  EXPECT_EQ(f.events().waitCount(), 0);
  f.step();
  EXPECT_EQ(f.events().waitCount(), 1);
  EXPECT_EQ(f.events().lastWaitTimeout(), 15);
  f.step();  // a request lasts one pass
  EXPECT_EQ(f.events().waitCount(), 1);
}

TEST(IdleSlot, NoWaitOnceTheLoopIsTerminated) {
  FakeApp f;
  f.app->SetIdleHandler([&](TObject*, bool& done) {
    done = false;
    f.app->RequestIdleWait(10);
    f.app->Terminate();
  });
  f.step();
  EXPECT_EQ(f.events().waitCount(), 0);
}

TEST(Activation, NotificationsReachMainWindowHooksAfterTheFlagChanged) {
  FakeApp f;
  std::vector<uint32_t> seen;
  std::vector<bool> activeThen;
  const int id = f.app->HookMainWindow([&](TMessage& m) {
    seen.push_back(m.Msg);
    activeThen.push_back(f.app->Active());
    return false;
  });
  f.events().pushFocus(1, true);
  f.step(2);
  f.events().pushFocus(1, false);
  f.step(3);
  EXPECT_EQ(seen, (std::vector<uint32_t>{CM_ACTIVATE, CM_DEACTIVATE}));
  EXPECT_EQ(activeThen, (std::vector<bool>{true, false}));
  f.app->UnhookMainWindow(id);
  f.events().pushFocus(1, true);
  f.step(2);
  EXPECT_EQ(seen.size(), 2u);
}

TEST(Title, ComesFromTheExecutableName) {
  FakeApp f;
  f.platform.setExecutablePath("/opt/games/REEFMAW.Linux.bin");
  TApplication app(f.platform);
  EXPECT_EQ(app.Title, "Reefmaw");
}

// A form whose description is built in code, for the modal tests.
class TDialog : public TForm {
 public:
  using TForm::TForm;
  std::string ClassName() const override { return "TDialog"; }
};

TEST(Modal, FramesKeepRunningWhileAModalWindowOpenedInAFrameIsUp) {
  FakeApp f;
  auto* main = f.app->CreateForm<TDialog>();
  main->LoadDescription(
      ParseDescription("object Main: TDialog\n ClientWidth = 100\n ClientHeight = 50\nend"));
  auto* dialog = f.app->CreateForm<TDialog>();
  dialog->LoadDescription(
      ParseDescription("object D: TDialog\n ClientWidth = 10\n ClientHeight = 10\nend"));
  int frames = 0;
  int framesWhileModal = 0;
  int result = -1;
  f.app->SetIdleHandler([&](TObject*, bool& done) {
    done = false;
    ++frames;
    if (dialog->Modal()) {
      if (++framesWhileModal == 5) dialog->ModalResult = mrOk;
      return;
    }
    if (frames == 2) result = dialog->ShowModal();
  });
  f.step(3);
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(framesWhileModal, 5);
  EXPECT_FALSE(dialog->Handle()->visible());
}

TEST(Modal, AnExceptionInAFrameIsShownInAMessageBoxWhileFramesGoOn) {
  FakeApp f;
  auto* main = f.app->CreateForm<TDialog>();
  main->LoadDescription(ParseDescription("object Main: TDialog\nend"));
  int frames = 0;
  int framesUnderBox = 0;
  platform::FakeWindow* box = nullptr;
  f.app->SetIdleHandler([&](TObject*, bool& done) {
    done = false;
    ++frames;
    if (frames == 1) throw Exception("%s not loaded");
    box = f.platform.lastWindow();
    if (box != nullptr && box->visible() && box->caption() == f.app->Title) {
      if (++framesUnderBox == 3) f.events().pushKeyDown(box->id(), 13);  // Enter presses OK
    }
  });
  f.step();
  EXPECT_EQ(framesUnderBox, 3);
  EXPECT_GE(frames, 4);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(f.platform.windowsCreated(), 2);
  f.step(2);
  EXPECT_EQ(frames, framesUnderBox + 3);
}

TEST(Modal, AModalWindowIsAChildOfTheWindowItInterrupts) {
  FakeApp f;
  auto* main = f.app->CreateForm<TDialog>();
  main->LoadDescription(ParseDescription("object Main: TDialog\nend"));
  auto* dialog = f.app->CreateForm<TDialog>();
  dialog->LoadDescription(ParseDescription("object D: TDialog\nend"));
  main->Show();
  std::vector<uint32_t> parents;
  int frames = 0;
  f.app->SetIdleHandler([&](TObject*, bool& done) {
    done = false;
    ++frames;
    if (frames == 1) {
      dialog->ShowModal();
    } else if (frames == 2) {
      // A message box over the dialog belongs to the dialog.
      parents.push_back(f.platform.findWindow(dialog->Handle()->id())->parent());
      throw Exception("%s not loaded");
    } else if (frames == 3) {
      parents.push_back(f.platform.lastWindow()->parent());
      f.events().pushKeyDown(f.platform.lastWindow()->id(), 13);
    } else {
      dialog->ModalResult = mrOk;
    }
  });
  f.step();
  EXPECT_EQ(parents, (std::vector<uint32_t>{main->Handle()->id(), dialog->Handle()->id()}));
}

TEST(Modal, ClosingTheMainFormEndsTheLoop) {
  FakeApp f;
  auto* main = f.app->CreateForm<TDialog>();
  main->LoadDescription(ParseDescription("object Main: TDialog\nend"));
  f.events().pushClose(main->Handle()->id());
  f.app->Run();
  EXPECT_TRUE(f.app->Terminated());
  FakeApp g;
  auto* other = g.app->CreateForm<TDialog>();
  other->LoadDescription(ParseDescription("object Main: TDialog\nend"));
  g.events().pushClose(0);  // SIGTERM arrives as a close request for the application
  g.app->Run();
  EXPECT_TRUE(g.app->Terminated());
}

TEST(Modal, ACloseRequestEndsAMessageBoxShownBeforeAnyWindow) {
  FakeApp f;
  f.events().onWait = [&](int) { f.events().pushClose(0); };
  f.app->MessageBox("The game's pictures were not found.");
  EXPECT_TRUE(f.app->Terminated());
}

TEST(Forms, KeyPreviewSeesKeysFirstAndInputIsRoutedToTheModalWindow) {
  FakeApp f;
  auto* main = f.app->CreateForm<TDialog>();
  std::vector<uint16_t> keys;
  main->PublishMethod<TKeyEvent>(
      "KeyDown", [&](TObject*, uint16_t& key, TShiftState) { keys.push_back(key); });
  std::vector<char32_t> chars;
  main->PublishMethod<TKeyPressEvent>("KeyPress",
                                      [&](TObject*, char32_t& key) { chars.push_back(key); });
  main->LoadDescription(
      ParseDescription("object Main: TDialog\n KeyPreview = True\n OnKeyDown = KeyDown\n "
                       "OnKeyPress = KeyPress\nend"));
  main->Show();
  f.events().pushKeyDown(main->Handle()->id(), 27);
  f.events().pushChar(main->Handle()->id(), "ж");
  f.step(2);
  EXPECT_EQ(keys, (std::vector<uint16_t>{27}));
  EXPECT_EQ(chars, (std::vector<char32_t>{U'ж'}));
}

}  // namespace
