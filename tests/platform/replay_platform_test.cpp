#include "platform/replay_platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/audio_system.h"
#include "platform/fake_input.h"
#include "platform/fake_platform.h"
#include "platform/recording_platform.h"

namespace {

namespace fs = std::filesystem;
using platform::EventKind;

// What a short session asks of a platform, and what it was told: the same calls serve to
// record on the fake platform and to replay.
struct Session {
  uint32_t ticks = 0;
  uint64_t counter = 0;
  uint64_t frequency = 0;
  bool polled = false;
  uint16_t key = 0;
  bool polledAgain = true;
  uint8_t leftKey = 0;
  uint32_t windowId = 0;
  platform::Placement placement;
  bool presented = false;
  int textWidth = 0;
  bool sound = false;
  int stickAxes = 0;
  int32_t stickX = 0;

  void run(platform::Platform& p) {
    ticks = p.clock().ticks();
    counter = p.clock().highResCounter();
    frequency = p.clock().highResFrequency();
    platform::Event event;
    polled = p.events().poll(event);
    key = event.key;
    polledAgain = p.events().poll(event);
    std::array<uint8_t, 256> keys{};
    p.input().keyboardState(keys);
    leftKey = keys[37];
    std::unique_ptr<platform::Window> window = p.createWindow({});
    windowId = window->id();
    placement = window->placement();
    const uint16_t pixel = 0;
    presented = window->present(&pixel, 1, 1, 2, platform::PixelFormat::RGB565,
                                platform::PresentMode::Center, true);
    int height = 0;
    p.text().textExtent("Cheater!", {}, textWidth, height);
    sound = p.audio().openDevice() != nullptr;
    if (p.input().joystickCount() > 0) {
      std::unique_ptr<platform::Joystick> stick = p.input().openJoystick(0, false);
      stickAxes = stick->axisCount();
      platform::JoystickReading reading;
      if (stick->read(reading)) stickX = reading.axes[0];
    }
  }
  bool operator==(const Session& o) const {
    return ticks == o.ticks && counter == o.counter && frequency == o.frequency &&
           polled == o.polled && key == o.key && polledAgain == o.polledAgain &&
           leftKey == o.leftKey && windowId == o.windowId && placement.x == o.placement.x &&
           placement.width == o.placement.width && presented == o.presented &&
           textWidth == o.textWidth && sound == o.sound && stickAxes == o.stickAxes &&
           stickX == o.stickX;
  }
};

// A recording's file played back headless.
struct Replaying {
  explicit Replaying(const std::string& file)
      : reader(platform::readReplayFile(file)), platform(reader, nullptr) {}
  platform::ReplayReader reader;
  platform::ReplayPlatform platform;
};

struct ReplayTest : ::testing::Test {
  std::string file = (fs::temp_directory_path() /
                      ("reefmaw_replay_platform_" + std::to_string(getpid()) + ".replay"))
                         .string();
  void TearDown() override { fs::remove(file); }

  // Plays the session on a fake platform set up with odd answers, and records it, with a
  // frame check after it.
  Session record() {
    platform::FakePlatform fake;
    fake.clock().setTicks(123456);
    fake.clock().setHighResCounter(987654321);
    fake.clock().setHighResFrequency(1000000000);
    fake.events().pushKeyDown(3, 38);
    auto& input = static_cast<platform::FakeInputSystem&>(fake.input());
    input.setKey(37, true);
    auto stick = input.plugJoystick(3, 6);
    stick->state.axes[0] = -1234;
    platform::ReplayHeader header;
    header.counterFrequency = fake.clock().highResFrequency();
    platform::ReplayWriter writer(file, header);
    platform::RecordingPlatform recording(fake, writer);
    Session session;
    session.run(recording);
    recording.frame(1, 0x1234);
    writer.finish("end", 7);
    return session;
  }
};

TEST_F(ReplayTest, ASessionReplayedGetsTheAnswersItWasRecordedWith) {
  const Session recorded = record();
  platform::ReplayReader::check(platform::readReplayFile(file));
  Replaying replaying(file);
  platform::ReplayPlatform& replay = replaying.platform;
  Session replayed;
  replayed.run(replay);
  EXPECT_TRUE(replayed == recorded);
  EXPECT_EQ(replayed.stickX, -1234);
  replay.frame(1, 0x1234);
  replay.finish("end", 7);
  EXPECT_EQ(replay.failure(), "");
  EXPECT_EQ(replay.lastFrame(), 1u);
  // Once ended, the program is asked to close and nothing more is read.
  platform::Event event;
  ASSERT_TRUE(replay.events().poll(event));
  EXPECT_EQ(event.kind, EventKind::Close);
  EXPECT_EQ(event.window, 0u);
  EXPECT_EQ(replay.failure(), "");
}

TEST_F(ReplayTest, AQuestionTheRecordingDoesNotHoldNextStopsTheReplayWithTheFrame) {
  record();
  Replaying replaying(file);
  platform::ReplayPlatform& replay = replaying.platform;
  EXPECT_EQ(replay.clock().ticks(), 123456u);
  platform::Event event;
  EXPECT_FALSE(replay.input().joystickCount() > 0);  // the recording holds the counter
  EXPECT_EQ(replay.failure(),
            "the game leaves the recording at start-up: it asks for the joysticks where the "
            "recording holds the high-resolution counter");
  // From here on: harmless answers, nothing read, and a request to close.
  EXPECT_EQ(replay.clock().ticks(), 123456u);
  std::array<uint8_t, 256> keys{};
  keys.fill(1);
  replay.input().keyboardState(keys);
  EXPECT_EQ(keys[37], 0);
  ASSERT_TRUE(replay.events().poll(event));
  EXPECT_EQ(event.kind, EventKind::Close);
  replay.frame(1, 0x1234);
  replay.finish("end", 7);
  EXPECT_NE(replay.failure().find("at start-up"), std::string::npos);
}

TEST_F(ReplayTest, AFrameWhoseStateDiffersIsNamed) {
  record();
  Replaying replaying(file);
  Session().run(replaying.platform);
  replaying.platform.frame(1, 0x9999);
  EXPECT_EQ(replaying.platform.failure(), "the game's state differs from the recording at frame 1");
}

TEST_F(ReplayTest, AGameThatGoesOnOrEndsOtherwiseFails) {
  record();
  {
    Replaying replaying(file);
    Session().run(replaying.platform);
    replaying.platform.frame(1, 0x1234);
    replaying.platform.clock().ticks();
    EXPECT_EQ(replaying.platform.failure(),
              "the game goes on past the end of the recording, at frame 2 (it asks for the "
              "clock)");
  }
  {
    Replaying replaying(file);
    Session().run(replaying.platform);
    replaying.platform.frame(1, 0x1234);
    replaying.platform.finish("other end", 7);
    EXPECT_EQ(replaying.platform.failure(),
              "the end state differs from the recording (recorded: end)");
  }
  // The same printed line over another hidden state is no match either.
  for (const uint64_t digest : {uint64_t{7}, uint64_t{8}}) {
    Replaying replaying(file);
    Session().run(replaying.platform);
    replaying.platform.frame(1, 0x1234);
    replaying.platform.finish("end", digest);
    EXPECT_EQ(replaying.platform.failure(),
              digest == 7 ? "" : "the end state differs from the recording (recorded: end)");
  }
}

}  // namespace
