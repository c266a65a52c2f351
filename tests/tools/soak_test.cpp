#include "tools/soak/soak.h"

#include <gtest/gtest.h>

namespace {

SoakOptions shortRun(uint64_t seed, double minutes) {
  SoakOptions options;
  options.seed = seed;
  options.minutes = minutes;
  options.memoryBaselineMinute = 1000;  // too short a run to measure growth
  options.dataDir = std::string(REEFMAW_SOURCE_DIR) + "/Data";
  return options;
}

// A short soak: random play through the screens passes its checks.
TEST(Soak, ShortRandomPlayPasses) {
  const SoakReport report = RunSoak(shortRun(7, 0.6));
  EXPECT_TRUE(report.passed()) << FormatSoakReport(shortRun(7, 0.6), report);
  EXPECT_EQ(report.frames, 2250);
  EXPECT_GT(report.gamesPlayed, 0);
}

// The same seed plays the same run.
TEST(Soak, ReplaysFromItsSeed) {
  const SoakReport first = RunSoak(shortRun(11, 0.2));
  const SoakReport again = RunSoak(shortRun(11, 0.2));
  EXPECT_EQ(again.frames, first.frames);
  EXPECT_EQ(again.frames, first.frames);
  EXPECT_EQ(again.gamesPlayed, first.gamesPlayed);
  EXPECT_EQ(again.recordsSaved, first.recordsSaved);
  EXPECT_EQ(again.peakSprites, first.peakSprites);
}

}  // namespace
