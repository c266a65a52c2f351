#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/input_system.h"
#include "support/virtual_joystick.h"

namespace {

using platform::createSdlInputSystem;
using platform::VirtualJoystick;
using platform::VirtualJoystickDesc;

TEST(SdlInputTest, KeyTableIsEmptyWithNoKeyHeld) {
  auto input = createSdlInputSystem();
  std::array<uint8_t, 256> keys;
  keys.fill(0xAA);
  input->keyboardState(keys);
  EXPECT_EQ(keys, (std::array<uint8_t, 256>{}));
}

TEST(SdlInputTest, DeviceLayerIsCountedAndGivenBack) {
  auto input = createSdlInputSystem();
  if (!input->acquireDeviceLayer()) GTEST_SKIP() << "no joystick subsystem here";
  EXPECT_TRUE(input->acquireDeviceLayer());
  input->releaseDeviceLayer();
  input->releaseDeviceLayer();
  input->releaseDeviceLayer();  // one too many does no harm
}

TEST(SdlInputTest, PluggingAndPullingAStickIsSeen) {
  auto input = createSdlInputSystem();
  const int before = input->joystickCount();
  const uint32_t changes = input->joystickChanges();
  platform::VirtualJoystickDesc desc;
  desc.axes = 3;
  desc.buttons = 5;
  auto stick = platform::attachSdlVirtualJoystick(desc);
  if (!stick) GTEST_SKIP() << "SDL cannot attach a virtual joystick here";
  EXPECT_EQ(input->joystickCount(), before + 1);
  EXPECT_NE(input->joystickChanges(), changes);

  std::unique_ptr<platform::Joystick> opened = input->openJoystick(before, true);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->axisCount(), 3);
  EXPECT_EQ(opened->buttonCount(), 5);
  EXPECT_EQ(opened->haptic(), nullptr) << "the software stick has no motor";
  stick->setAxis(1, -32768);
  stick->setButton(4, true);
  platform::JoystickReading reading;
  ASSERT_TRUE(opened->read(reading));
  EXPECT_EQ(reading.axisMin, -32768);
  EXPECT_EQ(reading.axisMax, 32767);
  EXPECT_EQ(reading.axes[1], -32768);
  EXPECT_TRUE(reading.buttons[4]);
  EXPECT_FALSE(reading.buttons[0]);
  EXPECT_EQ(reading.pov, -1);

  const uint32_t plugged = input->joystickChanges();
  stick.reset();
  EXPECT_FALSE(opened->attached());
  EXPECT_FALSE(opened->read(reading));
  EXPECT_NE(input->joystickChanges(), plugged);
  EXPECT_EQ(input->joystickCount(), before);
}

TEST(SdlInputTest, NoStickAtAPositionOpensNothing) {
  auto input = createSdlInputSystem();
  EXPECT_EQ(input->openJoystick(input->joystickCount(), false), nullptr);
  EXPECT_EQ(input->openJoystick(-1, false), nullptr);
}

// A software pad plugged in for one test, opened through the input system.
struct PadTest : ::testing::Test {
  std::unique_ptr<platform::InputSystem> input = createSdlInputSystem();
  std::unique_ptr<VirtualJoystick> stick;
  std::unique_ptr<platform::Joystick> opened;

  // False (the test skips) when SDL cannot attach a virtual stick here.
  bool plug(const VirtualJoystickDesc& desc, bool haptics = false) {
    if (haptics && !input->acquireDeviceLayer()) return false;
    const int position = input->joystickCount();
    stick = platform::attachSdlVirtualJoystick(desc);
    if (!stick) return false;
    opened = input->openJoystick(position, haptics);
    return opened != nullptr;
  }
  platform::JoystickReading read() {
    platform::JoystickReading reading;
    EXPECT_TRUE(opened->read(reading));
    return reading;
  }
};

TEST_F(PadTest, AnXboxPadReadsInTheFixedLayoutThroughSdlsOwnMapping) {
  if (!plug(platform::xboxPadDesc())) GTEST_SKIP() << "no virtual joystick here";
  EXPECT_EQ(opened->axisCount(), platform::kPadAxisCount);
  EXPECT_EQ(opened->buttonCount(), platform::kPadButtonCount);
  // The Linux driver's order: sticks on axes 0, 1 and 3, 4, triggers on 2 and 5.
  stick->setAxis(0, 32767);
  stick->setAxis(1, -32768);
  stick->setAxis(2, 32767);
  stick->setAxis(3, -20000);
  stick->setAxis(4, 20000);
  stick->setButton(7, true);  // Start
  stick->setButton(9, true);  // the left stick pressed in
  stick->setHat(0, 27000);
  platform::JoystickReading r = read();
  EXPECT_EQ(r.axes[0], 32767);
  EXPECT_EQ(r.axes[1], -32768);
  EXPECT_GT(r.axes[2], 16000) << "the left trigger pushes Z up";
  EXPECT_EQ(r.axes[3], -20000);
  EXPECT_EQ(r.axes[4], 20000);
  EXPECT_EQ(r.pov, 27000) << "the d-pad is the hat";
  EXPECT_TRUE(r.buttons[platform::kPadStart]);
  EXPECT_TRUE(r.buttons[platform::kPadLeftStick]);
  EXPECT_FALSE(r.buttons[platform::kPadA]);
  EXPECT_FALSE(r.buttons[platform::kPadGuide]);

  stick->setAxis(2, -32768);  // a trigger at rest
  stick->setAxis(5, 32767);
  stick->setHat(0, 4500);
  stick->setButton(0, true);
  r = read();
  EXPECT_LT(r.axes[2], -16000) << "the right trigger pushes Z down";
  EXPECT_EQ(r.pov, 4500) << "up and right together";
  EXPECT_TRUE(r.buttons[platform::kPadA]);
}

