#include <gtest/gtest.h>

#include "engine/graphics/dx_draw.h"
#include "game/main_form_fixture.h"
#include "game/menu_layout.h"

namespace {

struct ControlsTest : MainFormTest {
  void click(int x, int y, TMouseButton button = TMouseButton::mbLeft) {
    form->DXDrawMouseDown(form->DXDraw, button, 0, x, y);
  }
  void move(int x, int y) { form->DXDrawMouseMove(form->DXDraw, 0, x, y); }
  void key(uint16_t k, TShiftState shift = 0) { form->FormKeyDown(form, k, shift); }
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

}  // namespace
