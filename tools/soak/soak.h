#pragma once
// The soak: the whole game on the fake platform with a fast clock, played by a seeded
// random stream of everything a player can do, checked for unexpected errors, damaged
// records files and growth.

#include <cstdint>
#include <string>
#include <vector>

struct SoakOptions {
  uint64_t seed = 1;
  double minutes = 60;  // simulated play
  int frameMs = 16;     // simulated time between frames
  std::string dataDir;  // the game's Data folder to play with (read only)
  // Private memory may grow by this much an hour, judged from its trend over the second
  // half of the run (see MemoryGrowthPerHour).
  double allowedGrowthMbPerHour = 0.5;
  int maxSprites = 3000;
  bool progress = false;  // a line a simulated minute on the standard error
};

struct SoakReport {
  int64_t frames = 0;
  int sessions = 0;     // program runs: quitting starts the game again
  int gamesPlayed = 0;  // new games started from the menu
  int highestLevel = 0;
  int levelsReached = 0;  // level intros shown
  int gamesOver = 0;
  int recordsSaved = 0;
  int cheats = 0;
  int fullScreenSwitches = 0;
  int peakSprites = 0;
  // Private resident memory: the lowest reading of each simulated minute (read every
  // simulated second), the growth judged from them, and the last reading.
  std::vector<double> memoryByMinuteMb;
  double memoryGrowthMbPerHour = 0;
  double memoryEndMb = -1;
  double peakMemoryMb = -1;  // peak resident memory of the process
  std::vector<std::string> failures;
  bool passed() const { return failures.empty(); }
};

// How fast memory grows, in MB an hour, from its figures of one simulated minute each:
// the slope of the second half of the run, the median of the slopes between every two of
// its figures. The first half is left out, as caches fill to their bounds there; the
// median passes over a swing of the allocator or of what the game holds at a moment, which
// a steady leak does not. Zero for runs of fewer than ten minutes.
double MemoryGrowthPerHour(const std::vector<double>& byMinuteMb);

SoakReport RunSoak(const SoakOptions& options);
std::string FormatSoakReport(const SoakOptions& options, const SoakReport& report);
