#pragma once
// The table of the ten best totals with their holders' names, best first.

#include <array>
#include <cstdint>
#include <string>

inline constexpr int kRecordCount = 10;

extern std::array<std::string, kRecordCount> RecordNames;
extern std::array<int32_t, kRecordCount> RecordScores;
