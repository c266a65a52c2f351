#include "game/picture_failures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The message lists twelve failures at most, and counts the rest in one line.
TEST(PictureFailures, TheMessageListsTwelveAndCountsTheRest) {
  const struct {
    size_t failures;
    size_t lines;  // after the heading
    const char* last;
  } cases[] = {{1, 1, "picture 1"}, {12, 12, "picture 12"}, {13, 13, "... and 1 more"}};
  for (const auto& c : cases) {
    std::vector<std::string> failures;
    for (size_t i = 1; i <= c.failures; ++i) failures.push_back("picture " + std::to_string(i));
    const std::string message = PictureFailuresMessage(failures);
    EXPECT_EQ(static_cast<size_t>(std::count(message.begin(), message.end(), '\n')), c.lines)
        << message;
    EXPECT_EQ(message.substr(message.rfind('\n') + 1), c.last) << message;
    EXPECT_EQ(message.rfind(c.failures == 1 ? "A picture" : "Some pictures", 0), 0u) << message;
  }
}

}  // namespace
