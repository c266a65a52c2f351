// The frame step's clocks: play time instead of frames, the ceiling on one frame, the
// pause while the game is in the background, the loop's waiting behind boxes, and the
// texts it writes over the picture.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "game/game_fixture.h"
#include "game/main_form_fixture.h"
#include "game/monster_sprite.h"
#include "game/player_sprite.h"
#include "game/scene_sprites.h"
#include "platform/virtual_keys.h"

namespace {

using platform::VK_RETURN;
using platform::VK_RIGHT;

// Draws nothing, so that thousands of frames stay quick.
class SilentText final : public platform::TextRenderer {
 public:
  void drawText(void*, int, int, int, platform::PixelFormat, int, int, const std::string&,
                const platform::FontSpec&) override {}
  void textExtent(const std::string&, const platform::FontSpec&, int& width, int& height) override {
    width = 0;
    height = 0;
  }
};

// Play at level 1 with the shark and one monster far off to the right, where nothing
// touches it; the clock moves only as a test says.
struct FrameStepTest : MainFormTest {
  TPlayerSprite* shark = nullptr;
  TMonoSprite* monster = nullptr;

  void prepare() override { f.platform.setText(std::make_unique<SilentText>()); }

  void startPlay() {
    showActive();
    f.clock().setAutoAdvance(0);
    GameVars.GameState = gsPlay;
    const std::vector<TMonoSprite*> monsters = spritesOf<TMonoSprite>();
    for (size_t i = 1; i < monsters.size(); ++i) monsters[i]->Kill();
    form->DXSpriteEngine->Dead();
    monster = monsters[0];
    monster->PosX = 20000;
    monster->PosY = 300;
    monster->Speed = 3;
    shark = spritesOf<TPlayerSprite>()[0];
    frame(16);
  }
  // One frame lagCount milliseconds after the previous one.
  // (Counted as drawn: a full-screen page in the background is drawn but not shown.)
  void frame(uint32_t lagCount) {
    f.clock().advance(lagCount);
    const uint32_t before = form->FrameCount;
    for (int guard = 0; form->FrameCount == before && guard < 100; ++guard) f.step();
  }
  void hold(std::initializer_list<uint16_t> keys) {
    input().keys.fill(0);
    for (uint16_t k : keys) input().setKey(k, true);
  }
  void startClocks(double hunger) {
    GameVars.Hunger = hunger;
    GameVars.Life = 100;
    GameVars.SharkFrame = 0;
    GameVars.SharkFrameTicks = 0;
    GameVars.MonsterFrame = 1;
    GameVars.MonsterFrameTicks = 0;
  }
};

// Steps of 1/60 s that each clock has counted since startClocks, read back from GameVars.
struct ClockSteps {
  double hunger = 0;
  double drain = 0;
  int shark = 0;    // modulo 20
  int monster = 0;  // modulo 15
};

// The whole-millisecond lags of a 60 Hz display: 17, 17, 16, ...
uint32_t sixtyHertzLag(int frame) {
  return static_cast<uint32_t>((frame + 1) * 1000 / 60 - frame * 1000 / 60);
}

ClockSteps playSixSeconds(FrameStepTest& t, const std::function<uint32_t(int)>& lagOf) {
  ClockSteps steps;
  t.startClocks(0);
  int played = 0;
  for (int i = 0; played < 6000; ++i) {
    t.frame(lagOf(i));
    played += static_cast<int>(lagOf(i));
  }
  steps.hunger = GameVars.Hunger / 0.025;
  steps.shark = GameVars.SharkFrame * 10 + GameVars.SharkFrameTicks;
  steps.monster = (GameVars.MonsterFrame - 1) * 5 + GameVars.MonsterFrameTicks;
  t.startClocks(100);
  played = 0;
  for (int i = 0; played < 6000; ++i) {
    t.frame(lagOf(i));
    played += static_cast<int>(lagOf(i));
  }
  steps.drain = (100 - GameVars.Life) / 0.03;
  return steps;
}

// Distance between two counts on a circle of the given size.
int circularDistance(int a, int b, int size) {
  const int d = std::abs(a - b) % size;
  return std::min(d, size - d);
}

TEST_F(FrameStepTest, SixSecondsOfPlayCountTheSameAtAnyFrameRate) {
  startPlay();
  const ClockSteps reference = playSixSeconds(*this, sixtyHertzLag);
  EXPECT_NEAR(reference.hunger, 360, 0.01);
  EXPECT_NEAR(reference.drain, 360, 0.01);
  for (uint32_t lag : {5u, 16u, 17u, 33u, 40u}) {
    const ClockSteps steps = playSixSeconds(*this, [lag](int) { return lag; });
    EXPECT_NEAR(steps.hunger, reference.hunger, 1.01) << lag;
    EXPECT_NEAR(steps.drain, reference.drain, 1.01) << lag;
    EXPECT_LE(circularDistance(steps.shark, reference.shark, 20), 1) << lag;
    EXPECT_LE(circularDistance(steps.monster, reference.monster, 15), 1) << lag;
  }
}

TEST_F(FrameStepTest, AFiveSecondStallMovesAndStarvesNoMoreThanAHundredMilliseconds) {
  startPlay();
  hold({VK_RIGHT});
  startClocks(0);
  double sharkX = shark->PosX;
  double monsterX = monster->PosX;
  frame(100);
  const double sharkStep = shark->PosX - sharkX;
  const double monsterStep = monster->PosX - monsterX;
  const double hungerStep = GameVars.Hunger;
  EXPECT_EQ(sharkStep, 100);
  EXPECT_NEAR(monsterStep, -9, 1e-9);

  sharkX = shark->PosX;
  monsterX = monster->PosX;
  frame(5000);
  EXPECT_EQ(shark->PosX - sharkX, sharkStep);
  EXPECT_NEAR(monster->PosX - monsterX, monsterStep, 1e-9);
  EXPECT_LE(GameVars.Hunger - hungerStep, 6 * 0.025 + 1e-9);
}

struct PlayState {
  double sharkX, sharkY, monsterX, monsterY, points, life, hunger;
  int32_t state, sharkFrame, sharkTicks, monsterFrame, monsterTicks;
  bool operator==(const PlayState&) const = default;
};

PlayState stateOf(const FrameStepTest& t) {
  return {t.shark->PosX,         t.shark->PosY,
          t.monster->PosX,       t.monster->PosY,
          GameVars.Points,       GameVars.Life,
          GameVars.Hunger,       GameVars.GameState,
          GameVars.SharkFrame,   GameVars.SharkFrameTicks,
          GameVars.MonsterFrame, GameVars.MonsterFrameTicks};
}

TEST_F(FrameStepTest, TwentySecondsInTheBackgroundChangeNothingAndPlayResumesWithoutAJump) {
  startPlay();
  hold({VK_RIGHT});
  startClocks(40);
  frame(16);
  f.events().pushFocus(form->Handle()->id(), false);
  frame(16);
  ASSERT_TRUE(form->PlayPaused());
  EXPECT_EQ(window().caption(), f.app->Title + " [Pause]");
  const PlayState before = stateOf(*this);
  const int ticks = form->MenuTicks;
  for (int i = 0; i < 20000 / 16; ++i) frame(16);
  EXPECT_EQ(stateOf(*this), before);
  EXPECT_EQ(form->MenuTicks, ticks);  // play frames count nothing for the picture screens

  f.events().pushFocus(form->Handle()->id(), true);
  frame(16);
  EXPECT_FALSE(form->PlayPaused());
  EXPECT_EQ(window().caption(), f.app->Title);
  EXPECT_EQ(shark->PosX - before.sharkX, 16);
  EXPECT_NEAR(monster->PosX - before.monsterX, -3 * 0.03 * 16, 1e-9);
}

TEST_F(FrameStepTest, AfterAPauseWithoutFramesTheFirstFrameMovesByTheLastFramePlayed) {
  startPlay();
  hold({VK_RIGHT});
  frame(20);
  f.events().pushFocus(form->Handle()->id(), false);
  frame(20);
  const double sharkX = shark->PosX;
  f.clock().advance(20000);  // minimised: no frame for 20 s
  f.events().pushFocus(form->Handle()->id(), true);
  frame(20);
  EXPECT_EQ(shark->PosX - sharkX, 20);
}

TEST_F(FrameStepTest, WithoutThePauseSettingPlayRunsOnInTheBackground) {
  form->PauseWhenInactive = false;
  startPlay();
  hold({VK_RIGHT});
  f.events().pushFocus(form->Handle()->id(), false);
  frame(16);
  const double monsterX = monster->PosX;
  const double hunger = GameVars.Hunger;
  frame(16);
  EXPECT_EQ(window().caption(), f.app->Title + " [Pause]");
  EXPECT_NEAR(monster->PosX - monsterX, -3 * 0.03 * 16, 1e-9);
  EXPECT_GT(GameVars.Hunger, hunger);
}

TEST_F(FrameStepTest, ANewGameStartedJustBeforeAPauseBuildsItsLevelOnlyAfterIt) {
  startPlay();
  GameVars.LevelReady = 0;
  f.events().pushFocus(form->Handle()->id(), false);
  frame(16);
  frame(16);
  EXPECT_EQ(GameVars.LevelReady, 0);
  EXPECT_EQ(spritesOf<TPlayerSprite>().size(), 1u);  // the old scene waits, whole
  f.events().pushFocus(form->Handle()->id(), true);
  frame(16);
  EXPECT_EQ(GameVars.LevelReady, 1);
  frame(16);
  EXPECT_EQ(spritesOf<TPlayerSprite>().size(), 1u);  // the old shark left, a new one came
}

// The main window with every text the frame step draws remembered, font and all.
struct OverlayTest : MainFormTest {
  RecordingTextRenderer* text = nullptr;

