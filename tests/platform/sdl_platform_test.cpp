#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>

#include "platform/platform.h"
#include "support/scoped_environment.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace platform {
namespace {

// The one-line message a start without a usable display gives.
std::string refusal() {
  try {
    createSdlPlatform();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TEST(SdlPlatform, StartsHeadlessAndStopsAgain) {
  for (int i = 0; i < 2; ++i) {
    auto platform = createSdlPlatform();
    auto window = platform->createWindow(WindowDesc{});
    EXPECT_NE(window->id(), 0u);
  }
}

TEST(SdlPlatform, WithoutAGraphicalSessionItSaysSoAtOnce) {
  ScopedVariable driver("SDL_VIDEODRIVER", nullptr);
  ScopedVariable x11("DISPLAY", nullptr);
  ScopedVariable wayland("WAYLAND_DISPLAY", "");
  const auto start = std::chrono::steady_clock::now();
  const std::string message = refusal();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_NE(message.find("DISPLAY"), std::string::npos) << message;
  EXPECT_EQ(message.find('\n'), std::string::npos);
}

TEST(SdlPlatform, AnUnreachableDisplayIsNotReplacedByAnInvisibleDriver) {
  ScopedVariable driver("SDL_VIDEODRIVER", nullptr);
  ScopedVariable x11("DISPLAY", ":4711");
  ScopedVariable wayland("WAYLAND_DISPLAY", nullptr);
#if defined(__SANITIZE_ADDRESS__)
  // Trying X11, SDL starts D-Bus, which keeps its memory until the process ends.
  __lsan_disable();
#endif
  const std::string message = refusal();
#if defined(__SANITIZE_ADDRESS__)
  __lsan_enable();
#endif
  EXPECT_FALSE(message.empty());
  EXPECT_EQ(message.find('\n'), std::string::npos);
}

TEST(SdlPlatform, InvisibleDriversServeWhenAskedFor) {
  ScopedVariable driver("SDL_VIDEODRIVER", "dummy");
  ScopedVariable x11("DISPLAY", nullptr);
  ScopedVariable wayland("WAYLAND_DISPLAY", nullptr);
  auto platform = createSdlPlatform();
  EXPECT_NE(platform->createWindow(WindowDesc{})->id(), 0u);
}

TEST(SdlPlatform, Clocks) {
  auto platform = createSdlPlatform();
  Clock& clock = platform->clock();
  const uint32_t first = clock.ticks();
  const uint64_t counter = clock.highResCounter();
  EXPECT_GT(clock.highResFrequency(), 1000u);
  platform->events().wait(20);
  EXPECT_GE(static_cast<uint32_t>(clock.ticks() - first), 15u);
  EXPECT_GT(clock.highResCounter(), counter);
}

TEST(SdlPlatform, ExecutablePathNamesThisProgram) {
  auto platform = createSdlPlatform();
  const std::string path = platform->executablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_NE(path.find("platform_tests"), std::string::npos);
}

}  // namespace
}  // namespace platform
