#pragma once
// Raw pixel values in a row of pixels at any depth: 1 and 4 bits with the leftmost pixel
// in the high bits, 8 to 32 bits little-endian.

#include <cstdint>

#include "framework/byte_order.h"

inline uint32_t RowPixel(const uint8_t* row, int x, int bitCount) {
  switch (bitCount) {
    case 1:
      return (row[x / 8] >> (7 - x % 8)) & 1u;
    case 4:
      return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0Fu;
    case 8:
    case 16:
    case 24:
    case 32:
      return GetLE(row + std::ptrdiff_t{x} * (bitCount / 8), bitCount / 8);
    default:
      return 0;
  }
}

inline void SetRowPixel(uint8_t* row, int x, int bitCount, uint32_t value) {
  switch (bitCount) {
    case 1: {
      const auto bit = static_cast<uint8_t>(0x80u >> (x % 8));
      row[x / 8] = static_cast<uint8_t>((value & 1u) ? row[x / 8] | bit : row[x / 8] & ~bit);
      break;
    }
    case 4:
      if (x % 2 == 0) {
        row[x / 2] = static_cast<uint8_t>((row[x / 2] & 0x0F) | ((value & 0x0F) << 4));
      } else {
        row[x / 2] = static_cast<uint8_t>((row[x / 2] & 0xF0) | (value & 0x0F));
      }
      break;
    case 8:
    case 16:
    case 24:
    case 32:
      SetLE(row + std::ptrdiff_t{x} * (bitCount / 8), bitCount / 8, value);
      break;
    default:
      break;
  }
}
