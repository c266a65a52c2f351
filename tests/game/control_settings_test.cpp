// The pad's part of the settings, given with the rest of them to the main window.

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

TEST_F(ControlSettingsTest, DeadZoneAndRumbleReachThePad) {
  showActive();
  Settings settings;
  settings.padDeadZone = 10;
  settings.rumble = false;
  form->ApplySettings(settings);
  TDXInput& in = *form->DXInput;
  // A fifth of the way out no longer reads as the centre.
  pad->state.axes[0] = 32767 / 5;
  in.UpdateInput();
  EXPECT_GT(in.Joystick->AxisX(), 0);
  EXPECT_FALSE(in.Joystick->ForceFeedback());
  in.Joystick->Effects->Find("eff1")->Start();
  EXPECT_TRUE(pad->rumbleCalls.empty());
  settings.joystick = false;
  form->ApplySettings(settings);
  EXPECT_FALSE(in.Joystick->Enabled());
}

TEST_F(ControlSettingsTest, TheLayoutsFileOfTheConfigFolderIsReadAndThePadOpenedAgainForIt) {
  ScopedVariable config("XDG_CONFIG_HOME", "/srv/config");
  const int opens = pad->opens;
  form->ApplySettings(Settings{});
  EXPECT_EQ(input().mappingFiles,
            std::vector<std::string>{"/srv/config/reefmaw/gamecontrollerdb.txt"});
  EXPECT_EQ(pad->opens, opens) << "no layouts in it, nothing to open again";
  input().mappingsInAFile = 3;
  form->ApplySettings(Settings{});
  EXPECT_EQ(pad->opens, opens + 1);
  EXPECT_TRUE(form->DXInput->Joystick->Initialized());
  // Without a home folder there is no config folder, and no file to read.
  ScopedVariable noConfig("XDG_CONFIG_HOME", nullptr);
  ScopedVariable noHome("HOME", nullptr);
  form->ApplySettings(Settings{});
  EXPECT_EQ(input().mappingFiles.size(), 2u);
}

TEST_F(ControlSettingsTest, TheDefaultsChangeNothingTheGameHad) {
  form->ApplySettings(Settings{});
  TDXInput& in = *form->DXInput;
  EXPECT_EQ(in.Joystick->DeadZones(kOffsetX), 50);
  EXPECT_EQ(in.Joystick->DeadZones(kOffsetY), 50);
  EXPECT_TRUE(in.Joystick->Enabled());
  EXPECT_TRUE(in.Joystick->Initialized());
  EXPECT_TRUE(in.Joystick->ForceFeedback());
}

}  // namespace
