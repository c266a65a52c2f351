#pragma once
// The records file shipped with the game: ten names and scores, best first, in the
// Windows-1251 code page with CR LF after every line.

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// UTF-8 text in Windows-1251; raises std::invalid_argument for a character it lacks.
std::string toCp1251(const std::string& utf8);

std::vector<uint8_t> shippedRecordsFile();

}  // namespace art
