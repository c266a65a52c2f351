#pragma once
// The game's main window over the fake platform, created from its stored description.

#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/dx_draw.h"
#include "engine/graphics/image_list.h"
#include "engine/sprite/sprite_engine.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "game/random.h"
#include "game/records.h"
#include "platform/fake_input.h"
#include "support/fake_app.h"
#include "support/game_folder.h"

// The main window in a game folder of its own, with message boxes recorded instead of
// shown and a fixed high-resolution counter, so that every run draws the same numbers.
struct MainFormTest : ::testing::Test {
  GameFolder folder;
  FakeApp f;
  TMainForm* form = nullptr;
  int nameEntries = 0;
  std::vector<std::string> messages;

  void SetUp() override {
    GameVars = TGameVars{};
    RecordNames.fill("");
    RecordScores.fill(0);
    RandSeed = 0;
    prepare();
    f.clock().setAutoAdvance(16);
    f.clock().setHighResCounter(0x5EED);
    f.app->OnShowMessage = [this](const std::string& text) { messages.push_back(text); };
    form = f.app->CreateForm<TMainForm>();
    form->LoadDescription(LoadEmbeddedDescription("main_form.form"));
    form->ShowNameEntry = [this] { ++nameEntries; };
  }
  // Changes to the game folder before the window is made.
  virtual void prepare() {}
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
    for (int guard = 0; window().presentCount() < before + count && guard < 100 * count; ++guard)
      f.step();
  }

  TSpriteEngine& engine() { return *form->DXSpriteEngine->Engine; }
  TPictureCollection& images() { return *form->ImageList->Items; }
  platform::FakeInputSystem& input() {
    return static_cast<platform::FakeInputSystem&>(f.platform.input());
  }
  // The sprites of one class directly under the engine, in creation order.
  template <class T>
  std::vector<T*> spritesOf() {
    std::vector<T*> found;
    for (int i = 0; i < engine().ChildCount(); ++i) {
      if (auto* sprite = dynamic_cast<T*>(engine().ChildAt(i))) found.push_back(sprite);
    }
    return found;
  }
};

// A seed whose first draw Random(n) gives want: set as the high-resolution counter, it
// decides what the first draw after every re-seeding gives.
inline uint32_t SeedGiving(int32_t n, int32_t want) {
  for (uint32_t seed = 0;; ++seed) {
    RandSeed = seed;
    if (Random(n) == want) return seed;
  }
}
