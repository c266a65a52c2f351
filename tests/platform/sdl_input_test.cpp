#include <gtest/gtest.h>

#include "platform/input_system.h"

namespace {

using platform::createSdlInputSystem;

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

}  // namespace
