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
  // Memory growth is measured from this simulated minute to the end (when the run is
  // long enough to reach it).
  double memoryBaselineMinute = 5;
  double allowedGrowthMb = 1;
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
  double memoryBaselineMb = -1;  // private resident memory at the baseline minute
  double memoryEndMb = -1;
  double peakMemoryMb = -1;  // peak resident memory of the process
  std::vector<std::string> failures;
  bool passed() const { return failures.empty(); }
};

SoakReport RunSoak(const SoakOptions& options);
std::string FormatSoakReport(const SoakOptions& options, const SoakReport& report);