  void prepare() override {
    auto recorder = std::make_unique<RecordingTextRenderer>();
    text = recorder.get();
    f.platform.setText(std::move(recorder));
  }
  const DrawnText* drawn(const std::string& what) const {
    for (const DrawnText& d : text->drawn) {
      if (d.text == what) return &d;
    }
    return nullptr;
  }
};

// The intro and the records set no font name, and the records no colour or size either:
// the canvas keeps what the overlay of the frame before left on it.
TEST_F(OverlayTest, IntroAndRecordsTextsWriteInTheStyleTheFrameBeforeLeft) {
  showActive();
  frames(1);
  GameVars.GameState = gsRecords;
  text->drawn.clear();
  frames(1);
  const DrawnText* name = drawn("Sharky");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->font.family, "Comic Sans MS");
  EXPECT_EQ(name->font.sizePoints, 20);
  EXPECT_EQ(name->font.color, 0x000000FFu);  // red
  GameVars.GameState = gsLevelIntro;
  GameVars.Level = 3;
  text->drawn.clear();
  frames(1);
  const DrawnText* number = drawn("3");
  const DrawnText* target = drawn("Набери 200 очков!");
  ASSERT_NE(number, nullptr);
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(number->font.family, "Comic Sans MS");
  EXPECT_EQ(number->font.color, 0x00FFFF00u);  // cyan
  EXPECT_EQ(target->font.family, "Comic Sans MS");
  EXPECT_EQ(target->font.sizePoints, 26);
}

