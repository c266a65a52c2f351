#include "engine/input/joystick.h"

#include "input_fixture.h"
#include "support/virtual_joystick.h"

namespace {

TEST(ScaleAxisTest, GameSettingsOnTheUsualSpan) {
  // Dead zone 50 %, range 300, positions 0..65535.
  EXPECT_EQ(ScaleAxis(49151, 65535, 0, 300, 50), 0);    // 0.018 rounds to 0
  EXPECT_EQ(ScaleAxis(65535, 65535, 0, 300, 50), 300);  // 300.02
  EXPECT_EQ(ScaleAxis(0, 65535, 0, 300, 50), -300);
  EXPECT_EQ(ScaleAxis(32767, 65535, 0, 300, 50), 0);
  EXPECT_EQ(ScaleAxis(32767 + 16383, 65535, 0, 300, 50), 0) << "the edge of the dead zone";
  EXPECT_EQ(ScaleAxis(57343, 65535, 0, 300, 50), 150);  // half way out of the dead zone
}

TEST(ScaleAxisTest, SignedSpanCentresToo) {
  EXPECT_EQ(ScaleAxis(32767, 32767, -32768, 300, 50), 300);
  EXPECT_EQ(ScaleAxis(-32768, 32767, -32768, 300, 50), -300);
  EXPECT_EQ(ScaleAxis(0, 32767, -32768, 300, 50), 0);
  EXPECT_EQ(ScaleAxis(-1, 32767, -32768, 300, 50), 0);
}

TEST(ScaleAxisTest, DegenerateSpansAndWideValuesDoNotOverflow) {
  EXPECT_EQ(ScaleAxis(5, 10, 10, 300, 0), 0);          // no span at all
  EXPECT_EQ(ScaleAxis(65535, 65535, 0, 300, 100), 0);  // everything is dead zone
  EXPECT_EQ(ScaleAxis(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MAX, 0), INT32_MAX);
  EXPECT_EQ(ScaleAxis(INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, 0), INT32_MIN + 1);
  EXPECT_EQ(ScaleAxis(65535, 65535, 0, 300, 500), 0) << "dead zones beyond 100 % are 100 %";
}

using JoystickTest = InputTest;

TEST_F(JoystickTest, ConstructorDefaults) {
  TDXInput* input = create();
  TJoystick* j = input->Joystick;
  EXPECT_TRUE(j->AutoCenter());
  EXPECT_EQ(j->ID(), 0);
  EXPECT_EQ(j->DeadZones(kOffsetX), 50);
  EXPECT_EQ(j->Ranges(kOffsetZ), 1000);
  EXPECT_EQ(j->Ranges(12), 0);
}

TEST_F(JoystickTest, DeadZoneAndRangeEntriesAreClampedAndBounded) {
  TDXInput* input = create();
  TJoystick* j = input->Joystick;
  j->SetDeadZones(kOffsetX, 150);
  EXPECT_EQ(j->DeadZones(kOffsetX), 100);
  j->SetDeadZones(kOffsetY, -5);
  EXPECT_EQ(j->DeadZones(kOffsetY), 0);
  j->SetRanges(kOffsetX, -7);
  EXPECT_EQ(j->Ranges(kOffsetX), 0);
  j->SetDeadZones(271, 20);
  j->SetRanges(-1, 20);
  EXPECT_EQ(j->DeadZones(271), 0);
  EXPECT_EQ(j->Ranges(-1), 0);
  EXPECT_EQ(j->Ranges(100000), 0);
}

TEST_F(JoystickTest, HatEntryOfAnOpenStickReadsMinusOne) {
  sys->plugJoystick();
  TDXInput* input = create();
  ASSERT_TRUE(input->Joystick->Initialized());
  input->Joystick->SetDeadZones(kOffsetPOV, 10);
  input->Joystick->SetRanges(kOffsetPOV, 10);
  EXPECT_EQ(input->Joystick->DeadZones(kOffsetPOV), -1);
  EXPECT_EQ(input->Joystick->Ranges(kOffsetPOV), -1);
}

TEST_F(JoystickTest, AxesAndButtonsGiveStatesWithTheGameSettings) {
  auto stick = sys->plugJoystick(2, 12);
  TDXInput* input = create(gameJoystick);
  TJoystick* j = input->Joystick;
  EXPECT_EQ(j->ButtonCount, 12);
  stick->state.axes = {-32768, 32767};
  stick->state.buttons[0] = true;
  stick->state.buttons[11] = true;
  stick->state.buttons[20] = true;  // beyond the stick's buttons: not read
  stick->state.pov = 9000;
  input->UpdateInput();
  EXPECT_EQ(j->AxisX(), -300);
  EXPECT_EQ(j->AxisY(), 300);
  EXPECT_EQ(j->JoyState.rgdwPOV[0], 9000u);
  // The hat pushed right gives right, whatever the stick says.
  EXPECT_EQ(input->States, (TDXInputStates{isLeft, isRight, isDown, isButton1, isButton12}));
  stick->state.pov = -1;
  stick->state.axes = {16000, -16000};  // inside the dead zone
  input->UpdateInput();
  EXPECT_EQ(j->AxisX(), 0);
  EXPECT_EQ(j->AxisY(), 0);
  EXPECT_FALSE(input->States.Contains(isLeft));
}

TEST_F(JoystickTest, TheHatGivesTheFourDirectionsAndBothOfADiagonal) {
  auto stick = sys->plugJoystick(2, 4);
  TDXInput* input = create(gameJoystick);
  const std::pair<int32_t, TDXInputStates> hats[] = {
      {-1, {}},
      {0, {isUp}},
      {4500, {isUp, isRight}},
      {9000, {isRight}},
      {13500, {isRight, isDown}},
      {18000, {isDown}},
      {22500, {isDown, isLeft}},
      {27000, {isLeft}},
      {31500, {isLeft, isUp}},
      {36000, {}},  // no angle at all
  };
  for (const auto& [pov, states] : hats) {
    stick->state.pov = pov;
    input->UpdateInput();
    EXPECT_EQ(input->Joystick->DeviceStates(), states) << pov;
  }
  EXPECT_EQ(input->Joystick->AxisX(), 0) << "the hat moves no axis";
}

TEST_F(JoystickTest, PressedStatesComeOncePerPressAlsoForATapBetweenUpdates) {
  auto pad = sys->plugPad();
  TDXInput* input = create(gameJoystick);
  TJoystick* j = input->Joystick;
  pad->press(platform::kPadA);
  input->UpdateInput();
  EXPECT_EQ(j->PressedStates(), (TDXInputStates{isButton1}));
  input->UpdateInput();
  EXPECT_TRUE(j->PressedStates().Empty()) << "held, not pressed again";
  EXPECT_TRUE(j->DeviceStates().Contains(isButton1));
  pad->press(platform::kPadA, false);
  input->UpdateInput();
  EXPECT_TRUE(j->PressedStates().Empty());

  // Down and up again before the update: only the reading's flag tells.
  pad->press(platform::kPadStart);
  pad->press(platform::kPadStart, false);
  input->UpdateInput();
  EXPECT_EQ(j->PressedStates(), (TDXInputStates{isButton8}));
  EXPECT_FALSE(j->DeviceStates().Contains(isButton8));

  pad->deflect(0, 1);
  input->UpdateInput();
  EXPECT_EQ(j->PressedStates(), (TDXInputStates{isDown}));
  input->UpdateInput();
  EXPECT_TRUE(j->PressedStates().Empty());
  pad->deflect(0, 0);
  pad->state.pov = 18000;
  input->UpdateInput();
  EXPECT_TRUE(j->PressedStates().Empty()) << "from the stick to the d-pad, down stays down";
}

TEST_F(JoystickTest, PressesMadeWhileTheGameIsInTheBackgroundAreDropped) {
  auto pad = sys->plugPad();
  TDXInput* input = create(gameJoystick);
  setActive(false);
  pad->press(platform::kPadB);
  pad->press(platform::kPadB, false);
  input->UpdateInput();
  EXPECT_TRUE(input->Joystick->PressedStates().Empty());
  setActive(true);
  input->UpdateInput();
  EXPECT_TRUE(input->Joystick->PressedStates().Empty());
}

TEST_F(JoystickTest, APadWithoutAMotorRumblesTheGamesEffect) {
  auto pad = sys->plugPad();
  TDXInput* input = create(gameJoystick);
  ASSERT_TRUE(input->Joystick->ForceFeedbackDevice());
  auto* effect = new TForceFeedbackEffect(input->Joystick->Effects);
  effect->Name = "eff1";
  effect->SetEffectType(TForceFeedbackEffectType::etPeriodic);
  effect->SetConstantX(10000);
  effect->SetConstantY(-10000);
  effect->SetTime(50);
  effect->SetPower(5000);
  input->Joystick->Effects->Find("eff1")->Start();
  input->Joystick->Effects->Find("eff1")->Start();
  ASSERT_EQ(pad->rumbleCalls.size(), 2u);
  EXPECT_EQ(pad->rumbleCalls[1].low, 0x7FFF);
  EXPECT_EQ(pad->rumbleCalls[1].high, 0x7FFF);
  EXPECT_EQ(pad->rumbleCalls[1].ms, 50u);
  input->Joystick->SetForceFeedback(false);
  ASSERT_EQ(pad->rumbleCalls.size(), 3u);
  EXPECT_EQ(pad->rumbleCalls[2].low, 0) << "switching rumble off stops it";
  input->Joystick->Effects->Find("eff1")->Start();
  EXPECT_EQ(pad->rumbleCalls.size(), 3u) << "and none follows";
}

TEST_F(JoystickTest, ButtonNineGivesStateTwelve) {
  auto stick = sys->plugJoystick(2, 12);
  TDXInput* input = create(gameJoystick);
  stick->state.buttons[8] = true;
  input->UpdateInput();
  EXPECT_TRUE(input->Joystick->DeviceStates().Contains(12));
  EXPECT_TRUE(input->States.Contains(isButton9));
}

TEST_F(JoystickTest, NoStickAtTheIdLeavesItClosedUntilOneIsPlugged) {
  TDXInput* input = create(gameJoystick);
  EXPECT_FALSE(input->Joystick->Initialized());
  input->UpdateInput();
  EXPECT_TRUE(input->States.Empty());

  auto stick = sys->plugJoystick(2, 4);
  stick->state.axes[0] = 32767;
  input->UpdateInput();
  EXPECT_TRUE(input->Joystick->Initialized());
  EXPECT_EQ(input->Joystick->AxisX(), 300);
  EXPECT_TRUE(input->States.Contains(isRight));
}

TEST_F(JoystickTest, PulledStickStopsReportingAndComesBack) {
  auto stick = sys->plugJoystick(2, 4);
  TDXInput* input = create(gameJoystick);
  stick->state.buttons[1] = true;
  input->UpdateInput();
  EXPECT_TRUE(input->States.Contains(isButton2));

  sys->unplugJoystick(stick);
  EXPECT_NO_THROW(input->UpdateInput());
  EXPECT_FALSE(input->Joystick->Initialized());
  EXPECT_TRUE(input->States.Empty());
  EXPECT_NO_THROW(input->Joystick->Effects->Start());

  auto again = sys->plugJoystick(2, 4);
  again->state.buttons[1] = true;
  input->UpdateInput();
  EXPECT_TRUE(input->States.Contains(isButton2));
}

TEST_F(JoystickTest, StickAtAnotherPositionIsNotTaken) {
  sys->plugJoystick(2, 4);
  auto second = sys->plugJoystick(2, 4);
  TDXInput* input = create([](TDXInput& in) { in.Joystick->SetID(1); });
  second->state.buttons[0] = true;
  input->UpdateInput();
  EXPECT_TRUE(input->States.Contains(isButton1));
  input->Joystick->SetID(5);
  EXPECT_FALSE(input->Joystick->Initialized());
  input->Joystick->SetID(-1);
  input->UpdateInput();
  EXPECT_TRUE(input->States.Empty());
}

TEST_F(JoystickTest, WithoutTheDeviceLayerTheStickIsReadPlainly) {
  sys->deviceLayerWorks = false;
  TDXInput* input = create([](TDXInput& in) {
    gameJoystick(in);
    in.Mouse->SetEnabled(false);  // it needs the device layer
  });
  EXPECT_TRUE(input->Joystick->Initialized()) << "open even with no stick";
  EXPECT_EQ(input->Joystick->JoyId(), -1);
  input->UpdateInput();
  EXPECT_TRUE(input->States.Empty());

  auto stick = sys->plugJoystick(3, 6, true);
  stick->state.axes = {0, 0, 32767};
  input->UpdateInput();
  EXPECT_EQ(input->Joystick->JoyId(), 0);
  EXPECT_EQ(input->Joystick->AxisZ(), 300);
  EXPECT_FALSE(input->Joystick->ForceFeedbackDevice());
}

TEST_F(JoystickTest, UnreadableStickReportsNothing) {
  auto stick = sys->plugJoystick(2, 4);
  TDXInput* input = create(gameJoystick);
  stick->state.buttons[0] = true;
  stick->readable = false;
  input->UpdateInput();
  EXPECT_TRUE(input->States.Empty());
}

TEST_F(JoystickTest, AutoCentreReachesTheMotorAndDecidesCooperation) {
  auto stick = sys->plugJoystick(2, 4, true);
  TDXInput* input = create(gameJoystick);
  EXPECT_TRUE(stick->motor->autocenter);
  EXPECT_EQ(input->Joystick->CooperativeFlags(), DISCL_EXCLUSIVE | DISCL_FOREGROUND);
  input->Joystick->SetAutoCenter(false);
  EXPECT_FALSE(stick->motor->autocenter);
  input->Joystick->SetForceFeedback(false);
  EXPECT_EQ(input->Joystick->CooperativeFlags(), DISCL_EXCLUSIVE | DISCL_FOREGROUND);
  input->Joystick->SetAutoCenter(true);
  EXPECT_EQ(input->Joystick->CooperativeFlags(), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
}

// SDL's own joystick path, with a stick that SDL attaches in software.
struct SdlJoystickTest : ::testing::Test {
  FakeApp f;
  TForm* form = nullptr;
  void SetUp() override {
    f.platform.setInput(platform::createSdlInputSystem());
    form = f.app->CreateForm<TForm>();
    f.events().pushFocus(0, true);
    f.app->ProcessMessages();
  }
};

TEST_F(SdlJoystickTest, VirtualStickReadsFullDeflectionCentreAndButtons) {
  platform::VirtualJoystickDesc desc;
  desc.buttons = 12;
  std::unique_ptr<platform::VirtualJoystick> stick = platform::attachSdlVirtualJoystick(desc);
  if (!stick) GTEST_SKIP() << "SDL cannot attach a virtual joystick here";
  auto* input = form->CreateComponent<TDXInput>();
  input->ComponentState |= csLoading;
  InputTest::gameJoystick(*input);
  input->Loaded();
  ASSERT_TRUE(input->Joystick->Initialized());
  EXPECT_EQ(input->Joystick->ButtonCount, 12);

  stick->setAxis(0, 32767);
  input->UpdateInput();
  EXPECT_EQ(input->Joystick->AxisX(), 300);
  EXPECT_TRUE(input->States.Contains(isRight));

  stick->setAxis(0, 0);
  stick->setButton(8, true);
  input->UpdateInput();
  EXPECT_EQ(input->Joystick->AxisX(), 0);
  EXPECT_FALSE(input->States.Contains(isRight));
  EXPECT_TRUE(input->States.Contains(isButton9));

  // Without a motor, the game's effect does nothing and raises nothing.
  EXPECT_NO_THROW(input->Joystick->Effects->Start());
  stick.reset();
  EXPECT_NO_THROW(input->UpdateInput());
  EXPECT_FALSE(input->States.Contains(isButton9));
}

TEST_F(SdlJoystickTest, AnXboxPadSteersByStickAndDpadAndPressesOnce) {
  std::unique_ptr<platform::VirtualJoystick> pad =
      platform::attachSdlVirtualJoystick(platform::xboxPadDesc());
  if (!pad) GTEST_SKIP() << "SDL cannot attach a virtual joystick here";
  auto* input = form->CreateComponent<TDXInput>();
  input->ComponentState |= csLoading;
  InputTest::gameJoystick(*input);
  input->Loaded();
  ASSERT_TRUE(input->Joystick->Initialized());
  EXPECT_EQ(input->Joystick->ButtonCount, platform::kPadButtonCount);

  pad->setAxis(1, -32768);  // left stick up
  input->UpdateInput();
  EXPECT_EQ(input->Joystick->AxisY(), -300);
  EXPECT_TRUE(input->States.Contains(isUp));
  pad->setAxis(1, 0);
  pad->setHat(0, 9000);     // d-pad right
  pad->setButton(7, true);  // Start
  input->UpdateInput();
  EXPECT_EQ(input->Joystick->AxisX(), 0);
  EXPECT_EQ(input->States, (TDXInputStates{isRight, isButton8}));
  EXPECT_EQ(input->Joystick->PressedStates(), (TDXInputStates{isRight, isButton8}));
  input->UpdateInput();
  EXPECT_TRUE(input->Joystick->PressedStates().Empty());

  // No haptic device, but the pad rumbles.
  ASSERT_TRUE(input->Joystick->ForceFeedbackDevice());
  auto* effect = new TForceFeedbackEffect(input->Joystick->Effects);
  effect->SetEffectType(TForceFeedbackEffectType::etConstantForce);
  effect->SetConstantX(10000);
  effect->Start();
  ASSERT_FALSE(pad->rumbles().empty());
  EXPECT_EQ(pad->rumbles().back().low, 0xFFFF);
}

}  // namespace
