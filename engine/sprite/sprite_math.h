#pragma once
// The number conversions of sprite positions and animation. Positions are Doubles that
// the game may drive anywhere; the integer rectangles made from them saturate instead of
// overflowing. Inline: every pass converts every sprite's position.

#include <cmath>
#include <cstdint>
#include <limits>

// x cut toward zero, limited to the 32-bit range (NaN gives 0).
inline int32_t TruncToInt32(double x) {
  if (x > -2147483649.0 && x < 2147483648.0) return static_cast<int32_t>(x);
  if (x > 0) return std::numeric_limits<int32_t>::max();
  if (x < 0) return std::numeric_limits<int32_t>::min();
  return 0;
}

// a + b, limited to the 32-bit range.
inline int32_t AddClamped(int32_t a, int32_t b) {
  const int64_t sum = static_cast<int64_t>(a) + b;
  if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(sum);
}

// The remainder of a divided by b with the sign of a, plus b when it is negative; a
// itself when b is not positive, since nothing can be wrapped around an empty range.
inline int32_t IntMod(int32_t a, int32_t b) {
  if (b <= 0) return a;
  const int32_t r = a % b;
  return r < 0 ? r + b : r;
}

// x reduced into [0, a) for positive a; x itself for a = 0.
inline double FloatMod(int32_t a, double x) {
  if (a == 0) return x;
  // The whole turns are counted as a 64-bit integer; beyond that range (or for NaN) they
  // cannot be, and the position restarts at 0.
  constexpr double kInt64Limit = 9.0e18;
  if (!(std::fabs(x) < kInt64Limit)) return 0;
  const int64_t q = static_cast<int64_t>(x / a);
  const double r = x - static_cast<double>(q * a);
  return r < 0 ? r + a : r;
}
