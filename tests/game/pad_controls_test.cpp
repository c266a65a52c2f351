// The pad in the menus and between games: with the fake input system for each rule, and
// with SDL's own software pads for whole games played with a pad alone.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "engine/sprite/sprite_engine.h"
#include "game/game_fixture.h"
#include "game/menu_layout.h"
#include "game/monster_sprite.h"
#include "game/player_sprite.h"
#include "platform/virtual_keys.h"
#include "support/virtual_joystick.h"

namespace {

using platform::kPadA;
using platform::kPadB;
using platform::kPadBack;
using platform::kPadStart;
using platform::kPadX;

constexpr int32_t kPovUp = 0;
constexpr int32_t kPovRight = 9000;
constexpr int32_t kPovDown = 18000;
constexpr int32_t kPovCentred = -1;

// The scene's sprites of one class, in creation order.
template <class T>
std::vector<T*> spritesIn(TMainForm& main) {
  std::vector<T*> found;
  TSpriteEngine& engine = *main.DXSpriteEngine->Engine;
  for (int i = 0; i < engine.ChildCount(); ++i) {
    if (auto* s = dynamic_cast<T*>(engine.ChildAt(i))) found.push_back(s);
  }
  return found;
}

struct PadTest : GameTest {
  std::shared_ptr<platform::FakeJoystickDevice> pad = input().plugPad();

