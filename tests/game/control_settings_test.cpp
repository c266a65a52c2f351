#include "game/control_settings.h"

#include <gtest/gtest.h>

#include "engine/input/dx_input.h"
#include "game/main_form_fixture.h"
#include "game/settings.h"
#include "support/scoped_environment.h"

namespace {

struct ControlSettingsTest : MainFormTest {
  std::shared_ptr<platform::FakeJoystickDevice> pad;
  void prepare() override { pad = input().plugPad(); }
};

TEST(DefaultControlSettings, AreTheGamesOwnAndAFileInTheConfigFolder) {
  ScopedVariable config("XDG_CONFIG_HOME", "/srv/config");
  const TControlSettings settings = DefaultControlSettings();
  EXPECT_TRUE(settings.Rumble);
  EXPECT_EQ(settings.DeadZone, 50);
  EXPECT_EQ(settings.ControllerMappings, "/srv/config/reefmaw/gamecontrollerdb.txt");
  // The settings file's dead zone and rumble, with the same layouts file.
  Settings chosen;
  chosen.padDeadZone = 10;
  chosen.rumble = false;
  const TControlSettings fromFile = ControlSettingsFrom(chosen);
  EXPECT_EQ(fromFile.DeadZone, 10);
  EXPECT_FALSE(fromFile.Rumble);
  EXPECT_EQ(fromFile.ControllerMappings, settings.ControllerMappings);
}

TEST_F(ControlSettingsTest, DeadZoneAndRumbleReachThePad) {
  showActive();
  TControlSettings settings = DefaultControlSettings();
  settings.DeadZone = 10;
  settings.Rumble = false;
  ApplyControlSettings(*form, settings);
  TDXInput& in = *form->DXInput;
  // A fifth of the way out no longer reads as the centre.
  pad->state.axes[0] = 32767 / 5;
  in.UpdateInput();
  EXPECT_GT(in.Joystick->AxisX(), 0);
  EXPECT_FALSE(in.Joystick->ForceFeedback());
  in.Joystick->Effects->Find("eff1")->Start();
  EXPECT_TRUE(pad->rumbleCalls.empty());
}

TEST_F(ControlSettingsTest, TheLayoutsFileIsReadAndThePadOpenedAgainForIt) {
  const int opens = pad->opens;
  TControlSettings settings = DefaultControlSettings();
  settings.ControllerMappings = "/srv/config/reefmaw/gamecontrollerdb.txt";
  ApplyControlSettings(*form, settings);
  EXPECT_EQ(input().mappingFiles, std::vector<std::string>{settings.ControllerMappings});
  EXPECT_EQ(pad->opens, opens) << "no layouts in it, nothing to open again";
  input().mappingsInAFile = 3;
  ApplyControlSettings(*form, settings);
  EXPECT_EQ(pad->opens, opens + 1);
  EXPECT_TRUE(form->DXInput->Joystick->Initialized());
  settings.ControllerMappings.clear();
  ApplyControlSettings(*form, settings);
  EXPECT_EQ(input().mappingFiles.size(), 2u);
}

TEST_F(ControlSettingsTest, TheDefaultsChangeNothingTheGameHad) {
  ApplyControlSettings(*form, DefaultControlSettings());
  TDXInput& in = *form->DXInput;
  EXPECT_EQ(in.Joystick->DeadZones(kOffsetX), 50);
  EXPECT_EQ(in.Joystick->DeadZones(kOffsetY), 50);
  EXPECT_TRUE(in.Joystick->Initialized());
  EXPECT_TRUE(in.Joystick->ForceFeedback());
}

}  // namespace
