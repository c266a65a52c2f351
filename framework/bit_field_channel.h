#pragma once
// One colour channel of a bit-field pixel (16 or 32 bits with masks): where it sits,
// how wide it is, and its value widened to 8 bits.

#include <bit>
#include <cstdint>

struct BitFieldChannel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit BitFieldChannel(uint32_t m) : mask(m) {
    if (m != 0) {
      shift = std::countr_zero(m);
      bits = std::popcount(m);
    }
  }
  // The channel's value widened to 8 bits, its top bits at bit 7 and the low bits
  // repeating the high ones so that full intensity stays full (5 bits of 31 give 255).
  uint8_t expand(uint32_t pixel) const {
    if (bits == 0) return 0;
    uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
    uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
      out = (out << bits) | v;
      filled += bits;
    }
    return static_cast<uint8_t>(out >> (filled - 8));
  }
};
