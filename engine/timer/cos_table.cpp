#include "engine/timer/cos_table.h"

#include <array>
#include <cmath>

namespace {

// Computed once in extended precision and kept as doubles.
const std::array<double, 256> kCosTable = [] {
  std::array<double, 256> table{};
  const long double pi = 3.141592653589793238462643383279502884L;
  for (int i = 0; i < 256; ++i)
    table[static_cast<size_t>(i)] = static_cast<double>(std::cos(2.0L * pi * i / 256.0L));
  return table;
}();

}  // namespace

double Cos256(int64_t i) { return kCosTable[static_cast<size_t>(static_cast<uint64_t>(i) & 0xFF)]; }
