#include "engine/timer/dx_form.h"

#include <gtest/gtest.h>

#include "engine/timer/control_subclass.h"
#include "support/fake_app.h"

namespace {

class TGameWindow : public TDXForm {
 public:
  using TDXForm::TDXForm;
  std::string ClassName() const override { return "TGameWindow"; }
};

TGameWindow* createWindow(FakeApp& f) {
  auto* form = f.app->CreateForm<TGameWindow>();
  form->LoadDescription(
      ParseDescription("object W: TGameWindow\n ClientWidth = 320\n ClientHeight = 200\nend"));
  return form;
}

TEST(DXForm, RestorePlacementAppliesASavedPlacementOnce) {
  FakeApp f;
  TGameWindow* form = createWindow(f);
  auto* window = f.platform.findWindow(form->Handle()->id());
  form->RestorePlacement();
  EXPECT_EQ(window->setPlacementCount(), 0);
  window->setPlacement(platform::Placement{10, 20, 320, 200, false});
  form->StorePlacement();
  window->setPlacement(platform::Placement{0, 0, 1024, 768, false});
  form->RestorePlacement();
  form->RestorePlacement();
  EXPECT_EQ(window->placement().x, 10);
  EXPECT_EQ(window->setPlacementCount(), 3);
}

TEST(DXForm, PlaceCentredPutsTheWindowWhollyOnTheWorkArea) {
  FakeApp f;
  TGameWindow* form = createWindow(f);
  auto* window = f.platform.findWindow(form->Handle()->id());
  f.platform.setFrameExtents(platform::FrameExtents{3, 30, 3, 3});
  f.platform.setWorkArea(platform::ScreenArea{0, 0, 1280, 1024});
  form->PlaceCentred(800, 600);
  EXPECT_EQ(window->placement().x, (1280 - 806) / 2 + 3);
  EXPECT_EQ(window->placement().y, (1024 - 633) / 2 + 30);
  EXPECT_EQ(window->placement().width, 800);
  // A screen smaller than the window with its frame: shrunk to fit, title bar on screen.
  f.platform.setWorkArea(platform::ScreenArea{0, 0, 800, 600});
  form->PlaceCentred(800, 600);
  EXPECT_EQ(window->placement().x, 3);
  EXPECT_EQ(window->placement().y, 30);
  EXPECT_EQ(window->placement().width, 794);
  EXPECT_EQ(window->placement().height, 567);
}

TEST(DXForm, CountsItsWindows) {
  FakeApp f;
  const int before = TDXForm::FormCount();
  createWindow(f);
  createWindow(f);
  EXPECT_EQ(TDXForm::FormCount(), before + 2);
  f.app->DestroyComponents();
  EXPECT_EQ(TDXForm::FormCount(), before);
}

TEST(ControlSubClass, SeesMessagesFirstAndPutsTheHandlerBack) {
  FakeApp f;
  TGameWindow* form = createWindow(f);
  std::vector<uint16_t> keys;
  form->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keys.push_back(key); };
  form->KeyPreview = true;
  std::vector<uint32_t> hooked;
  {
    TControlSubClass hook(form, [&](TMessage& m, const std::function<void(TMessage&)>& previous) {
      hooked.push_back(m.Msg);
      if (m.Msg == WM_KEYDOWN && m.WParam == 27) return;  // swallowed
      previous(m);
    });
    f.events().pushKeyDown(form->Handle()->id(), 27);
    f.events().pushKeyDown(form->Handle()->id(), 13);
    f.step(2);
  }
  f.events().pushKeyDown(form->Handle()->id(), 27);
  f.step();
  EXPECT_EQ(hooked, (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYDOWN}));
  EXPECT_EQ(keys, (std::vector<uint16_t>{13, 27}));
}

}  // namespace