  // Down and up again before the next frame reads the pad: a quick tap.
  void tap(int button) {
    pad->press(button);
    pad->press(button, false);
    frames(1);
  }
  void dpad(int32_t pov) {
    pad->state.pov = pov;
    frames(1);
    pad->state.pov = kPovCentred;
    frames(1);
  }
};

TEST_F(PadTest, TheDpadAndTheStickMoveTheHighlightOncePerPush) {
  dpad(kPovDown);
  EXPECT_EQ(GameVars.HoverItem, kItemNewGame);
  EXPECT_TRUE(InMenuItem(kItemNewGame, GameVars.PointerX, GameVars.PointerY));
  pad->state.pov = kPovDown;
  frames(5);
  EXPECT_EQ(GameVars.HoverItem, kItemRecords) << "held down: one step, past locked continue";
  pad->state.pov = kPovCentred;
  frames(1);
  pad->deflect(0, 1);
  frames(5);
  EXPECT_EQ(GameVars.HoverItem, kItemPicture);
  pad->deflect(0, -1);
  frames(1);
  pad->deflect(0, 0);
  frames(1);
  EXPECT_EQ(GameVars.HoverItem, kItemRecords);
  pad->state.pov = kPovRight;  // sideways does nothing on the menu
  frames(2);
  EXPECT_EQ(GameVars.HoverItem, kItemRecords);
  dpad(kPovUp);
  dpad(kPovUp);
  EXPECT_EQ(GameVars.HoverItem, kItemQuit) << "round from the first to the last";
}

TEST_F(PadTest, EveryItemAndEveryScreenByThePad) {
  dpad(kPovDown);
  tap(kPadA);
  ASSERT_EQ(GameVars.GameState, gsPlay);
  frames(2);
  GameVars.Points = 42;
  tap(kPadB);
  ASSERT_EQ(GameVars.GameState, gsMenu) << "B leaves play as Escape does";
  dpad(kPovDown);
  EXPECT_EQ(GameVars.HoverItem, kItemContinue) << "offered now that a game was left";
  tap(kPadStart);
  ASSERT_EQ(GameVars.GameState, gsPlay);
  EXPECT_EQ(GameVars.Points, 42);
  tap(kPadBack);
  ASSERT_EQ(GameVars.GameState, gsMenu) << "so does Back";
  tap(kPadA);
  ASSERT_EQ(GameVars.GameState, gsPlay);
  tap(kPadStart);
  ASSERT_EQ(GameVars.GameState, gsMenu) << "and Start";
  tap(kPadX);
  EXPECT_EQ(GameVars.GameState, gsMenu) << "X is not a menu button";
  dpad(kPovDown);
  tap(kPadA);
  EXPECT_EQ(GameVars.GameState, gsRecords);
  tap(kPadB);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  dpad(kPovDown);
  tap(kPadStart);
  EXPECT_EQ(GameVars.GameState, gsPicture);
  tap(kPadA);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  for (int state : {gsGameOver, gsRecords, gsPicture}) {
    for (int button : {kPadA, kPadB, kPadStart, kPadBack}) {
      GameVars.GameState = state;
      tap(button);
      EXPECT_EQ(GameVars.GameState, gsMenu) << state << " " << button;
    }
  }
  for (int button : {kPadA, kPadB, kPadStart}) {
    GameVars.GameState = gsLevelIntro;
    tap(button);
    EXPECT_EQ(GameVars.GameState, gsPlay) << button;
    GameVars.GameState = gsLevelIntro;
  }
  GameVars.GameState = gsMenu;
  tap(kPadB);
  EXPECT_EQ(GameVars.GameState, gsMenu) << "B on the menu does nothing, as Escape";
  dpad(kPovDown);
  ASSERT_EQ(GameVars.HoverItem, kItemQuit);
  tap(kPadA);
  EXPECT_TRUE(f.app->Terminated());
}

TEST_F(PadTest, AButtonHeldOnAScreenDoesNotRunOnIntoTheMenu) {
  dpad(kPovDown);
  dpad(kPovDown);
  ASSERT_EQ(GameVars.HoverItem, kItemRecords);
  pad->press(kPadA);
  frames(3);
  EXPECT_EQ(GameVars.GameState, gsRecords) << "held, it opened the screen once";
  pad->press(kPadA, false);
  frames(1);
  pad->press(kPadA);
  frames(1);
  ASSERT_EQ(GameVars.GameState, gsMenu);
  frames(5);
  EXPECT_EQ(GameVars.GameState, gsMenu) << "the same press must not open the item it points at";
  pad->press(kPadA, false);
  frames(1);
  pad->press(kPadA);
  frames(1);
  EXPECT_EQ(GameVars.GameState, gsRecords);
}

TEST_F(PadTest, ThePadsButtonsDoNothingWhileTheGameIsInTheBackground) {
  f.events().pushFocus(mainId(), false);
  frames(2);
  dpad(kPovDown);
  tap(kPadA);
  f.events().pushFocus(mainId(), true);
  frames(2);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  EXPECT_EQ(GameVars.HoverItem, kNoItem);
}

struct PadNameEntryTest : PadTest {
  // Ends a game whose total beats the tenth record; button confirms the name window.
  void endGameConfirmingWith(int button) {
    GameVars.GameState = gsPlay;
    GameVars.LevelReady = 1;
    GameVars.LevelBonus = 400;
    GameVars.Life = 0;
    afterFrame = [this, button] {
      if (form1->Modal() && !pad->state.buttons[static_cast<size_t>(button)]) pad->press(button);
    };
    frames(1);
    afterFrame = nullptr;
  }
};

TEST_F(PadNameEntryTest, AOrStartConfirmTheNameShownAndTheScreenStays) {
  endGameConfirmingWith(kPadA);
  ASSERT_EQ(nameEntries, 1);
  const TRecordTable table = ParseRecords(folder.read("Data/rec.rmw"));
  EXPECT_EQ(table.Names[8], "Введите имя");
  EXPECT_EQ(table.Scores[8], 400);
  frames(3);
  EXPECT_EQ(GameVars.GameState, gsGameOver) << "the press that confirmed stays in the window";
  pad->press(kPadA, false);
  endGameConfirmingWith(kPadStart);
  EXPECT_EQ(nameEntries, 2);
  EXPECT_EQ(ParseRecords(folder.read("Data/rec.rmw")).Scores[9], 400) << "below the equal one";
  EXPECT_FALSE(form1->Modal());
}

TEST_F(PadTest, AMessageBoxInFrontIsClosedByThePad) {
  f.app->OnShowMessage = nullptr;  // the real box, modal
  int framesUnderTheBox = 0;
  afterFrame = [&] {
    TForm* box = Application->ModalForm();
    if (box == nullptr) return;
    ++framesUnderTheBox;
    if (framesUnderTheBox == 3) pad->press(kPadB);
  };
  typeInto(mainId(), "~");
  frames(8);
  EXPECT_EQ(Application->ModalForm(), nullptr);
  EXPECT_GE(framesUnderTheBox, 3);
  EXPECT_EQ(GameVars.GameState, gsLevelIntro) << "B closed the box and did nothing else";
}

TEST_F(PadTest, APadPulledOutInPlayStopsAndOneMoreSteersAgain) {
  dpad(kPovDown);
  tap(kPadA);
  frames(2);
  std::vector<TPlayerSprite*> sharks = spritesIn<TPlayerSprite>(*main);
  ASSERT_EQ(sharks.size(), 1u);
  TPlayerSprite* shark = sharks[0];
  pad->deflect(1, 0);
  frames(1);
  const double x = shark->PosX;
  frames(3);
  EXPECT_GT(shark->PosX, x);
  input().unplugJoystick(pad);
  frames(2);
  const double stopped = shark->PosX;
  frames(3);
  EXPECT_EQ(shark->PosX, stopped);
  EXPECT_EQ(GameVars.GameState, gsPlay);
  auto again = input().plugPad();
  again->deflect(-1, 0);
  frames(4);
  EXPECT_LT(shark->PosX, stopped);
  again->press(kPadB);
  frames(1);
  EXPECT_EQ(GameVars.GameState, gsMenu);
  EXPECT_TRUE(messages.empty());
}

// The game over SDL's own joystick layer, with pads that SDL attaches in software.
struct SdlPadGame : ::testing::Test, GameSession {
  SdlPadGame() : GameSession(platform::createSdlInputSystem()) {}
  // The level's shark, put where it can move every way; nullptr before the level is built.
  TPlayerSprite* placedShark() {
    const std::vector<TPlayerSprite*> sharks = spritesIn<TPlayerSprite>(*main);
    if (sharks.empty()) return nullptr;
    sharks[0]->PosX = 200;
    sharks[0]->PosY = 200;
    return sharks[0];
  }
};

// An Xbox 360 pad as Linux shows it: A is button 0, B 1, Start 7; the d-pad is hat 0.
constexpr int kXboxA = 0;
constexpr int kXboxB = 1;
constexpr int kXboxStart = 7;

std::string lowRecords() {
  std::string table;
  for (int rank = 1; rank <= kRecordCount; ++rank)
    table += "Rank " + std::to_string(rank) + "\r\n" + std::to_string(55 - 5 * rank) + "\r\n";
  return table;
}

TEST_F(SdlPadGame, FromTheMenuToAGameOverARecordAndQuitWithAnXboxPadAlone) {
  std::unique_ptr<platform::VirtualJoystick> pad =
      platform::attachSdlVirtualJoystick(platform::xboxPadDesc());
  if (!pad) GTEST_SKIP() << "SDL cannot attach a virtual joystick here";
  folder.write("Data/rec.rmw", lowRecords());
  auto push = [&](int button) {
    pad->setButton(button, true);
    frames(1);
    pad->setButton(button, false);
    frames(1);
  };
  auto dpad = [&](int32_t pov) {
    pad->setHat(0, pov);
    frames(1);
    pad->setHat(0, kPovCentred);
    frames(1);
  };
  frames(2);
  // The records first: the screen reads the table anew.
  dpad(kPovDown);
  dpad(kPovDown);
  ASSERT_EQ(GameVars.HoverItem, kItemRecords);
  push(kXboxA);
  ASSERT_EQ(GameVars.GameState, gsRecords);
  EXPECT_EQ(RecordScores[9], 5);
  push(kXboxB);
  ASSERT_EQ(GameVars.GameState, gsMenu);
  dpad(kPovUp);
  push(kXboxA);
  ASSERT_EQ(GameVars.GameState, gsPlay);
  frames(2);

  // The left stick and the d-pad steer.
  TPlayerSprite* shark = placedShark();
  ASSERT_NE(shark, nullptr);
  TPlayerSprite& s = *shark;
  pad->setAxis(0, 32767);
  frames(5);
  EXPECT_GT(s.PosX, 200 + 4 * 16 * 0.3 - 1);
  pad->setAxis(0, 0);
  frames(1);
  const double y = s.PosY;
  pad->setHat(0, kPovDown);
  frames(5);
  EXPECT_GE(s.PosY, y + 4 * 16);
  pad->setHat(0, kPovCentred);

  // A fish put on the shark is eaten, and the pad, which has no haptics, rumbles. The
  // others are sent far off first, and any rumble of an earlier touch has ended (SDL
  // only lengthens a rumble of the same strength that still runs).
  std::vector<TMonoSprite*> monsters = spritesIn<TMonoSprite>(*main);
  ASSERT_FALSE(monsters.empty());
  for (TMonoSprite* m : monsters) m->PosX = 5000;
  std::this_thread::sleep_for(std::chrono::milliseconds(80));
  frames(1);
  const size_t rumbled = pad->rumbles().size();
  TMonoSprite* fish = monsters[0];
  fish->PosX = s.PosX + (s.Width - fish->Width) / 2;
  fish->PosY = s.PosY + (s.Height - fish->Height) / 2;
  frames(1);
  ASSERT_GT(pad->rumbles().size(), rumbled);
  EXPECT_EQ(pad->rumbles()[rumbled].low, 0xFFFF);
  EXPECT_EQ(pad->rumbles()[rumbled].high, 0xFFFF);

  // Pulled out and plugged in again in play.
  pad.reset();
  frames(3);
  EXPECT_EQ(GameVars.GameState, gsPlay);
  pad = platform::attachSdlVirtualJoystick(platform::xboxPadDesc());
  ASSERT_NE(pad, nullptr);
  frames(1);
  const double x = s.PosX;
  pad->setAxis(0, -32768);
  frames(5);
  EXPECT_LT(s.PosX, x);
  pad->setAxis(0, 0);

  // The game ends with a record: Start confirms the name window.
  GameVars.Points = 60;
  GameVars.Hunger = 100;
  GameVars.Life = 0.5;
  afterFrame = [&] {
    if (form1->Modal()) pad->setButton(kXboxStart, true);
  };
  frames(40);
  afterFrame = nullptr;
  ASSERT_EQ(nameEntries, 1);
  ASSERT_EQ(GameVars.GameState, gsGameOver);
  frames(3);
  EXPECT_EQ(GameVars.GameState, gsGameOver) << "Start, still held, does not leave the screen";
  pad->setButton(kXboxStart, false);
  push(kXboxA);
  ASSERT_EQ(GameVars.GameState, gsMenu);
  dpad(kPovDown);
  ASSERT_EQ(GameVars.HoverItem, kItemRecords) << "past the finished game's continue";
  pad->setButton(kXboxA, true);
  frames(1);
  ASSERT_EQ(GameVars.GameState, gsRecords);
  EXPECT_EQ(RecordNames[0], "Введите имя");
  EXPECT_EQ(RecordScores[0], 60);
  pad->setButton(kXboxA, false);
  push(kXboxB);
  ASSERT_EQ(GameVars.GameState, gsMenu);
  dpad(kPovUp);
  dpad(kPovUp);
  ASSERT_EQ(GameVars.HoverItem, kItemQuit);
  push(kXboxStart);
  EXPECT_TRUE(f.app->Terminated());
  EXPECT_TRUE(messages.empty());
}

TEST_F(SdlPadGame, AStickSdlCannotMapStillSteersThroughItsRawLayout) {
  platform::VirtualJoystickDesc desc;
  desc.name = "Plain Stick";
  desc.axes = 2;
  desc.buttons = 4;
  desc.hats = 1;
  std::unique_ptr<platform::VirtualJoystick> stick = platform::attachSdlVirtualJoystick(desc);
  if (!stick) GTEST_SKIP() << "SDL cannot attach a virtual joystick here";
  frames(1);
  // Its first button and its hat work the menu as a pad's A and d-pad do.
  stick->setHat(0, kPovDown);
  frames(1);
  stick->setHat(0, kPovCentred);
  stick->setButton(0, true);
  frames(1);
  ASSERT_EQ(GameVars.GameState, gsPlay);
  stick->setButton(0, false);
  frames(2);
  TPlayerSprite* shark = placedShark();
  ASSERT_NE(shark, nullptr);
  TPlayerSprite& s = *shark;
  stick->setAxis(1, 32767);
  frames(5);
  EXPECT_GT(s.PosY, 200);
  stick->setAxis(1, 0);
  frames(1);
  const double x = s.PosX;
  stick->setHat(0, 27000);
  frames(5);
  EXPECT_LE(s.PosX, x - 4 * 16);
}

}  // namespace
