#pragma once
// The game's main window over the fake platform, created from its stored description.

#include <gtest/gtest.h>

#include "engine/graphics/dx_draw.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "game/records.h"
#include "support/fake_app.h"

struct MainFormTest : ::testing::Test {
  FakeApp f;
  TMainForm* form = nullptr;
  int nameEntries = 0;

  void SetUp() override {
    GameVars = TGameVars{};
    RecordScores.fill(0);
    f.clock().setAutoAdvance(16);
    form = f.app->CreateForm<TMainForm>();
    form->LoadDescription(LoadEmbeddedDescription("main_form.form"));
    form->ShowNameEntry = [this] { ++nameEntries; };
  }
  // Shows the window and brings the application to the front: a full-screen display
  // presents nothing while the game is in the background.
  void showActive() {
    form->Show();
    f.events().pushFocus(form->Handle()->id(), true);
    f.step(2);
  }
  platform::FakeWindow& window() { return *f.platform.findWindow(form->Handle()->id()); }
  void frames(int count) {
    const int before = window().presentCount();
    for (int guard = 0; window().presentCount() < before + count && guard < 100 * count; ++guard) f.step();
  }
};

