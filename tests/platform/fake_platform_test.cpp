#include "platform/fake_platform.h"

#include <gtest/gtest.h>

#include <vector>

namespace platform {
namespace {

TEST(FakeClock, SetAdvanceAndWrap) {
  FakeClock clock;
  clock.setTicks(4294967290u);
  EXPECT_EQ(clock.ticks(), 4294967290u);
  clock.advance(16);
  EXPECT_EQ(clock.ticks(), 10u);
  EXPECT_EQ(clock.highResCounter(), 16000u);  // 16 ms at the default 1 MHz
  EXPECT_EQ(clock.tickReads(), 2);
}

TEST(FakeClock, AutoAdvancePerRead) {
  FakeClock clock;
  clock.setAutoAdvance(5);
  EXPECT_EQ(clock.ticks(), 0u);
  EXPECT_EQ(clock.ticks(), 5u);
  EXPECT_EQ(clock.ticks(), 10u);
  clock.setHighResCounter(100);
  clock.setHighResAutoAdvance(7);
  clock.setHighResFrequency(3579545);
  EXPECT_EQ(clock.highResCounter(), 100u);
  EXPECT_EQ(clock.highResCounter(), 107u);
  EXPECT_EQ(clock.highResFrequency(), 3579545u);
}

TEST(FakeEventSource, QueueInOrderAndWaitHook) {
  FakeEventSource events;
  events.pushKeyDown(1, 13, ssAlt);
  events.pushChar(1, "Я");
  events.pushMouseDown(2, 600, 175, MouseButton::Right);
  EXPECT_EQ(events.pending(), 3u);
  Event e;
  ASSERT_TRUE(events.poll(e));
  EXPECT_EQ(e.kind, EventKind::KeyDown);
  EXPECT_EQ(e.key, 13);
  EXPECT_EQ(e.shift, ssAlt);
  ASSERT_TRUE(events.poll(e));
  EXPECT_EQ(e.kind, EventKind::Char);
  EXPECT_EQ(e.text, "Я");
  ASSERT_TRUE(events.poll(e));
  EXPECT_EQ(e.kind, EventKind::MouseDown);
  EXPECT_EQ(e.window, 2u);
  EXPECT_EQ(e.button, MouseButton::Right);
  EXPECT_EQ(e.x, 600);
  EXPECT_FALSE(events.poll(e));

  // wait() never blocks; the hook can feed the loop.
  events.onWait = [&events](int) { events.pushClose(0); };
  events.wait(-1);
  EXPECT_EQ(events.waitCount(), 1);
  EXPECT_EQ(events.lastWaitTimeout(), -1);
  ASSERT_TRUE(events.poll(e));
  EXPECT_EQ(e.kind, EventKind::Close);
  EXPECT_EQ(e.window, 0u);
}

TEST(FakeWindow, KeepsACopyOfTheLastPicture) {
  FakePlatform platform;
  auto window = platform.createWindow(WindowDesc{});
  FakeWindow* fake = platform.lastWindow();
  // Two rows of 3 pixels with 2 bytes of padding per row.
  std::vector<uint16_t> pixels = {1, 2, 3, 0xFFFF, 4, 5, 6, 0xFFFF};
  EXPECT_TRUE(
      fake->present(pixels.data(), 3, 2, 8, PixelFormat::RGB565, PresentMode::Stretch, true));
  pixels[0] = 99;  // the copy does not follow the caller's buffer
  const FakePicture& picture = fake->lastPicture();
  EXPECT_EQ(fake->presentCount(), 1);
  EXPECT_EQ(picture.width, 3);
  EXPECT_EQ(picture.pixels.size(), 12u);
  EXPECT_EQ(picture.pixel(0, 0), 1u);
  EXPECT_EQ(picture.pixel(2, 1), 6u);
  EXPECT_EQ(picture.pixel(3, 0), 0u);  // outside
  EXPECT_TRUE(picture.vsync);
  EXPECT_EQ(fake->logicalWidth(), 3);

  std::vector<uint32_t> argb = {0x00123456};
  fake->setPresentResult(false);
  EXPECT_FALSE(
      fake->present(argb.data(), 1, 1, 4, PixelFormat::ARGB8888, PresentMode::Center, false));
  EXPECT_EQ(fake->lastPicture().pixel(0, 0), 0x00123456u);
  // A pitch shorter than a row is refused before anything is read.
  EXPECT_FALSE(
      fake->present(argb.data(), 2, 1, 4, PixelFormat::ARGB8888, PresentMode::Center, false));
  EXPECT_EQ(fake->lastPicture().width, 1);
}

TEST(FakePlatform, WindowListFollowsCreationAndDestruction) {
  FakePlatform platform;
  EXPECT_EQ(platform.lastWindow(), nullptr);
  auto first = platform.createWindow(WindowDesc{});
  auto second = platform.createWindow(WindowDesc{});
  EXPECT_EQ(platform.windows().size(), 2u);
  EXPECT_EQ(platform.lastWindow(), second.get());
  EXPECT_EQ(platform.findWindow(first->id()), first.get());
  second.reset();
  EXPECT_EQ(platform.lastWindow(), first.get());
  EXPECT_EQ(platform.windowsCreated(), 2);
  EXPECT_NE(first->id(), 0u);  // 0 is the application
}

TEST(FakePlatform, WindowMayOutliveThePlatform) {
  std::unique_ptr<Window> window;
  {
    FakePlatform platform;
    window = platform.createWindow(WindowDesc{});
  }
  window.reset();  // must not touch the gone platform
}

TEST(FakePlatform, TestsReplaceServicesAndReachTheFakesThroughThePlatform) {
  FakePlatform platform;
  auto input = createFakeInputSystem();
  InputSystem* mine = input.get();
  platform.setInput(std::move(input));
  EXPECT_EQ(&platform.input(), mine);
  platform.clock().setTicks(42);
  EXPECT_EQ(static_cast<Platform&>(platform).clock().ticks(), 42u);
}

TEST(FakeLibraryLoader, TableOfLibrariesWithCounts) {
  FakeLibraryLoader loader;
  int marker = 0;
  loader.addLibrary("DInput.dll", {{"DirectInputCreateA", &marker}});
  EXPECT_EQ(loader.load("DSound.dll"), nullptr);
  void* handle = loader.load("DInput.dll");
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(loader.load("DInput.dll"), handle);  // the same library, opened twice
  EXPECT_EQ(loader.symbol(handle, "DirectInputCreateA"), &marker);
  EXPECT_EQ(loader.symbol(handle, "Missing"), nullptr);
  EXPECT_EQ(loader.symbol(&marker, "DirectInputCreateA"), nullptr);  // not a handle of ours
  EXPECT_EQ(loader.loadAttempts(), 3);
  EXPECT_EQ(loader.library("DInput.dll")->loads, 2);
  loader.unload(handle);
  loader.unload(handle);
  EXPECT_EQ(loader.library("DInput.dll")->openCount(), 0);
  EXPECT_EQ(loader.symbol(handle, "DirectInputCreateA"), nullptr);  // closed
  EXPECT_EQ(loader.totalUnloads(), 2);
  EXPECT_EQ(loader.library("dinput.dll"), nullptr);  // names compare exactly
}

}  // namespace
}  // namespace platform
