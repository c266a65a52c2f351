#pragma once
// The whole game as the program starts it, over the fake platform in a game folder of its
// own: both windows, message boxes recorded instead of shown, texts recorded as drawn, a
// fixed high-resolution counter and a clock that moves 16 ms per reading.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/input/dx_input.h"
#include "framework/edit_control.h"
#include "framework/image_control.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "game/name_entry_form.h"
#include "game/random.h"
#include "game/records.h"
#include "game/start_up.h"
#include "platform/fake_input.h"
#include "support/fake_app.h"
#include "support/game_folder.h"
#include "support/recording_text.h"
#include "support/typing.h"

class GameSession {
 public:
  GameFolder folder;
  FakeApp f;
  RecordingTextRenderer* text = nullptr;
  TMainForm* main = nullptr;
  TForm1* form1 = nullptr;
  std::vector<std::string> messages;
  // Runs inside every message box, while the box would be up.
  std::function<void(const std::string&)> onMessage;
  // Runs when the name-entry window is about to open, before its own loop starts.
  std::function<void()> beforeNameEntry;
  // Runs after every frame of the main window.
  std::function<void()> afterFrame;
  int nameEntries = 0;

  // input: the devices the game reads; the fake input system when none is given.
  explicit GameSession(std::unique_ptr<platform::InputSystem> input = nullptr) {
    if (input) f.platform.setInput(std::move(input));
    GameVars = TGameVars{};
    RecordNames.fill("");
    RecordScores.fill(0);
    RandSeed = 0;
    auto recorder = std::make_unique<RecordingTextRenderer>();
    text = recorder.get();
    f.platform.setText(std::move(recorder));
    f.clock().setAutoAdvance(16);
    f.clock().setHighResCounter(0x5EED);
    f.app->OnShowMessage = [this](const std::string& message) {
      messages.push_back(message);
      if (onMessage) onMessage(message);
    };
    const TGameWindows windows = CreateGameWindows(*f.app);
    main = windows.MainForm;
    form1 = windows.Form1;
    main->ShowNameEntry = [this] {
      ++nameEntries;
      if (beforeNameEntry) beforeNameEntry();
      form1->ShowModal();
    };
    main->DXTimer->OnTimer = [this, frame = main->DXTimer->OnTimer](TObject* sender, int32_t lag) {
      frame(sender, lag);
      if (afterFrame) afterFrame();
    };
    main->Show();
    f.events().pushFocus(mainId(), true);
    f.step(2);
  }

  uint32_t mainId() const { return main->Handle()->id(); }
  uint32_t form1Id() const { return form1->Handle()->id(); }
  platform::FakeWindow& mainWindow() { return *f.platform.findWindow(mainId()); }
  platform::FakeInputSystem& input() {
    return static_cast<platform::FakeInputSystem&>(f.platform.input());
  }
  TEdit& edit() { return *form1->Edit1; }

  // Runs the loop until the main window has presented count more frames.
  void frames(int count) {
    const int before = mainWindow().presentCount();
    for (int guard = 0; mainWindow().presentCount() < before + count && guard < 100 * count;
         ++guard)
      f.step();
  }
  void click(int x, int y) {
    f.events().pushMouseMove(mainId(), x, y);
    f.events().pushMouseDown(mainId(), x, y);
    f.events().pushMouseUp(mainId(), x, y);
    frames(1);
  }
  void typeInto(uint32_t window, const std::string& chars) { PushTyped(f.events(), window, chars); }
  // Holds exactly these keys for the shark.
  void hold(std::initializer_list<uint16_t> keys) {
    input().keys.fill(0);
    for (uint16_t k : keys) input().setKey(k, true);
  }
};

struct GameTest : ::testing::Test, GameSession {};
