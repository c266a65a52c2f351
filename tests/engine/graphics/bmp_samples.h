#pragma once
// Hand-built BMP files and DIB data for the picture readers' tests, with run-length
// encoders that produce the coding's runs, literal groups and row ends.

#include <cstdint>
#include <random>
#include <vector>

namespace bmp_samples {

inline void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

struct BmpLayout {
  int32_t width = 0;
  int32_t height = 0;  // negative: rows top-down
  int bitCount = 24;
  uint32_t compression = 0;
  uint32_t headerSize = 40;
  std::vector<uint32_t> masks;   // written after a 40-byte header, or inside a longer one
  std::vector<uint8_t> palette;  // entries as stored (4 or 3 bytes each)
  uint32_t colorsUsed = 0;
  std::vector<uint8_t> pixels;   // exactly as stored
  int32_t sizeImage = -1;        // -1: the pixel bytes' count
  uint32_t gapBeforePixels = 0;  // bytes between table and pixels (file offset says so)
};

inline std::vector<uint8_t> dibData(const BmpLayout& s) {
  std::vector<uint8_t> out;
  put32(out, s.headerSize);
  if (s.headerSize == 12) {
    put16(out, static_cast<uint32_t>(s.width));
    put16(out, static_cast<uint32_t>(s.height));
    put16(out, 1);
    put16(out, static_cast<uint32_t>(s.bitCount));
  } else {
    put32(out, static_cast<uint32_t>(s.width));
    put32(out, static_cast<uint32_t>(s.height));
    put16(out, 1);
    put16(out, static_cast<uint32_t>(s.bitCount));
    put32(out, s.compression);
    put32(out, s.sizeImage >= 0 ? static_cast<uint32_t>(s.sizeImage)
                                : static_cast<uint32_t>(s.pixels.size()));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, s.colorsUsed);
    put32(out, 0);
    size_t extra = s.headerSize > 40 ? s.headerSize - 40 : 0;
    if (extra > 0) {
      // The masks (and an alpha mask) sit inside the longer headers; the rest is zero.
      for (size_t i = 0; i < 4 && extra >= 4; ++i, extra -= 4) {
        put32(out, i < s.masks.size() ? s.masks[i] : 0);
      }
      out.resize(out.size() + extra, 0);
    } else {
      for (uint32_t m : s.masks) put32(out, m);
    }
  }
  out.insert(out.end(), s.palette.begin(), s.palette.end());
  out.resize(out.size() + s.gapBeforePixels, 0xEE);
  out.insert(out.end(), s.pixels.begin(), s.pixels.end());
  return out;
}

inline std::vector<uint8_t> bmpFile(const BmpLayout& s) {
  const std::vector<uint8_t> data = dibData(s);
  const uint32_t pixelOffset = 14 + static_cast<uint32_t>(data.size() - s.pixels.size());
  std::vector<uint8_t> out;
  put16(out, 0x4D42);
  put32(out, 14 + static_cast<uint32_t>(data.size()));
  put32(out, 0);
  put32(out, pixelOffset);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

inline int rowBytes(int width, int bitCount) { return ((bitCount * width + 31) / 32) * 4; }

// A palette of n entries (blue, green, red, 0) that are all different.
inline std::vector<uint8_t> palette(int n, int entrySize = 4) {
  std::vector<uint8_t> out;
  for (int i = 0; i < n; ++i) {
    out.push_back(static_cast<uint8_t>(i * 7));
    out.push_back(static_cast<uint8_t>(255 - i));
    out.push_back(static_cast<uint8_t>(i * 3 + 1));
    if (entrySize == 4) out.push_back(0);
  }
  return out;
}

// Indices of a width x height picture with runs and noise, row 0 the bottom row.
inline std::vector<std::vector<uint8_t>> indexRows(int width, int height, int colours,
                                                   uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(height));
  for (auto& row : rows) {
    int x = 0;
    while (x < width) {
      const int run = 1 + static_cast<int>(rng() % 9);
      const bool noisy = rng() % 2 == 0;
      const auto v = static_cast<uint8_t>(rng() % static_cast<uint32_t>(colours));
      for (int k = 0; k < run && x < width; ++k, ++x) {
        row.push_back(noisy ? static_cast<uint8_t>(rng() % static_cast<uint32_t>(colours)) : v);
      }
    }
  }
  return rows;
}

// Plain stored rows (bottom-up) of the indices at 1, 4 or 8 bits.
inline std::vector<uint8_t> packRows(const std::vector<std::vector<uint8_t>>& rows, int width,
                                     int bitCount) {
  const int stride = rowBytes(width, bitCount);
  std::vector<uint8_t> out(static_cast<size_t>(stride) * rows.size(), 0);
  for (size_t y = 0; y < rows.size(); ++y) {
    uint8_t* row = out.data() + y * static_cast<size_t>(stride);
    for (int x = 0; x < width; ++x) {
      const uint8_t v = rows[y][static_cast<size_t>(x)];
      if (bitCount == 8) {
        row[x] = v;
      } else if (bitCount == 4) {
        row[x / 2] |= static_cast<uint8_t>(x % 2 == 0 ? v << 4 : v);
      } else {
        row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8));
      }
    }
  }
  return out;
}

// Run-length coding of the rows (8 or 4 bits): repeated values as runs, the rest as
// literal groups of at least three pixels, a row end after each row, the end mark last.
inline std::vector<uint8_t> encodeRle(const std::vector<std::vector<uint8_t>>& rows, int bitCount) {
  std::vector<uint8_t> out;
  for (const auto& row : rows) {
    size_t x = 0;
    const size_t n = row.size();
    while (x < n) {
      size_t run = 1;
      while (x + run < n && run < 255 && row[x + run] == row[x]) ++run;
      if (run >= 3 || n - x < 3) {
        const size_t count = std::min(run, n - x);
        out.push_back(static_cast<uint8_t>(count));
        out.push_back(bitCount == 8 ? row[x] : static_cast<uint8_t>((row[x] << 4) | row[x]));
        x += count;
        continue;
      }
      size_t lit = 3;
      while (x + lit < n && lit < 255 &&
             !(x + lit + 2 < n && row[x + lit] == row[x + lit + 1] &&
               row[x + lit] == row[x + lit + 2])) {
        ++lit;
      }
      out.push_back(0);
      out.push_back(static_cast<uint8_t>(lit));
      size_t bytes = 0;
      if (bitCount == 8) {
        for (size_t k = 0; k < lit; ++k) out.push_back(row[x + k]);
        bytes = lit;
      } else {
        for (size_t k = 0; k < lit; k += 2) {
          const uint8_t hi = row[x + k];
          const uint8_t lo = k + 1 < lit ? row[x + k + 1] : 0;
          out.push_back(static_cast<uint8_t>((hi << 4) | lo));
        }
        bytes = (lit + 1) / 2;
      }
      if (bytes % 2 == 1) out.push_back(0);
      x += lit;
    }
    out.push_back(0);
    out.push_back(0);
  }
  out.push_back(0);
  out.push_back(1);
  return out;
}

}  // namespace bmp_samples
