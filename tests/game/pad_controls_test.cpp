// The pad in the menus and between games: with the fake input system for each rule, and
// with SDL's own software pads for whole games played with a pad alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "engine/sprite/sprite_engine.h"
#include "framework/utf8.h"
#include "game/game_fixture.h"
#include "game/game_texts.h"
#include "game/in_english.h"
#include "game/letter_picker.h"
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

// Inputs for the name window, one a frame: each is pushed in one frame and let go in the
// next. ^ v < > are the d-pad, A B S the buttons A, B and Start.
class PadScript {
 public:
  using Push = std::function<void(char input, bool down)>;
  PadScript(std::string inputs, Push push) : inputs_(std::move(inputs)), push_(std::move(push)) {}
  // After each frame; true once every input has been pushed and let go.
  bool step() {
    if (next_ >= inputs_.size()) return true;
    push_(inputs_[next_], !down_);
    if (down_) ++next_;
    down_ = !down_;
    return false;
  }

 private:
  std::string inputs_;
  Push push_;
  size_t next_ = 0;
  bool down_ = false;
};

// The pad inputs that spell a name from the prompt: the first Down takes the prompt away
// for the first letter, each letter is turned to the shorter way round, the next one is
// begun by Right or A in turn, and Start saves.
std::string spellWithPad(const std::string& name) {
  const std::u32string letters = PadLetters(GameLanguage());
  const std::u32string wanted = Utf8ToUtf32(name);
  const auto count = static_cast<int>(letters.size());
  std::string inputs = "v";
  char32_t current = letters.front();
  for (size_t i = 0; i < wanted.size(); ++i) {
    if (i > 0) inputs += i % 2 != 0 ? '>' : 'A';
    const int down = (static_cast<int>(letters.find(wanted[i])) -
                      static_cast<int>(letters.find(current)) + count) %
                     count;
    inputs += down <= count / 2 ? std::string(static_cast<size_t>(down), 'v')
                                : std::string(static_cast<size_t>(count - down), '^');
    current = wanted[i];
  }
  return inputs + "S";
}

int32_t povOf(char input) {
  return input == '^' ? kPovUp : input == 'v' ? kPovDown : input == '<' ? 27000 : kPovRight;
}

// Ends a game in play whose total, its level bonus, beats the tenth record: the name
// window opens within this frame and the frame ends when it has closed.
void EndGameWithRecord(GameSession& game, int32_t total) {
  GameVars.GameState = gsPlay;
  GameVars.LevelReady = 1;
  GameVars.LevelBonus = total;
  GameVars.Life = 0;
  game.frames(1);
}

// A presented picture as a binary PPM, for looking at.
void savePpm(const platform::FakePicture& picture, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint32_t p = picture.pixel(x, y);
      const bool wide = picture.format != platform::PixelFormat::RGB565;
      const char rgb[] = {static_cast<char>(wide ? p >> 16 : ((p >> 11) & 31) * 255 / 31),
                          static_cast<char>(wide ? p >> 8 : ((p >> 5) & 63) * 255 / 63),
                          static_cast<char>(wide ? p : (p & 31) * 255 / 31)};
      out.write(rgb, 3);
    }
  }
}

struct PadNameEntryTest : PadTest {
  // Ends a game whose total beats the tenth record; button confirms the name window.
  void endGameConfirmingWith(int button) {
    afterFrame = [this, button] {
      if (form1->Modal() && !pad->state.buttons[static_cast<size_t>(button)]) pad->press(button);
    };
    EndGameWithRecord(*this, 400);
    afterFrame = nullptr;
  }
  // Ends a game with this total and works the name window with the fake pad's inputs;
  // each of before and after runs after a frame of its own, before and after the inputs.
  // Start saves if nothing did.
  using Steps = std::vector<std::function<void()>>;
  void endGameWithPad(int32_t total, const std::string& inputs, const Steps& before = {},
                      const Steps& after = {}) {
    PadScript script(inputs, [this](char input, bool down) {
      if (std::string("^v<>").find(input) != std::string::npos) {
        pad->state.pov = down ? povOf(input) : kPovCentred;
      } else {
        pad->press(input == 'A' ? kPadA : input == 'B' ? kPadB : kPadStart, down);
      }
    });
    size_t step = 0;
    afterFrame = [&] {
      if (!form1->Modal()) return;
      EXPECT_TRUE(form1->PadHintShown());
      if (step < before.size()) {
        before[step++]();
      } else if (!script.step()) {
      } else if (step < before.size() + after.size()) {
        after[step++ - before.size()]();
      } else {
        pad->press(kPadStart, !pad->state.buttons[kPadStart]);
      }
    };
    EndGameWithRecord(*this, total);
    afterFrame = nullptr;
    pad->press(kPadStart, false);
    frames(1);
  }
  TRecordTable saved() { return ParseRecords(folder.read("Data/rec.rmw")); }
};

