#include "tools/soak/soak.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

SoakOptions shortRun(uint64_t seed, double minutes) {
  SoakOptions options;
  options.seed = seed;
  options.minutes = minutes;
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

// Memory judged by its trend: a long run's figures that swing with the allocator and with
// what the game holds, and climb while caches fill in the first half, pass; the same with
// a steady leak of 1 MB an hour fail.
TEST(Soak, MemoryIsJudgedByItsTrendNotBySwings) {
  std::vector<double> swinging;
  uint32_t noise = 20261209;
  for (int minute = 1; minute <= 60; ++minute) {
    noise = noise * 1664525u + 1013904223u;
    const double warmUp = 0.7 * std::min(minute, 40) / 40;  // a cache filling to its bound
    const double swing = (noise >> 8) % 3 == 0 ? 0.8 : (noise >> 12) % 100 / 400.0;
    swinging.push_back(19.2 + warmUp + swing);
  }
  std::vector<double> leaking = swinging;
  for (size_t i = 0; i < leaking.size(); ++i) leaking[i] += static_cast<double>(i + 1) / 60;
  SoakOptions options;
  EXPECT_LE(MemoryGrowthPerHour(swinging), options.allowedGrowthMbPerHour);
  EXPECT_GT(MemoryGrowthPerHour(leaking), options.allowedGrowthMbPerHour);
  EXPECT_NEAR(MemoryGrowthPerHour(leaking) - MemoryGrowthPerHour(swinging), 1.0, 0.3);
  EXPECT_EQ(MemoryGrowthPerHour({20, 30, 40}), 0) << "too short a run to judge";
}

}  // namespace
