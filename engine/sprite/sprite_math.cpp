#include "engine/sprite/sprite_math.h"

#include <cmath>
#include <limits>

int32_t TruncToInt32(double x) {
  if (std::isnan(x)) return 0;
  const double cut = std::trunc(x);
  if (cut <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
    return std::numeric_limits<int32_t>::min();
  }
  if (cut >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(cut);
}

int32_t AddClamped(int32_t a, int32_t b) {
  const int64_t sum = static_cast<int64_t>(a) + b;
  if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(sum);
}

int32_t IntMod(int32_t a, int32_t b) {
  if (b <= 0) return a;
  const int32_t r = a % b;
  return r < 0 ? r + b : r;
}

double FloatMod(int32_t a, double x) {
  if (a == 0) return x;
  // The whole turns are counted as a 64-bit integer; beyond that range (or for NaN) they
  // cannot be, and the position restarts at 0.
  constexpr double kInt64Limit = 9.0e18;
  if (!(std::fabs(x) < kInt64Limit)) return 0;
  const int64_t q = static_cast<int64_t>(std::trunc(x / a));
  const double r = x - static_cast<double>(q * a);
  return r < 0 ? r + a : r;
}