TEST_F(PadTest, APressShorterThanTheTimeBetweenTwoReadingsIsCaught) {
  if (!plug(platform::xboxPadDesc())) GTEST_SKIP() << "no virtual joystick here";
  read();
  stick->setButton(1, true);  // B, down and up again before the game reads the pad
  SDL_JoystickUpdate();
  stick->setButton(1, false);
  SDL_JoystickUpdate();
  platform::JoystickReading r = read();
  EXPECT_FALSE(r.buttons[platform::kPadB]);
  EXPECT_TRUE(r.pressed[platform::kPadB]);
  EXPECT_FALSE(r.pressed[platform::kPadA]);
  EXPECT_FALSE(read().pressed[platform::kPadB]) << "once per press";
  stick->setButton(1, true);
  r = read();
  EXPECT_TRUE(r.buttons[platform::kPadB]);
  EXPECT_TRUE(r.pressed[platform::kPadB]);
  EXPECT_FALSE(read().pressed[platform::kPadB]) << "held is not pressed again";
}

TEST_F(PadTest, AStickSdlCannotMapIsReadAsItsDriverLaysItOut) {
  VirtualJoystickDesc desc;
  desc.axes = 2;
  desc.buttons = 4;
  desc.hats = 1;
  if (!plug(desc)) GTEST_SKIP() << "no virtual joystick here";
  EXPECT_EQ(opened->axisCount(), 2);
  EXPECT_EQ(opened->buttonCount(), 4);
  stick->setButton(3, true);
  SDL_JoystickUpdate();
  stick->setButton(3, false);
  stick->setHat(0, 18000);
  const platform::JoystickReading r = read();
  EXPECT_EQ(r.pov, 18000);
  EXPECT_FALSE(r.buttons[3]);
  EXPECT_TRUE(r.pressed[3]);
}

TEST_F(PadTest, APadWithoutHapticsRumblesWithTheEffectsStrengthAndLength) {
  if (!plug(platform::xboxPadDesc(), true)) GTEST_SKIP() << "no virtual joystick here";
  platform::HapticDevice* motor = opened->haptic();
  ASSERT_NE(motor, nullptr) << "the pad's rumble stands in for a haptic device";
  const std::vector<platform::HapticKind> kinds = motor->supportedKinds();
  ASSERT_NE(std::find(kinds.begin(), kinds.end(), platform::HapticKind::Sine), kinds.end());
  platform::HapticEffect effect;
  effect.kind = platform::HapticKind::Sine;
  effect.magnitude = 14142;  // beyond full: cut to full
  effect.durationMs = 50;
  const int handle = motor->createEffect(effect);
  ASSERT_GE(handle, 0);
  ASSERT_TRUE(motor->runEffect(handle, 1));
  ASSERT_EQ(stick->rumbles().size(), 1u);
  EXPECT_EQ(stick->rumbles()[0].low, 0xFFFF);
  EXPECT_EQ(stick->rumbles()[0].high, 0xFFFF);
  // SDL ends the rumble itself once the effect's length has passed.
  SDL_Delay(80);
  read();
  ASSERT_EQ(stick->rumbles().size(), 2u);
  EXPECT_EQ(stick->rumbles()[1].low, 0);

  effect.gain = 5000;
  ASSERT_TRUE(motor->updateEffect(handle, effect));
  ASSERT_TRUE(motor->runEffect(handle, 1));
  EXPECT_EQ(stick->rumbles().back().low, 0x7FFF);
  EXPECT_TRUE(motor->stopEffect(handle));
  EXPECT_EQ(stick->rumbles().back().low, 0);
}

TEST_F(PadTest, AStickThatCannotRumbleHasNoMotor) {
  VirtualJoystickDesc desc;
  desc.gamepad = true;
  if (!plug(desc, true)) GTEST_SKIP() << "no virtual joystick here";
  EXPECT_EQ(opened->haptic(), nullptr);
}

TEST(SdlInputTest, LayoutsFromAFileMapAStickSdlDidNotKnow) {
  auto input = createSdlInputSystem();
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / "reefmaw_gamecontrollerdb_test.txt";
  std::filesystem::remove(file);
  EXPECT_EQ(input->addControllerMappings(file.string()), -1) << "no such file";

  VirtualJoystickDesc desc;
  desc.name = "Odd Stick";
  desc.vendor = 0x1234;  // layouts are found by vendor and product
  desc.product = 0x5678;
  desc.axes = 2;
  desc.buttons = 2;
  const int position = input->joystickCount();
  auto stick = platform::attachSdlVirtualJoystick(desc);
  if (!stick) GTEST_SKIP() << "no virtual joystick here";
  ASSERT_EQ(SDL_IsGameController(position), SDL_FALSE);
  char guid[33];
  SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(position), guid, sizeof(guid));
  std::ofstream(file) << "# a player's own layouts\n"
                      << "not a layout at all\n"
                      << guid << ",Odd Stick,a:b1,b:b0,leftx:a0,lefty:a1,platform:Linux,\n";
  EXPECT_EQ(input->addControllerMappings(file.string()), 1);
  std::filesystem::remove(file);

  std::unique_ptr<platform::Joystick> opened = input->openJoystick(position, false);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->buttonCount(), platform::kPadButtonCount);
  stick->setButton(1, true);
  platform::JoystickReading r;
  ASSERT_TRUE(opened->read(r));
  EXPECT_TRUE(r.buttons[platform::kPadA]) << "its second button is A by the file";
  EXPECT_FALSE(r.buttons[platform::kPadB]);
}

}  // namespace
