#pragma once
// How many saves a crash test kills: REEFMAW_CRASH_ROUNDS when set (a campaign runs 1000
// or more), otherwise a number that keeps the suite short.

#include <algorithm>
#include <cstdlib>

inline int CrashRounds(int byDefault) {
  const char* value = std::getenv("REEFMAW_CRASH_ROUNDS");
  return value != nullptr ? std::max(1, std::atoi(value)) : byDefault;
}
