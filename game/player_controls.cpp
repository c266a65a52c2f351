// The main window's pointer and key handlers: menu items, leaving and resuming play,
// the full-screen switch and the cheat key. They only change GameVars or call the
// display and the records; the next frame shows the result.

#include "engine/graphics/dx_draw.h"
#include "game/game_rules.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "game/menu_layout.h"
#include "platform/virtual_keys.h"

namespace {
using platform::VK_ESCAPE;
using platform::VK_RETURN;
constexpr int kCheatLevelLimit = 9;
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
    // A click leaves these screens for the menu and does nothing more: the menu's items
    // are not shown there, so the same click must not run one of them.
    if (GameVars.GameState == gsGameOver || GameVars.GameState == gsRecords ||
        GameVars.GameState == gsPicture) {
      GameVars.GameState = gsMenu;
    } else if (GameVars.GameState == gsLevelIntro) {
      GameVars.GameState = gsPlay;
    }
    return;
  }
  switch (MenuItemAt(X, Y)) {
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

void TMainForm::FormKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE) {
    if (GameVars.GameState == gsPlay) {
      GameVars.GameState = gsMenu;
    } else if (GameVars.GameState == gsLevelIntro) {
      GameVars.GameState = gsPlay;
    }
  }
  if ((Shift & platform::ssAlt) != 0 && Key == VK_RETURN) toggleFullScreen();
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
