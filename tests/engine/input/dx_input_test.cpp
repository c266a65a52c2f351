#include "engine/input/dx_input.h"

#include <functional>

#include "framework/description.h"
#include "input_fixture.h"
#include "platform/sdl_keys.h"

namespace {

using platform::VK_DOWN;
using platform::VK_F1;
using platform::VK_LEFT;
using platform::VK_RIGHT;
using platform::VK_SPACE;
using platform::VK_UP;
constexpr uint16_t VK_K = 75;
constexpr uint16_t VK_F2 = VK_F1 + 1;

const TDescriptionObject& storedInput() {
  static const TDescriptionObject description = [] {
    const TDescriptionObject form = LoadEmbeddedDescription("main_form.form");
    for (const TDescriptionObject& child : form.children) {
      if (child.name == "DXInput") return child;
    }
    return TDescriptionObject{};
  }();
  return description;
}

void applyStored(TDXInput& input) {
  for (const TStoredProperty& p : storedInput().properties)
    input.SetStoredProperty(p.name, p.value);
}

TEST_F(InputTest, NeedsAFormAmongItsOwners) {
  try {
    f.app->CreateComponent<TDXInput>();
    FAIL() << "no error";
  } catch (const EDXInputError& e) {
    EXPECT_EQ(e.Message(), "Form not found");
  }
}

TEST_F(InputTest, MainWindowSettingsAreTheGamesOwn) {
  ASSERT_EQ(storedInput().className, "TDXInput");
  TDXInput* input = create(applyStored);
  EXPECT_TRUE(input->ActiveOnly());
  EXPECT_TRUE(input->UseDirectInput());
  EXPECT_TRUE(input->Keyboard->Enabled());
  EXPECT_TRUE(input->Keyboard->BindInputStates);
  EXPECT_FALSE(input->Keyboard->ForceFeedback());
  EXPECT_EQ(input->Keyboard->Assigns, DefaultKeyAssigns());
  EXPECT_FALSE(input->Mouse->Enabled());
  EXPECT_FALSE(input->Mouse->BindInputStates);
  TJoystick* joystick = input->Joystick;
  EXPECT_TRUE(joystick->Enabled());
  EXPECT_TRUE(joystick->ForceFeedback());
  EXPECT_TRUE(joystick->AutoCenter());
  EXPECT_EQ(joystick->ID(), 0);
  for (int offset : {kOffsetX, kOffsetY, kOffsetZ}) {
    EXPECT_EQ(joystick->DeadZones(offset), 50);
    EXPECT_EQ(joystick->Ranges(offset), 300);
  }
  TForceFeedbackEffects* root = joystick->Effects;
  EXPECT_EQ(root->Name, "Effects");
  EXPECT_EQ(root->Period(), 50);
  EXPECT_EQ(root->Time(), 1000);
  ASSERT_EQ(root->Count(), 1);
  TForceFeedbackEffect* eff1 = root->Find("eff1");
  EXPECT_EQ(eff1->EffectType(), TForceFeedbackEffectType::etPeriodic);
  EXPECT_EQ(eff1->ConstantX(), 10000);
  EXPECT_EQ(eff1->ConstantY(), -10000);
  EXPECT_EQ(eff1->Period(), 30);
  EXPECT_EQ(eff1->Power(), 10000);
  EXPECT_EQ(eff1->Time(), 50);
  EXPECT_EQ(eff1->StartDelayTime(), 0);
}

TEST_F(InputTest, StoredReadingErrorsNameTheProperty) {
  auto* input = form->CreateComponent<TDXInput>();
  TPropertyValue truth;
  truth.kind = TPropertyValue::Kind::Identifier;
  truth.text = "True";
  EXPECT_THROW(input->SetStoredProperty("Joystick.Wobble", truth), EReadError);
  EXPECT_THROW(input->SetStoredProperty("Pointer.Enabled", truth), EReadError);
  EXPECT_THROW(input->SetStoredProperty("Keyboard.Assigns", truth), EReadError);
  TPropertyValue blob;
  blob.kind = TPropertyValue::Kind::Binary;
  blob.bytes.assign(431, 0);
  EXPECT_THROW(input->SetStoredProperty("Keyboard.Assigns", blob), EReadError);
  EXPECT_EQ(input->Keyboard->Assigns, DefaultKeyAssigns()) << "a bad table changes nothing";
}

TEST_F(InputTest, TwoKeysOfOneStateGiveItOnceUntilBothAreUp) {
  TDXInput* input = create();
  sys->setKey(VK_UP, true);
  sys->setKey(VK_K, true);
  input->UpdateInput();
  EXPECT_TRUE(input->States.Contains(isUp));
  sys->setKey(VK_UP, false);
  input->UpdateInput();
  EXPECT_TRUE(input->States.Contains(isUp));
  sys->setKey(VK_K, false);
  input->UpdateInput();
  EXPECT_FALSE(input->States.Contains(isUp));
  EXPECT_TRUE(input->States.Empty());
}

TEST_F(InputTest, LeftAndRightTogetherGiveBoth) {
  TDXInput* input = create();
  sys->setKey(VK_LEFT, true);
  sys->setKey(VK_RIGHT, true);
  input->UpdateInput();
  EXPECT_EQ(input->States, (TDXInputStates{isLeft, isRight}));
}

TEST_F(InputTest, StateTheGameClearsStaysClearUntilPressedAgain) {
  TDXInput* input = create();
  sys->setKey(VK_SPACE, true);
  input->UpdateInput();
  ASSERT_TRUE(input->States.Contains(isButton1));
  input->States.Exclude(isButton1);
  input->UpdateInput();
  input->UpdateInput();
  EXPECT_FALSE(input->States.Contains(isButton1));
  sys->setKey(VK_SPACE, false);
  input->UpdateInput();
  EXPECT_FALSE(input->States.Contains(isButton1));
  sys->setKey(VK_SPACE, true);
  input->UpdateInput();
  EXPECT_TRUE(input->States.Contains(isButton1));
}

TEST_F(InputTest, StateTheGameAddsStaysUntilPressedAndReleased) {
  TDXInput* input = create();
  input->States.Include(isDown);
  input->UpdateInput();
  EXPECT_TRUE(input->States.Contains(isDown));
  sys->setKey(VK_DOWN, true);
  input->UpdateInput();
  sys->setKey(VK_DOWN, false);
  input->UpdateInput();
  EXPECT_FALSE(input->States.Contains(isDown));
}

TEST_F(InputTest, JoystickButtonNineAndF2GiveTheSameState) {
  auto stick = sys->plugJoystick(2, 12);
  TDXInput* input = create(gameJoystick);
  stick->state.buttons[8] = true;
  input->UpdateInput();
  EXPECT_EQ(input->States, (TDXInputStates{isButton9}));
  stick->state.buttons[8] = false;
  sys->setKey(VK_F2, true);
  input->UpdateInput();
  EXPECT_EQ(input->States, (TDXInputStates{isButton9}));
}

TEST_F(InputTest, NothingIsReportedWhileTheWindowIsInTheBackground) {
  auto stick = sys->plugJoystick(2, 12);
  TDXInput* input = create(gameJoystick);
  sys->setKey(VK_UP, true);
  stick->state.axes[0] = 32767;
  input->UpdateInput();
  EXPECT_EQ(input->States, (TDXInputStates{isUp, isRight}));
  setActive(false);
  input->UpdateInput();
  EXPECT_TRUE(input->States.Empty());
  EXPECT_EQ(input->Joystick->AxisX(), 0);
  EXPECT_EQ(input->Keyboard->KeyState[VK_UP], 0);
  setActive(true);
  input->UpdateInput();
  EXPECT_EQ(input->States, (TDXInputStates{isUp, isRight}));
}

TEST_F(InputTest, WithoutActiveOnlyTheBackgroundStillReads) {
  TDXInput* input = create([](TDXInput& in) { in.SetActiveOnly(false); });
  setActive(false);
  sys->setKey(VK_UP, true);
  input->UpdateInput();
  EXPECT_TRUE(input->States.Contains(isUp));
}

TEST_F(InputTest, UnboundDeviceIsReadButNotMerged) {
  TDXInput* input = create([](TDXInput& in) { in.Keyboard->BindInputStates = false; });
  sys->setKey(VK_UP, true);
  input->UpdateInput();
  EXPECT_TRUE(input->Keyboard->DeviceStates().Contains(isUp));
  EXPECT_TRUE(input->States.Empty());
}

TEST_F(InputTest, MouseNeedsTheDeviceLayer) {
  sys->deviceLayerWorks = false;
  const auto expectMouseError = [](const std::function<void()>& action) {
    try {
      action();
      FAIL() << "no error";
    } catch (const EDXInputError& e) {
      EXPECT_EQ(e.Message(), "DirectInput is necessary to use the mouse");
    }
  };
  expectMouseError([&] { create(); });  // the mouse is on unless settings say otherwise
  TDXInput* input = create([](TDXInput& in) { in.Mouse->SetEnabled(false); });
  EXPECT_TRUE(input->Keyboard->Initialized());
  expectMouseError([&] { input->Mouse->SetEnabled(true); });
  EXPECT_FALSE(input->Mouse->Initialized());
}

TEST_F(InputTest, EveryDeviceStartsEnabledAndBound) {
  TDXInput* input = create();
  ASSERT_EQ(input->DeviceCount(), 3);
  for (int i = 0; i < input->DeviceCount(); ++i) {
    EXPECT_TRUE(input->Devices(i)->Enabled()) << "device " << i;
    EXPECT_TRUE(input->Devices(i)->BindInputStates) << "device " << i;
  }
}

TEST_F(InputTest, StoredSettingsKeepTheMouseOutOfTheStates) {
  sys->deviceLayerWorks = false;  // nor does a machine without the device layer refuse them
  TDXInput* input = create(applyStored);
  EXPECT_FALSE(input->Mouse->Initialized());
  sys->mouse.x = 7;
  sys->mouse.buttons[0] = true;
  sys->setKey(VK_DOWN, true);
  input->UpdateInput();
  EXPECT_EQ(input->States, (TDXInputStates{isDown}));
}

TEST_F(InputTest, MouseMovementAndButtonsGiveStates) {
  TDXInput* input = create();
  ASSERT_TRUE(input->Mouse->Initialized());
  EXPECT_EQ(input->Mouse->ButtonCount, 3);
  sys->mouse.x = -4;
  sys->mouse.y = 2;
  sys->mouse.buttons[2] = true;
  input->UpdateInput();
  EXPECT_EQ(input->States, (TDXInputStates{isLeft, isDown, isButton3}));
}

TEST_F(InputTest, DeviceLayerIsTakenOnceAndGivenBack) {
  // The mouse off, as the game has it: without the layer it could not open.
  TDXInput* input = create([](TDXInput& in) { in.Mouse->SetEnabled(false); });
  EXPECT_TRUE(input->HasDeviceLayer());
  EXPECT_EQ(sys->deviceLayerUsers, 1);
  input->InitializeInput();
  EXPECT_EQ(sys->deviceLayerUsers, 1);
  input->SetUseDirectInput(false);
  EXPECT_FALSE(input->HasDeviceLayer());
  EXPECT_EQ(sys->deviceLayerUsers, 0);
  EXPECT_TRUE(input->Keyboard->Initialized()) << "the key table needs no device layer";
  input->SetUseDirectInput(true);
  EXPECT_EQ(sys->deviceLayerUsers, 1);
}

TEST_F(InputTest, ComponentGoesWithItsFormAndReleasesTheLayer) {
  create();
  EXPECT_EQ(sys->deviceLayerUsers, 1);
  f.app.reset();
  EXPECT_EQ(sys->deviceLayerUsers, 0);
}

TEST_F(InputTest, DisabledDeviceStaysClosedAndReopensWhenEnabled) {
  TDXInput* input = create([](TDXInput& in) { in.Keyboard->SetEnabled(false); });
  EXPECT_FALSE(input->Keyboard->Initialized());
  sys->setKey(VK_UP, true);
  input->UpdateInput();
  EXPECT_TRUE(input->States.Empty());
  input->Keyboard->SetEnabled(true);
  EXPECT_TRUE(input->Keyboard->Initialized());
  input->UpdateInput();
  EXPECT_TRUE(input->States.Contains(isUp));
}

}  // namespace
