#include <gtest/gtest.h>

#include <algorithm>

#include "engine/graphics/dx_draw.h"
#include "engine/input/dx_input.h"
#include "game/game_fixture.h"
#include "game/main_form_fixture.h"
#include "game/menu_layout.h"
#include "game/player_sprite.h"
#include "platform/virtual_keys.h"

namespace {

using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_NUMPAD2;
using platform::VK_NUMPAD8;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_SPACE;
using platform::VK_UP;

struct ControlsTest : MainFormTest {
  void click(int x, int y, TMouseButton button = TMouseButton::mbLeft) {
    form->DXDrawMouseDown(form->DXDraw, button, 0, x, y);
  }
  void move(int x, int y) { form->DXDrawMouseMove(form->DXDraw, 0, x, y); }
  void key(uint16_t k, TShiftState shift = 0) { form->FormKeyDown(form, k, shift); }
  // A key as the window gets it: down, and up unless it stays held.
  void press(uint16_t k, bool release = true) {
    f.events().pushKeyDown(form->Handle()->id(), k);
    if (release) f.events().pushKeyUp(form->Handle()->id(), k);
    f.app->ProcessMessages();
  }
};

TEST_F(ControlsTest, NewGameOnlyInsideTheOpenItemRectangle) {
  click(500, 175);
  click(700, 175);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  GameVars.LevelBonus = 300;
  GameVars.Level = 4;
  click(600, 175, TMouseButton::mbRight);
  EXPECT_EQ(GameVars.GameState, gsPlay);
  EXPECT_EQ(GameVars.LevelReady, 0);
  EXPECT_EQ(GameVars.ResumeLock, 0);
  EXPECT_EQ(GameVars.LevelBonus, 0);
  EXPECT_EQ(GameVars.Level, 1);
}

TEST_F(ControlsTest, ContinueIsRefusedUntilAGameWasLeftWithEscape) {
  click(500, 225);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  click(600, 175);
  GameVars.Points = 42;
  key(27);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  click(500, 225);
  EXPECT_EQ(GameVars.GameState, gsPlay);
  EXPECT_EQ(GameVars.Points, 42);
}

TEST_F(ControlsTest, EscapeLeavesEveryScreenButTheMenuAsAClickDoes) {
  key(27);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  EXPECT_FALSE(f.app->Terminated());
  for (int state : {gsGameOver, gsRecords, gsPicture}) {
    GameVars.GameState = state;
    key(27);
    EXPECT_EQ(GameVars.GameState, gsMenu);
  }
  GameVars.GameState = gsLevelIntro;
  key(27);
  EXPECT_EQ(GameVars.GameState, gsPlay);
  key(27);
  EXPECT_EQ(GameVars.GameState, gsMenu);
}

TEST_F(ControlsTest, ClicksLeaveTheScreensAndItemsSwitchToThem) {
  click(300, 325);
  EXPECT_EQ(GameVars.GameState, gsPicture);
  click(10, 10);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  click(400, 275);
  EXPECT_EQ(GameVars.GameState, gsRecords);
  click(10, 10);
  GameVars.GameState = gsPlay;
  click(400, 275);
  EXPECT_EQ(GameVars.GameState, gsPlay);  // a click during play does nothing
}

TEST_F(ControlsTest, AClickThatLeavesAScreenRunsNoMenuItem) {
  // Where "quit" and "new game" stand on the menu, a click on these screens only goes back.
  for (int state : {gsRecords, gsPicture, gsGameOver}) {
    GameVars.GameState = state;
    click(200, 375);
    EXPECT_EQ(GameVars.GameState, gsMenu);
    EXPECT_FALSE(f.app->Terminated());
    GameVars.GameState = state;
    click(600, 175);
    EXPECT_EQ(GameVars.GameState, gsMenu);
  }
  GameVars.GameState = gsLevelIntro;
  click(200, 375);
  EXPECT_EQ(GameVars.GameState, gsPlay);
  EXPECT_FALSE(f.app->Terminated());
}

TEST_F(ControlsTest, HoverStaysOnItemThreeButClearsFromTheOthers) {
  move(600, 175);
  EXPECT_EQ(GameVars.HoverItem, kItemNewGame);
  move(50, 50);
  EXPECT_EQ(GameVars.HoverItem, kItemNewGame);
  move(400, 275);
  EXPECT_EQ(GameVars.HoverItem, kItemRecords);
  move(50, 50);
  EXPECT_EQ(GameVars.HoverItem, kNoItem);
  EXPECT_EQ(GameVars.PointerX, 50);
}

TEST_F(ControlsTest, CheatKeyCompletesTheLevelFromTheMenuBelowLevelNine) {
  showActive();
  char32_t cheat = kCheatKey;
  form->FormKeyPress(form, cheat);
  EXPECT_EQ(messages, (std::vector<std::string>{"Cheater!"}));
  frames(1);
  EXPECT_EQ(GameVars.GameState, gsLevelIntro);
  EXPECT_EQ(GameVars.Level, 2);
  EXPECT_EQ(GameVars.LevelBonus, 100);
  GameVars.Level = 9;
  GameVars.Points = 0;
  form->FormKeyPress(form, cheat);
  EXPECT_EQ(GameVars.Points, 0);
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(ControlsTest, QuitClosesTheMainWindow) {
  click(200, 375);
  EXPECT_TRUE(f.app->Terminated());
}

TEST_F(ControlsTest, AltEnterSwitchesBetweenFullScreenAndAWindowKeepingThePlacement) {
  showActive();
  ASSERT_TRUE(form->DXDraw->Options().Contains(doFullScreen));
  platform::Placement before = window().placement();
  key(13, platform::ssAlt);
  EXPECT_FALSE(form->DXDraw->Options().Contains(doFullScreen));
  EXPECT_TRUE(window().bordered());
  EXPECT_TRUE(form->DXTimer->Enabled());
  frames(1);
  key(13, platform::ssAlt);
  EXPECT_TRUE(form->DXDraw->Options().Contains(doFullScreen));
  EXPECT_FALSE(window().bordered());
  key(13, platform::ssAlt);
  EXPECT_EQ(window().placement().x, before.x);
  key(13);  // Enter alone changes nothing
  EXPECT_FALSE(form->DXDraw->Options().Contains(doFullScreen));
}

// Starts full screen on a screen of that work area, leaves full screen with Alt+Enter and
// expects an 800 x 600 window centred with its frame and wholly visible.
void expectCentredOnFirstLeave(ControlsTest& t, const platform::ScreenArea& screen) {
  const platform::FrameExtents frame{2, 26, 2, 2};
  t.f.platform.setFrameExtents(frame);
  t.f.platform.setWorkArea(screen);
  t.showActive();
  t.key(13, platform::ssAlt);
  EXPECT_FALSE(t.form->DXDraw->Options().Contains(doFullScreen));
  const platform::Placement p = t.window().placement();
  EXPECT_EQ(p.width, 800);
  EXPECT_EQ(p.height, 600);
  EXPECT_EQ(p.x - frame.left, (screen.width - 804) / 2);
  EXPECT_EQ(p.y - frame.top, (screen.height - 628) / 2);
  EXPECT_GE(p.x - frame.left, 0);
  EXPECT_GE(p.y - frame.top, 0);
  EXPECT_LE(p.x + p.width + frame.right, screen.width);
  EXPECT_LE(p.y + p.height + frame.bottom, screen.height);
}

TEST_F(ControlsTest, LeavingTheFirstFullScreenCentresTheWindowOn1280x1024) {
  expectCentredOnFirstLeave(*this, platform::ScreenArea{0, 0, 1280, 1024});
}

TEST_F(ControlsTest, LeavingTheFirstFullScreenCentresTheWindowOn1024x768) {
  expectCentredOnFirstLeave(*this, platform::ScreenArea{0, 0, 1024, 768});
}

TEST_F(ControlsTest, UpAndDownWalkTheItemsRoundAndTakeThePointerAlong) {
  key(VK_DOWN);  // nothing highlighted: down takes the first item
  EXPECT_EQ(GameVars.HoverItem, kItemNewGame);
  EXPECT_EQ(GameVars.PointerX, 682);
  EXPECT_EQ(GameVars.PointerY, 190);
  EXPECT_TRUE(InMenuItem(kItemNewGame, GameVars.PointerX, GameVars.PointerY));
  key(VK_DOWN);
  EXPECT_EQ(GameVars.HoverItem, kItemRecords) << "no game to continue: its item is passed";
  for (int item : {kItemPicture, kItemQuit, kItemNewGame}) {
    key(VK_NUMPAD2);
    EXPECT_EQ(GameVars.HoverItem, item);
    EXPECT_TRUE(InMenuItem(item, GameVars.PointerX, GameVars.PointerY));
  }
  key(VK_UP);
  EXPECT_EQ(GameVars.HoverItem, kItemQuit) << "round from the first to the last";
  key(VK_NUMPAD8);
  EXPECT_EQ(GameVars.HoverItem, kItemPicture);
  key('K');  // the keys that steer the shark up and down work the menu too
  key('K');
  EXPECT_EQ(GameVars.HoverItem, kItemNewGame);
  key('J');
  EXPECT_EQ(GameVars.HoverItem, kItemRecords);
  move(50, 50);
  ASSERT_EQ(GameVars.HoverItem, kNoItem);
  key(VK_UP);  // nothing highlighted: up takes the last item
  EXPECT_EQ(GameVars.HoverItem, kItemQuit);
  GameVars.GameState = gsRecords;
  key(VK_DOWN);
  EXPECT_EQ(GameVars.HoverItem, kItemQuit) << "only the menu has items";
}

TEST_F(ControlsTest, TheMenuShowsAKeyChosenItemAsItShowsAHoveredOne) {
  key(VK_DOWN);
  key(VK_DOWN);
  const std::vector<TPictureDrawing> byKeys = ScreenPictures(GameVars, 7);
  EXPECT_TRUE(InMenuItem(kItemRecords, GameVars.PointerX, GameVars.PointerY));
  EXPECT_EQ(CursorPicture(GameVars, 7).X, GameVars.PointerX);
  GameVars.HoverItem = kNoItem;
  move(400, 275);
  EXPECT_EQ(ScreenPictures(GameVars, 7), byKeys);
}

TEST_F(ControlsTest, ContinueIsAStepOnlyWhileAGameCanBeContinued) {
  key(VK_DOWN);
  key(VK_RETURN);
  ASSERT_EQ(GameVars.GameState, gsPlay);
  GameVars.Points = 42;
  key(VK_ESCAPE);
  ASSERT_EQ(GameVars.GameState, gsMenu);
  key(VK_DOWN);
  EXPECT_EQ(GameVars.HoverItem, kItemContinue);
  key(VK_SPACE);
  EXPECT_EQ(GameVars.GameState, gsPlay);
  EXPECT_EQ(GameVars.Points, 42) << "the same game goes on";
  // With the pointer on the crossed-out item, Enter does what a click does: nothing.
  GameVars.GameState = gsMenu;
  GameVars.ResumeLock = kNoResume;
  move(500, 225);
  key(VK_RETURN);
  EXPECT_EQ(GameVars.GameState, gsMenu);
}

TEST_F(ControlsTest, EveryItemAndEveryScreenByTheKeysAlone) {
  key(VK_DOWN);
  key(VK_DOWN);
  key(VK_RETURN);
  EXPECT_EQ(GameVars.GameState, gsRecords);
  key(VK_RETURN);
  EXPECT_EQ(GameVars.GameState, gsMenu) << "and the item under the pointer is not run";
  key(VK_DOWN);
  key(VK_SPACE);
  EXPECT_EQ(GameVars.GameState, gsPicture);
  key(VK_ESCAPE);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  for (int state : {gsGameOver, gsRecords, gsPicture}) {
    for (uint16_t k : {VK_RETURN, VK_SPACE, VK_ESCAPE}) {
      GameVars.GameState = state;
      key(k);
      EXPECT_EQ(GameVars.GameState, gsMenu) << state << " " << k;
    }
  }
  for (uint16_t k : {VK_RETURN, VK_SPACE, VK_ESCAPE}) {
    GameVars.GameState = gsLevelIntro;
    key(k);
    EXPECT_EQ(GameVars.GameState, gsPlay) << k;
  }
  key(VK_RETURN);
  key(VK_SPACE);
  EXPECT_EQ(GameVars.GameState, gsPlay) << "Enter and Space do nothing in play";
  key(VK_ESCAPE);
  ASSERT_EQ(GameVars.HoverItem, kItemPicture);
  key(VK_DOWN);
  ASSERT_EQ(GameVars.HoverItem, kItemQuit);
  key(VK_RETURN);
  EXPECT_TRUE(f.app->Terminated());
}

TEST_F(ControlsTest, AltEnterSwitchesTheScreenAndChoosesNothing) {
  showActive();
  key(VK_DOWN);
  key(VK_RETURN, platform::ssAlt);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  EXPECT_FALSE(form->DXDraw->Options().Contains(doFullScreen));
}

TEST_F(ControlsTest, TheKeysTheSettingsBindWorkTheMenu) {
  form->DXInput->Keyboard->Assigns[isUp] = {'W', 0, 0};
  form->DXInput->Keyboard->Assigns[isDown] = {'S', 0, 0};
  key('S');
  EXPECT_EQ(GameVars.HoverItem, kItemNewGame);
  key('W');
  EXPECT_EQ(GameVars.HoverItem, kItemQuit);
  key(VK_DOWN);  // the arrows stay
  EXPECT_EQ(GameVars.HoverItem, kItemNewGame);
  key('J');
  EXPECT_EQ(GameVars.HoverItem, kItemNewGame) << "J is no longer bound";
}

TEST_F(ControlsTest, AHeldKeyActsOnceThoughTheKeyboardRepeatsIt) {
  showActive();
  press(VK_DOWN);
  GameVars.GameState = gsRecords;
  press(VK_RETURN, false);
  press(VK_RETURN, false);  // the keyboard's repeat, on the menu now
  press(VK_RETURN, false);
  EXPECT_EQ(GameVars.GameState, gsMenu) << "the repeat must not start a game";
  f.events().pushKeyUp(form->Handle()->id(), VK_RETURN);
  press(VK_RETURN);
  EXPECT_EQ(GameVars.GameState, gsPlay);
  // A held arrow moves on at the menu's own pace, frame by frame, not at the keyboard's.
  press(VK_ESCAPE);
  press(VK_DOWN, false);
  press(VK_DOWN, false);
  EXPECT_EQ(GameVars.HoverItem, kItemContinue);
}

TEST_F(ControlsTest, AKeyHeldWhenTheWindowComesToTheFrontIsNotAPress) {
  showActive();
  GameVars.GameState = gsRecords;
  f.events().pushFocus(form->Handle()->id(), false);
  f.app->ProcessMessages();
  // Enter went down in another window (it closed the name window, say) and repeats here.
  input().setKey(VK_RETURN, true);
  f.events().pushFocus(form->Handle()->id(), true);
  press(VK_RETURN, false);
  EXPECT_EQ(GameVars.GameState, gsRecords);
  input().setKey(VK_RETURN, false);
  f.events().pushKeyUp(form->Handle()->id(), VK_RETURN);
  press(VK_RETURN);
  EXPECT_EQ(GameVars.GameState, gsMenu);
}

// The whole game played from the keyboard alone, as the program starts it.
struct KeyboardGame : GameTest {
  void tap(uint16_t k) {
    f.events().pushKeyDown(mainId(), k);
    f.events().pushKeyUp(mainId(), k);
    frames(1);
  }
  TPlayerSprite* shark() {
    TSpriteEngine& engine = *main->DXSpriteEngine->Engine;
    for (int i = 0; i < engine.ChildCount(); ++i) {
      if (auto* s = dynamic_cast<TPlayerSprite*>(engine.ChildAt(i))) return s;
    }
    return nullptr;
  }
};

TEST_F(KeyboardGame, FromTheMenuToAGameOverARecordAndQuitWithoutAPointer) {
  tap(VK_DOWN);
  tap(VK_RETURN);
  ASSERT_EQ(GameVars.GameState, gsPlay);
  frames(2);
  ASSERT_EQ(GameVars.LevelReady, 1);
  ASSERT_NE(shark(), nullptr);
  const double x = shark()->PosX;
  hold({VK_RIGHT});
  frames(10);
  EXPECT_GT(shark()->PosX, x + 100);
  hold({});
  // Two levels skipped with the cheat key and started with Enter make a record.
  for (int level : {2, 3}) {
    typeInto(mainId(), "~");
    frames(2);
    ASSERT_EQ(GameVars.GameState, gsLevelIntro);
    ASSERT_EQ(GameVars.Level, level);
    tap(VK_RETURN);
    ASSERT_EQ(GameVars.GameState, gsPlay);
  }
  frames(2);
  // The shark starves: hunger full, little life left; the game ends in a few frames.
  GameVars.Hunger = 100;
  GameVars.Life = 0.5;
  beforeNameEntry = [&] {
    typeInto(form1Id(), "Клава");
    f.events().pushKeyDown(form1Id(), VK_RETURN);
  };
  frames(40);
  ASSERT_EQ(nameEntries, 1);
  ASSERT_EQ(GameVars.GameState, gsGameOver);
  tap(VK_RETURN);
  ASSERT_EQ(GameVars.GameState, gsMenu);
  tap(VK_DOWN);  // from the new game on, past the finished game's continue
  EXPECT_EQ(GameVars.HoverItem, kItemRecords);
  tap(VK_RETURN);
  ASSERT_EQ(GameVars.GameState, gsRecords);
  // Two levels' targets, 100 and 150, and whatever the shark ate in the last one.
  const auto entry = std::find(RecordNames.begin(), RecordNames.end(), "Клава");
  ASSERT_NE(entry, RecordNames.end());
  EXPECT_GE(RecordScores[static_cast<size_t>(entry - RecordNames.begin())], 250);
  tap(VK_ESCAPE);
  ASSERT_EQ(GameVars.GameState, gsMenu);
  tap(VK_DOWN);
  tap(VK_DOWN);
  EXPECT_EQ(GameVars.HoverItem, kItemQuit);
  tap(VK_RETURN);
  EXPECT_TRUE(f.app->Terminated());
  EXPECT_EQ(messages, (std::vector<std::string>{"Cheater!", "Cheater!"}));
}

}  // namespace
