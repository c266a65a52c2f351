#pragma once
// The number conversions of sprite positions and animation. Positions are Doubles that
// the game may drive anywhere; the integer rectangles made from them saturate instead of
// overflowing.

#include <cstdint>

// x cut toward zero, limited to the 32-bit range (NaN gives 0).
int32_t TruncToInt32(double x);
// a + b, limited to the 32-bit range.
int32_t AddClamped(int32_t a, int32_t b);
// The remainder of a divided by b with the sign of a, plus b when it is negative; a
// itself when b is not positive, since nothing can be wrapped around an empty range.
int32_t IntMod(int32_t a, int32_t b);
// x reduced into [0, a) for positive a; x itself for a = 0.
double FloatMod(int32_t a, double x);
