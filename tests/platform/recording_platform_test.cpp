#include "platform/recording_platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio_system.h"
#include "platform/fake_input.h"
#include "platform/fake_platform.h"

namespace {

namespace fs = std::filesystem;
using platform::ReplayKind;
using platform::ReplayReader;

struct RecordingTest : ::testing::Test {
  std::string file =
      (fs::temp_directory_path() / ("reefmaw_recording_" + std::to_string(getpid()) + ".replay"))
          .string();
  platform::FakePlatform fake;
  void TearDown() override { fs::remove(file); }
  platform::FakeInputSystem& input() {
    return static_cast<platform::FakeInputSystem&>(fake.input());
  }
};

TEST_F(RecordingTest, EveryAnswerOfThePlatformIsWrittenInTheOrderAsked) {
  platform::ReplayHeader header;
  header.counterFrequency = fake.clock().highResFrequency();
  {
    platform::ReplayWriter writer(file, header);
    platform::RecordingPlatform recording(fake, writer);
    fake.clock().setTicks(1000);
    fake.clock().setHighResCounter(77);
    EXPECT_EQ(recording.clock().ticks(), 1000u);
    EXPECT_EQ(recording.clock().highResCounter(), 77u);
    EXPECT_EQ(recording.clock().highResFrequency(), header.counterFrequency);  // not written
    fake.events().pushKeyDown(5, 27);
    platform::Event event;
    EXPECT_TRUE(recording.events().poll(event));
    EXPECT_FALSE(recording.events().poll(event));
    recording.events().wait(10);  // not written
    input().setKey(37, true);
    std::array<uint8_t, 256> keys{};
    recording.input().keyboardState(keys);
    EXPECT_EQ(keys[37], 0x80);
    input().plugJoystick(2, 4, true);
    EXPECT_TRUE(recording.input().acquireDeviceLayer());
    EXPECT_EQ(recording.input().joystickCount(), 1);
    std::unique_ptr<platform::Joystick> stick = recording.input().openJoystick(0, true);
    ASSERT_NE(stick, nullptr);
    platform::JoystickReading reading;
    EXPECT_TRUE(stick->read(reading));
    ASSERT_NE(stick->haptic(), nullptr);
    EXPECT_GE(stick->haptic()->createEffect({}), 0);
    std::unique_ptr<platform::Window> window = recording.createWindow({});
    EXPECT_EQ(window->id(), 1u);
    EXPECT_FALSE(window->visible());
    window->show();  // not written
    const uint16_t pixel = 0;
    EXPECT_TRUE(window->present(&pixel, 1, 1, 2, platform::PixelFormat::RGB565,
                                platform::PresentMode::Center, false));
    int width = 0;
    int height = 0;
    recording.text().textExtent("OK", {}, width, height);
    EXPECT_NE(recording.audio().openDevice(), nullptr);
    EXPECT_EQ(recording.displayModes().size(), fake.displayModes().size());
    recording.frame(1, 0xABC);
    writer.finish("the end", 9);

    const std::vector<uint8_t> bytes = platform::readReplayFile(file);
    ReplayReader reader(bytes);
    EXPECT_EQ(reader.header().counterFrequency, header.counterFrequency);
    const std::vector<ReplayKind> expected = {
        ReplayKind::Ticks,          ReplayKind::Counter,
        ReplayKind::Event,          ReplayKind::NoEvent,
        ReplayKind::Keyboard,       ReplayKind::DeviceLayer,
        ReplayKind::JoystickCount,  ReplayKind::OpenJoystick,
        ReplayKind::JoystickRead,   ReplayKind::JoystickHaptic,
        ReplayKind::JoystickHaptic, ReplayKind::HapticCreate,
        ReplayKind::CreateWindow,   ReplayKind::WindowVisible,
        ReplayKind::WindowPresent,  ReplayKind::TextExtent,
        ReplayKind::AudioDevice,    ReplayKind::DisplayModes,
        ReplayKind::Frame,          ReplayKind::End};
    for (ReplayKind kind : expected) {
      const platform::ReplayRecord& r = reader.next();
      ASSERT_EQ(r.kind, kind) << static_cast<int>(kind);
      if (kind == ReplayKind::Ticks) {
        EXPECT_EQ(r.as<ReplayKind::Ticks>(), 1000u);
      }
      if (kind == ReplayKind::Event) {
        EXPECT_EQ(r.as<ReplayKind::Event>().key, 27);
      }
      if (kind == ReplayKind::Keyboard) {
        EXPECT_EQ(r.as<ReplayKind::Keyboard>()[37], 0x80);
      }
      if (kind == ReplayKind::TextExtent) {
        EXPECT_EQ(r.as<ReplayKind::TextExtent>()[0], width);
      }
      if (kind == ReplayKind::Frame) {
        EXPECT_EQ(r.as<ReplayKind::Frame>().digest, 0xABCu);
      }
    }
    EXPECT_TRUE(reader.ended());
    recording.input().releaseDeviceLayer();
  }
}

}  // namespace