// Life has no floor: the frame in which a touch takes it below zero shows that value,
// and the same frame's game-over test ends the game.
TEST_F(OverlayTest, LifeBelowZeroIsShownInTheFrameThatEndsTheGame) {
  showActive();
  GameVars.GameState = gsPlay;
  frames(1);
  const std::vector<TMonoSprite*> monsters = spritesOf<TMonoSprite>();
  for (size_t i = 1; i < monsters.size(); ++i) monsters[i]->Kill();
  form->DXSpriteEngine->Dead();
  const TPlayerSprite& shark = *spritesOf<TPlayerSprite>()[0];
  TMonoSprite& barrel = *monsters[0];
  barrel.Kind = 5;  // life -12
  FitToImage(barrel, images().FindByName("F51"));
  barrel.Speed = 0;
  barrel.WobblePhase = 64;  // hardly any sway
  barrel.PosX = shark.PosX + (shark.Width - barrel.Width) / 2;
  barrel.PosY = shark.PosY + (shark.Height - barrel.Height) / 2;
  GameVars.Life = 5;
  GameVars.Hunger = 0;
  text->drawn.clear();
  frames(1);
  EXPECT_TRUE(text->sawText("Жизни: -7", 75, 555));
  EXPECT_EQ(GameVars.GameState, gsGameOver);
  EXPECT_EQ(GameVars.Life, 100);
}

