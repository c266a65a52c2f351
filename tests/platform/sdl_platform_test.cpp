#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/platform.h"

namespace platform {
namespace {

// Sets environment variables for one test and puts the old values back afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::map<std::string, std::optional<std::string>> values) {
    for (const auto& [name, value] : values) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
      apply(name, value);
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) apply(name, value);
  }

 private:
  static void apply(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

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
  ScopedEnvironment env(
      {{"SDL_VIDEODRIVER", std::nullopt}, {"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", ""}});
  const auto start = std::chrono::steady_clock::now();
  const std::string message = refusal();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_NE(message.find("DISPLAY"), std::string::npos) << message;
  EXPECT_EQ(message.find('\n'), std::string::npos);
}

TEST(SdlPlatform, AnUnreachableDisplayIsNotReplacedByAnInvisibleDriver) {
  ScopedEnvironment env(
      {{"SDL_VIDEODRIVER", std::nullopt}, {"DISPLAY", ":4711"}, {"WAYLAND_DISPLAY", std::nullopt}});
  const std::string message = refusal();
  EXPECT_FALSE(message.empty());
  EXPECT_EQ(message.find('\n'), std::string::npos);
}

TEST(SdlPlatform, InvisibleDriversServeWhenAskedFor) {
  ScopedEnvironment env({{"SDL_VIDEODRIVER", "offscreen"}, {"DISPLAY", std::nullopt}});
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
