// The main window's pointer and key handlers: menu items, leaving and resuming play,
// the full-screen switch and the cheat key. They only change GameVars or call the
// display and the records; the next frame shows the result. The keys also work the menu
// and the screens between games, so that the game plays without a pointer.

#include <algorithm>

#include "engine/graphics/dx_draw.h"
#include "engine/input/dx_input.h"
#include "game/game_rules.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "game/menu_layout.h"
#include "platform/input_system.h"
#include "platform/virtual_keys.h"

namespace {
using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_NUMPAD2;
using platform::VK_NUMPAD8;
using platform::VK_RETURN;
using platform::VK_SPACE;
using platform::VK_UP;
constexpr int kCheatLevelLimit = 9;

// The key is one the keyboard's table gives to that state, as the settings bind them.
bool boundTo(const TKeyboard& keyboard, TDXInputState state, uint16_t key) {
  const auto& row = keyboard.Assigns[state];
  return std::find(row.begin(), row.end(), static_cast<int32_t>(key)) != row.end();
}
}  // namespace

void TMainForm::DXDrawMouseMove(TObject*, TShiftState, int X, int Y) {
  for (int i = kFirstMenuItem; i <= kLastMenuItem; ++i) {
    if (InMenuItem(i, X, Y)) {
      GameVars.HoverItem = i;
    } else if (i < GameVars.HoverItem) {
      GameVars.HoverItem = kNoItem;
    }
  }
  GameVars.PointerX = X;
  GameVars.PointerY = Y;
}

void TMainForm::DXDrawMouseDown(TObject*, TMouseButton, TShiftState, int X, int Y) {
  if (GameVars.GameState != gsMenu) {
    leaveScreen();
    return;
  }
  chooseMenuItem(MenuItemAt(X, Y));
}

void TMainForm::leaveScreen() {
  // These screens go back to the menu and do nothing more: the menu's items are not
  // shown there, so the same click or key must not run one of them.
  if (GameVars.GameState == gsGameOver || GameVars.GameState == gsRecords ||
      GameVars.GameState == gsPicture) {
    GameVars.GameState = gsMenu;
  } else if (GameVars.GameState == gsLevelIntro) {
    GameVars.GameState = gsPlay;
  }
}

void TMainForm::chooseMenuItem(int item) {
  switch (item) {
    case kItemNewGame:
      GameVars.GameState = gsPlay;
      ResetGameValues(GameVars);
      GameVars.LevelReady = 0;
      GameVars.ResumeLock = 0;
      break;
    case kItemContinue:
      if (GameVars.ResumeLock != kNoResume) GameVars.GameState = gsPlay;
      break;
    case kItemRecords:
      GameVars.GameState = gsRecords;
      Button3->Click();
      break;
    case kItemPicture:
      GameVars.GameState = gsPicture;
      break;
    case kItemQuit:
      Close();
      break;
    default:
      break;
  }
}

void TMainForm::highlightMenuItem(int step) {
  const int item = NextMenuItem(GameVars.HoverItem, step, GameVars.ResumeLock == kNoResume);
  // The game's pointer goes onto the item, so the menu shows it exactly as a hover does.
  DXDrawMouseMove(DXDraw, 0, MenuItemPointerX(item), MenuItemPointerY(item));
}

void TMainForm::confirm() {
  if (GameVars.GameState == gsMenu) {
    chooseMenuItem(GameVars.HoverItem);
  } else if (GameVars.GameState != gsPlay) {
    leaveScreen();
  }
}

void TMainForm::goBack() {
  if (GameVars.GameState == gsPlay) {
    GameVars.GameState = gsMenu;
  } else if (GameVars.GameState != gsMenu) {
    leaveScreen();
  }
}

void TMainForm::FormKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
  const bool alt = (Shift & platform::ssAlt) != 0;
  // Enter, Space and Escape act once per press: a held key's repeats would otherwise run
  // on into the screen the first one opened.
  if (Key == VK_ESCAPE) {
    if (!keyRepeats_) goBack();
  } else if ((Key == VK_RETURN || Key == VK_SPACE) && !alt) {
    if (!keyRepeats_) confirm();
  } else if (GameVars.GameState == gsMenu && menuStep(Key) != 0 && !keyRepeats_) {
    // Held, the key repeats at the menu's own pace (the frame step), not the keyboard's.
    const int step = menuStep(Key);
    highlightMenuItem(step);
    (step < 0 ? upRepeat_ : downRepeat_).Press();
  }
  if (alt && Key == VK_RETURN) toggleFullScreen();
}

int TMainForm::menuStep(uint16_t key) const {
  if (key == VK_UP || key == VK_NUMPAD8 || boundTo(*DXInput->Keyboard, isUp, key)) return -1;
  if (key == VK_DOWN || key == VK_NUMPAD2 || boundTo(*DXInput->Keyboard, isDown, key)) return 1;
  return 0;
}

void TMainForm::WndProc(TMessage& message) {
  const auto key = static_cast<size_t>(message.WParam & 0xFF);
  switch (message.Msg) {
    case WM_KEYDOWN: {
      // A key-down for a key already held is the keyboard's repeat.
      keyRepeats_ = heldKeys_.test(key);
      heldKeys_.set(key);
      struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
      } reset{keyRepeats_};
      TDXForm::WndProc(message);
      return;
    }
    case WM_KEYUP:
      heldKeys_.reset(key);
      break;
    case WM_SETFOCUS:
      // Keys already held when the window comes to the front (the Enter that closed the
      // name window) are held, not pressed.
      heldKeys_.reset();
      if (DXInput != nullptr) {
        std::array<uint8_t, 256> keys{};
        DXInput->InputSystem().keyboardState(keys);
        for (size_t k = 0; k < keys.size(); ++k) heldKeys_.set(k, (keys[k] & 0x80) != 0);
      }
      break;
    case WM_KILLFOCUS:
      // Keys let go elsewhere are never seen let go here.
      heldKeys_.reset();
      break;
    default:
      break;
  }
  TDXForm::WndProc(message);
}

void TMainForm::toggleFullScreen() {
  DXDraw->Finalize();
  TDXDrawOptions options = DXDraw->Options();
  const bool toWindow = options.Contains(doFullScreen);
  if (toWindow) {
    if (PlacementSaved()) {
      RestorePlacement();
    } else {
      // Started full screen: there is no earlier window to go back to, so the window
      // goes where the settings say instead of its tiny design size where it was made.
      placeWindow();
    }
    options.Exclude(doFullScreen);
  } else {
    StorePlacement();
    options.Include(doFullScreen);
  }
  showInWindow(toWindow);
  DXDraw->SetOptions(options);
  DXDraw->Initialize();
  if (toWindow && !windowPlaced_ && Handle() != nullptr) {
    windowPlaced_ = true;
    placedWindow_ = Handle()->placement();
  }
}

void TMainForm::FormKeyPress(TObject*, char32_t& Key) {
  if (GameVars.Level < kCheatLevelLimit && Key == kCheatKey) {
    GameVars.Points = 10000.0;
    Application->MessageBox("Cheater!");
  }
}
