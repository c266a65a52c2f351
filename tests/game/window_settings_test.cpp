// The player's settings applied to the main window, and read back from it at the end.

#include <gtest/gtest.h>

#include "engine/graphics/dx_draw.h"
#include "engine/input/dx_input.h"
#include "game/main_form_fixture.h"
#include "game/settings.h"
#include "platform/virtual_keys.h"

namespace {

using platform::VK_RETURN;
using platform::VK_UP;

struct WindowSettingsTest : MainFormTest {
  void altEnter() {
    uint16_t key = VK_RETURN;
    form->FormKeyDown(form, key, platform::ssAlt);
  }
  void start(const Settings& settings) {
    f.platform.setWorkArea(platform::ScreenArea{0, 0, 1280, 1024});
    form->ApplySettings(settings);
    showActive();
    frames(1);
  }
};

TEST_F(WindowSettingsTest, TheDefaultsStartFullScreenScaledToFit) {
  start(Settings{});
  EXPECT_TRUE(form->DXDraw->Options().Contains(doFullScreen));
  EXPECT_TRUE(window().fullscreen());
  EXPECT_FALSE(window().bordered());
  EXPECT_EQ(window().lastPicture().mode, platform::PresentMode::FitKeepAspect);
  EXPECT_TRUE(window().lastPicture().vsync);
  EXPECT_TRUE(form->DXInput->Joystick->Enabled());
}

TEST_F(WindowSettingsTest, AWindowOfTheChosenSizeWithThePictureScaledByWholeFactors) {
  Settings s;
  s.fullscreen = false;
  s.windowWidth = 1024;
  s.windowHeight = 768;
  s.scaling = ScalingMode::Integer;
  s.vsync = false;
  start(s);
  EXPECT_FALSE(window().fullscreen());
  EXPECT_TRUE(window().bordered());
  EXPECT_TRUE(window().cursorVisible());
  const platform::Placement p = window().placement();
  EXPECT_EQ(p.width, 1024);
  EXPECT_EQ(p.height, 768);
  EXPECT_EQ(p.x, (1280 - 1024) / 2);
  EXPECT_EQ(window().lastPicture().width, 800);
  EXPECT_EQ(window().lastPicture().mode, platform::PresentMode::IntegerScale);
  EXPECT_FALSE(window().lastPicture().vsync);
  // Alt+Enter goes full screen and back to the same window.
  altEnter();
  EXPECT_TRUE(window().fullscreen());
  altEnter();
  EXPECT_EQ(window().placement().width, 1024);
  EXPECT_EQ(window().placement().x, p.x);
}

TEST_F(WindowSettingsTest, AWindowAtTheChosenPlace) {
  Settings s;
  s.fullscreen = false;
  s.windowCentred = false;
  s.windowX = 30;
  s.windowY = 40;
  start(s);
  EXPECT_EQ(window().placement().x, 30);
  EXPECT_EQ(window().placement().y, 40);
  EXPECT_EQ(window().placement().width, 800);
}

TEST_F(WindowSettingsTest, TheSteeringKeysAndTheJoystickFollowTheSettings) {
  Settings s;
  s.directionKeys[0] = {'W', 0, 0};
  s.joystick = false;
  start(s);
  EXPECT_FALSE(form->DXInput->Joystick->Enabled());
  input().setKey('W', true);
  form->DXInput->UpdateInput();
  EXPECT_TRUE(form->DXInput->States.Contains(isUp));
  input().setKey('W', false);
  input().setKey(VK_UP, true);  // no longer one of the up keys
  form->DXInput->UpdateInput();
  EXPECT_FALSE(form->DXInput->States.Contains(isUp));
  input().setKey('J', true);  // the other directions keep their keys
  form->DXInput->UpdateInput();
  EXPECT_TRUE(form->DXInput->States.Contains(isDown));
}

TEST_F(WindowSettingsTest, WhatThePlayerChangedIsReadBackAndNothingElse) {
  const Settings chosen;
  start(chosen);
  Settings atExit = chosen;
  form->StoreWindowChoices(atExit);
  EXPECT_EQ(WriteSettings(atExit), WriteSettings(chosen));  // never left full screen
  altEnter();
  atExit = chosen;
  form->StoreWindowChoices(atExit);
  EXPECT_FALSE(atExit.fullscreen);
  EXPECT_TRUE(atExit.windowCentred);  // where the game put it: not the player's choice
  // The player moves the window and goes back to full screen: both are remembered.
  window().setPlacement(platform::Placement{15, 25, 800, 600, false});
  altEnter();
  atExit = chosen;
  form->StoreWindowChoices(atExit);
  EXPECT_TRUE(atExit.fullscreen);
  EXPECT_FALSE(atExit.windowCentred);
  EXPECT_EQ(atExit.windowX, 15);
  EXPECT_EQ(atExit.windowY, 25);
  EXPECT_EQ(atExit.windowWidth, 800);
}

}  // namespace
