#include "game/records.h"

std::array<std::string, kRecordCount> RecordNames;
std::array<int32_t, kRecordCount> RecordScores{};