TEST_F(PadNameEntryTest, StartSavesTheNameShownAndTheScreenStaysWhileAStartsAName) {
  endGameConfirmingWith(kPadStart);
  ASSERT_EQ(nameEntries, 1);
  EXPECT_EQ(saved().Names[8], "Введите имя") << "Start saves as Enter does";
  EXPECT_EQ(saved().Scores[8], 400);
  frames(3);
  EXPECT_EQ(GameVars.GameState, gsGameOver) << "the press that confirmed stays in the window";
  pad->press(kPadStart, false);
  endGameWithPad(400, "A");
  EXPECT_EQ(nameEntries, 2);
  EXPECT_EQ(saved().Names[9], "А") << "A on the last name selected begins a new one";
  EXPECT_EQ(saved().Scores[9], 400) << "below the equal one";
  EXPECT_FALSE(form1->Modal());
  // After a typed name A confirms too; with Start in the same frame it is saved once.
  endGameWithPad(401, "", {[&] { typeInto(form1Id(), "Bo"); }}, {[&] {
                   pad->press(kPadA);
                   pad->press(kPadStart);
                 }});
  pad->press(kPadA, false);
  const TRecordTable table = saved();
  EXPECT_EQ(std::count(table.Names.begin(), table.Names.end(), "Bo"), 1);
  EXPECT_EQ(table.Names[8], "Bo");
}

TEST_F(PadNameEntryTest, APadAloneSpellsANameInEitherLanguageIntoTheRecordsFile) {
  const std::string russian = spellWithPad("Акула 7");
  EXPECT_NE(russian.find("^^^^"), std::string::npos) << "the shorter way is round the end";
  endGameWithPad(340, russian);
  EXPECT_EQ(saved().Names[8], "Акула 7");
  EXPECT_NE(folder.read("Data/rec.rmw").find("\r\n\xC0\xEA\xF3\xEB\xE0 7\r\n340\r\n"),
            std::string::npos)
      << "in Windows-1251 below 480, above 260";

  InEnglish english;
  ASSERT_TRUE(english.found);
  // The last name stands selected as the window opens again; the pad begins anew.
  endGameWithPad(5000, spellWithPad("Shark-7"));
  EXPECT_EQ(saved().Names[0], "Shark-7");
  EXPECT_EQ(folder.read("Data/rec.rmw").substr(0, 15), "Shark-7\r\n5000\r\n");
  EXPECT_EQ(nameEntries, 2);
}

TEST_F(PadNameEntryTest, KeyboardAndPadTakeTurnsInOneName) {
  // The keyboard types and edits as ever while a pad is connected; a pad's letter goes
  // on from where typing left the caret, and typing goes on after the pad's letter.
  endGameWithPad(340, "vv",
                 {[&] { typeInto(form1Id(), "Кит"); },
                  [&] { f.events().pushKeyDown(form1Id(), platform::VK_BACK); }},
                 {[&] { typeInto(form1Id(), "7"); },
                  [&] { f.events().pushKeyDown(form1Id(), platform::VK_RETURN); }});
  EXPECT_EQ(saved().Names[8], "Кий7") << "the empty place took the last letter, turned on";
  endGameWithPad(341, "<v", {[&] { typeInto(form1Id(), "Ёж"); }});
  EXPECT_EQ(saved().Names[8], "Ёз") << "Left from where typing ended goes onto the last letter";
  endGameWithPad(342, "vv<<<<", {[&] { typeInto(form1Id(), "Ю"); }});
  EXPECT_EQ(saved().Names[8], "Ю") << "Left takes the last letter away and stops at the first";
}

// The clock's times, from the first frame that reads a held direction, at which what
// it moves changed; and the longest gap between two frames.
struct HeldTimes {
  std::vector<uint32_t> changes;
  uint32_t longestFrame = 0;
  size_t changesAtRelease = 0;
};

