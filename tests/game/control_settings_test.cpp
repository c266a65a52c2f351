#include "game/control_settings.h"

#include <gtest/gtest.h>

#include "engine/input/dx_input.h"
#include "game/main_form_fixture.h"
#include "platform/virtual_keys.h"
#include "support/scoped_environment.h"

namespace {

using platform::VK_UP;

struct ControlSettingsTest : MainFormTest {
  std::shared_ptr<platform::FakeJoystickDevice> pad;
  void prepare() override { pad = input().plugPad(); }
};

TEST(DefaultControlSettings, AreTheGamesOwnKeysAndAFileInTheConfigFolder) {
  ScopedVariable config("XDG_CONFIG_HOME", "/srv/config");
  const TControlSettings settings = DefaultControlSettings();
  EXPECT_EQ(settings.DirectionKeys[isUp], (std::array<int32_t, 3>{'K', VK_UP, 104}));
  EXPECT_EQ(settings.DirectionKeys[isRight], (std::array<int32_t, 3>{'L', 39, 102}));
  EXPECT_TRUE(settings.Joystick);
  EXPECT_TRUE(settings.Rumble);
  EXPECT_EQ(settings.DeadZone, 50);
  EXPECT_EQ(settings.ControllerMappings, "/srv/config/reefmaw/gamecontrollerdb.txt");
}

TEST_F(ControlSettingsTest, KeysDeadZoneAndRumbleReachTheInputComponent) {
  showActive();
  TControlSettings settings = DefaultControlSettings();
  settings.DirectionKeys[isUp] = {'W', 0, 0};
  settings.DeadZone = 10;
  settings.Rumble = false;
  settings.ControllerMappings = "/srv/config/reefmaw/gamecontrollerdb.txt";
  ApplyControlSettings(*form, settings);
  TDXInput& in = *form->DXInput;
  EXPECT_EQ(in.Keyboard->Assigns[isUp], (std::array<int32_t, 3>{'W', 0, 0}));
  EXPECT_EQ(in.Keyboard->Assigns[isButton1], DefaultKeyAssigns()[isButton1]) << "untouched";
  EXPECT_EQ(input().mappingFiles, std::vector<std::string>{settings.ControllerMappings});
  // A tenth of the way out no longer reads as the centre.
  pad->state.axes[0] = 32767 / 5;
  in.UpdateInput();
  EXPECT_GT(in.Joystick->AxisX(), 0);
  EXPECT_FALSE(in.Joystick->ForceFeedback());
  in.Joystick->Effects->Find("eff1")->Start();
  EXPECT_TRUE(pad->rumbleCalls.empty());
}

TEST_F(ControlSettingsTest, ThePadCanBeSwitchedOff) {
  showActive();
  TControlSettings settings = DefaultControlSettings();
  settings.Joystick = false;
  settings.ControllerMappings.clear();
  ApplyControlSettings(*form, settings);
  EXPECT_TRUE(input().mappingFiles.empty());
  pad->press(platform::kPadA);
  form->DXInput->UpdateInput();
  EXPECT_FALSE(form->DXInput->Joystick->Initialized());
  EXPECT_TRUE(form->DXInput->States.Empty());
}

TEST_F(ControlSettingsTest, TheDefaultsChangeNothingTheGameHad) {
  ApplyControlSettings(*form, DefaultControlSettings());
  TDXInput& in = *form->DXInput;
  EXPECT_EQ(in.Keyboard->Assigns, DefaultKeyAssigns());
  EXPECT_EQ(in.Joystick->DeadZones(kOffsetX), 50);
  EXPECT_TRUE(in.Joystick->Initialized());
  EXPECT_TRUE(in.Joystick->ForceFeedback());
}

}  // namespace
