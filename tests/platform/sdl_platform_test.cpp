#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace platform {
namespace {

TEST(SdlPlatform, StartsHeadlessAndStopsAgain) {
  for (int i = 0; i < 2; ++i) {
    auto platform = createSdlPlatform();
    auto window = platform->createWindow(WindowDesc{});
    EXPECT_NE(window->id(), 0u);
  }
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