TEST_F(PadNameEntryTest, HeldUpOrDownRepeatsAtItsPaceAndStopsOnRelease) {
  // Down on the pad in the name window, and a held arrow key on the menu.
  for (const bool onMenu : {false, true}) {
    HeldTimes held;
    std::string shown;
    uint32_t start = 0;
    uint32_t previous = 0;
    afterFrame = [&] {
      if (!onMenu && !form1->Modal()) return;
      const uint32_t now = f.clock().peekTicks();
      const std::string showing = onMenu ? std::to_string(GameVars.HoverItem) : edit().Text();
      if (start == 0) {
        start = now;
        if (onMenu) {
          f.events().pushKeyDown(mainId(), platform::VK_DOWN);
        } else {
          pad->state.pov = kPovDown;
        }
      } else {
        held.longestFrame = std::max(held.longestFrame, now - previous);
        if (showing != shown) held.changes.push_back(now - start);
        if (now - start > 1000 && held.changesAtRelease == 0) {
          held.changesAtRelease = held.changes.size();
          pad->state.pov = kPovCentred;
          f.events().pushKeyUp(mainId(), platform::VK_DOWN);
        }
        if (now - start > 2000 && !onMenu) pad->press(kPadStart);
      }
      shown = showing;
      previous = now;
    };
    if (onMenu) {
      GameVars.GameState = gsMenu;
      frames(1);
      while (f.clock().peekTicks() - start < 2000) frames(1);
    } else {
      EndGameWithRecord(*this, 400);
    }
    afterFrame = nullptr;
    pad->press(kPadStart, false);
    frames(1);
    const std::vector<uint32_t>& t = held.changes;
    ASSERT_GE(t.size(), 3u) << onMenu;
    EXPECT_LE(t[0], held.longestFrame) << "the press acts at once";
    EXPECT_NEAR(t[1] - t[0], kFirstRepeatMs, held.longestFrame) << onMenu;
    for (size_t i = 2; i < held.changesAtRelease; ++i)
      EXPECT_NEAR(t[i] - t[i - 1], kRepeatMs, held.longestFrame) << onMenu << " repeat " << i;
    EXPECT_GE(held.changesAtRelease, 7u) << onMenu;
    EXPECT_EQ(t.size(), held.changesAtRelease) << onMenu << ": let go, it stops";
  }
}

TEST(PadNameWindow, WhileAPadIsConnectedTheWindowGrowsByALineThatSaysHow) {
  InEnglish english;
  ASSERT_TRUE(english.found);
  GameSession game;
  std::shared_ptr<platform::FakeJoystickDevice> stick = game.input().plugPad();
  const std::string hint = "↑↓ letter  ←→ move  Start: save";
  platform::FakeWindow* window = nullptr;
  bool drawn = false;
  int heightWithPad = 0;
  int frame = 0;
  game.afterFrame = [&] {
    if (!game.form1->Modal()) return;
    window = game.f.platform.findWindow(game.form1Id());
    // Set REEFMAW_SHOTS to a folder to look at the window as shown, before the pad's
    // first input and with a letter picked.
    const char* shots = std::getenv("REEFMAW_SHOTS");
    if (++frame == 3) {
      heightWithPad = window->lastPicture().height;
      drawn = std::any_of(game.text->drawn.begin(), game.text->drawn.end(),
                          [&](const DrawnText& d) { return d.text == hint && d.y > 73; });
      if (shots != nullptr) savePpm(window->lastPicture(), std::string(shots) + "/pad.ppm");
      stick->press(platform::kPadA);
      stick->press(platform::kPadA, false);
    } else if (frame == 4) {
      stick->press(platform::kPadA);
      stick->press(platform::kPadA, false);
    } else if (frame == 5) {
      if (shots != nullptr) savePpm(window->lastPicture(), std::string(shots) + "/letter.ppm");
      game.input().unplugJoystick(stick);
    } else if (frame == 7) {
      game.f.events().pushKeyDown(game.form1Id(), platform::VK_RETURN);
    }
  };
  EndGameWithRecord(game, 400);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(drawn) << "under the picture";
  EXPECT_GT(heightWithPad, 73 + 10);
  EXPECT_EQ(window->lastPicture().width, 184);
  EXPECT_EQ(window->lastPicture().height, 73) << "pulled out, the window is as stored again";
  EXPECT_FALSE(game.form1->PadHintShown());
  EXPECT_EQ(ParseRecords(game.folder.read("Data/rec.rmw")).Names[8], "AA")
      << "A began a name and went on to a second letter";
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

  // The game ends with a record: the pad spells a name, and Start, held, saves it.
  GameVars.Points = 60;
  GameVars.Hunger = 100;
  GameVars.Life = 0.5;
  PadScript name(spellWithPad("Акула"), [&](char input, bool down) {
    if (std::string("^v<>").find(input) != std::string::npos) {
      pad->setHat(0, down ? povOf(input) : kPovCentred);
    } else {
      pad->setButton(input == 'A' ? kXboxA : input == 'B' ? kXboxB : kXboxStart, down);
    }
  });
  afterFrame = [&] {
    if (form1->Modal() && name.step()) pad->setButton(kXboxStart, true);
  };
  frames(40);
  afterFrame = nullptr;
  ASSERT_EQ(nameEntries, 1);
  ASSERT_FALSE(form1->Modal());
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
  EXPECT_EQ(RecordNames[0], "Акула");
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