// A game whose message boxes are real windows, as the program shows them.
struct BoxTest : ::testing::Test {
  GameFolder folder;
  FakeApp f;
  void SetUp() override {
    GameVars = TGameVars{};
    RecordNames.fill("");
    RecordScores.fill(0);
    f.platform.setText(std::make_unique<SilentText>());
    f.clock().setAutoAdvance(1);  // a loop that never waits sees the time crawl
  }
  // Answers the box that is up with Enter once the loop has waited `waits` times, or,
  // should it never wait, once it has polled in vain 2000 times.
  void answerBoxAfter(int waits) {
    auto answered = std::make_shared<bool>(false);
    auto answer = [this, answered] {
      if (*answered) return;
      *answered = true;
      f.events().pushKeyDown(f.platform.lastWindow()->id(), VK_RETURN);
    };
    f.events().onWait = [this, waits, answer](int) {
      if (f.events().waitCount() >= waits) answer();
    };
    const int polls = f.events().emptyPollCount() + 2000;
    f.events().onPoll = [this, polls, answer] {
      if (f.events().emptyPollCount() > polls) answer();
    };
  }
};

TEST_F(BoxTest, AnErrorBoxAtStartUpLetsTheLoopWait) {
  folder.remove("Data/rec.rmw");
  answerBoxAfter(50);
  CreateGameWindows(*f.app);
  EXPECT_GE(f.events().waitCount(), 50);
  EXPECT_LE(f.events().emptyPollCount(), f.events().waitCount() + 5);
  EXPECT_GT(f.events().lastWaitTimeout(), 0);
}

TEST_F(BoxTest, FramesGoOnPacedBehindTheCheaterBox) {
  const TGameWindows windows = CreateGameWindows(*f.app);
  windows.MainForm->Show();
  const uint32_t mainId = windows.MainForm->Handle()->id();
  f.events().pushFocus(mainId, true);
  for (int i = 0; i < 10; ++i) f.app->HandleMessage();
  platform::FakeWindow& main = *f.platform.findWindow(mainId);
  const int presentsBefore = main.presentCount();
  const int waitsBefore = f.events().waitCount();
  const int pollsBefore = f.events().emptyPollCount();
  answerBoxAfter(waitsBefore + 60);
  f.events().pushChar(mainId, "~");
  while (f.app->ModalForm() == nullptr && f.events().pending() > 0) f.app->HandleMessage();
  for (int i = 0; i < 200 && GameVars.GameState != gsLevelIntro; ++i) f.app->HandleMessage();
  EXPECT_EQ(GameVars.Level, 2);  // the level was completed behind the box
  const int frames = main.presentCount() - presentsBefore;
  const int waits = f.events().waitCount() - waitsBefore;
  EXPECT_GE(frames, 50);
  EXPECT_GE(waits, frames - 2);
  EXPECT_LE(f.events().emptyPollCount() - pollsBefore, waits + 5);
}

}  // namespace
