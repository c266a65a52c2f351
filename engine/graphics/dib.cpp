#include "engine/graphics/dib.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "engine/graphics/pixel_rows.h"

namespace {

constexpr uint16_t kBmpSignature = 19778;  // "BM"
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;

[[noreturn]] void invalidDIB() { throw EInvalidGraphic(SInvalidDIB); }

bool is16BitFormat(const TDIBPixelFormat& f) {
  return f == MakeDIBPixelFormat(5, 5, 5) || f == MakeDIBPixelFormat(5, 6, 5);
}

// The channel's bits widened to 8, its top bits at bit 7.
uint8_t channel8(uint32_t value, uint32_t mask, uint32_t shift, uint32_t count) {
  if (count == 0) return 0;
  uint32_t v = (value & mask) >> shift;
  return static_cast<uint8_t>(count >= 8 ? v >> (count - 8) : v << (8 - count));
}

}  // namespace

TDIBPixelFormat MakeDIBPixelFormat(uint32_t rBitCount, uint32_t gBitCount, uint32_t bBitCount) {
  TDIBPixelFormat f;
  f.RBitCount = rBitCount;
  f.GBitCount = gBitCount;
  f.BBitCount = bBitCount;
  f.BShift = 0;
  f.GShift = bBitCount;
  f.RShift = bBitCount + gBitCount;
  // Channels wider than a pixel's 32 bits together (masks of a damaged file) put a
  // channel past them: it has no bits in the pixel.
  auto mask = [](uint32_t count, uint32_t shift) {
    if (count >= 32) return 0xFFFFFFFFu;
    return shift >= 32 ? 0u : ((1u << count) - 1u) << shift;
  };
  f.RBitMask = mask(rBitCount, f.RShift);
  f.GBitMask = mask(gBitCount, f.GShift);
  f.BBitMask = mask(bBitCount, f.BShift);
  return f;
}

TDIBPixelFormat MakeDIBPixelFormatMask(uint32_t rBitMask, uint32_t gBitMask, uint32_t bBitMask) {
  return MakeDIBPixelFormat(static_cast<uint32_t>(std::popcount(rBitMask)),
                            static_cast<uint32_t>(std::popcount(gBitMask)),
                            static_cast<uint32_t>(std::popcount(bBitMask)));
}

TRGBQuads GreyColorTable() {
  TRGBQuads table;
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<uint8_t>(i);
    table[static_cast<size_t>(i)] = TRGBQuad{v, v, v, 0};
  }
  return table;
}

TDIB::TDIB() : image_(std::make_shared<TDIBSharedImage>()) {}

TDIBSharedImage& TDIB::mutableImage() {
  if (image_.use_count() > 1) image_ = std::make_shared<TDIBSharedImage>(*image_);
  return *image_;
}

void TDIB::SetColorTable(const TRGBQuads& table) {
  if (image_->ColorTable == table) return;
  mutableImage().ColorTable = table;
  paletteModified_ = true;
}

void TDIB::SetPixelFormat(const TDIBPixelFormat& format) {
  if (image_->PixelFormat == format) return;
  NewImage(Width(), Height(), BitCount(), format, ColorTable(), memoryImage_, false);
}

void TDIB::NewImage(int width, int height, int bitCount, const TDIBPixelFormat& format,
                    const TRGBQuads& colorTable, bool memoryImage, bool compressed) {
  switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
    case 32:
      if (format != MakeDIBPixelFormat(8, 8, 8)) {
        throw EInvalidGraphicOperation(SInvalidDIBPixelFormat);
      }
      break;
    case 16:
      if (!is16BitFormat(format)) throw EInvalidGraphicOperation(SInvalidDIBPixelFormat);
      break;
    default:
      throw EInvalidGraphicOperation(Format(SInvalidDIBBitCount, bitCount));
  }
  auto image = std::make_shared<TDIBSharedImage>();
  image->BitCount = bitCount;
  image->PixelFormat = format;
  image->ColorTable = colorTable;
  image->MemoryImage = memoryImage || compressed;
  if (width > 0 && height > 0) {
    const int64_t widthBytes = ((int64_t{bitCount} * width + 31) / 32) * 4;
    if (widthBytes * height > kMaxPictureBytes) {
      throw EOutOfResources(Format(SCannotMade, "DIB"));
    }
    image->Width = width;
    image->Height = height;
    image->WidthBytes = static_cast<int>(widthBytes);
    image->Compressed = compressed;
    if (compressed) {
      image->Compression = bitCount == 4 ? BI_RLE4 : BI_RLE8;
    } else {
      image->Compression = (bitCount == 16 || bitCount == 32) ? BI_BITFIELDS : BI_RGB;
      image->Pixels.assign(static_cast<size_t>(widthBytes * height), 0);
    }
  }
  image_ = std::move(image);
  paletteModified_ = true;
}

void TDIB::SetSize(int width, int height, int bitCount) {
  if (width == Width() && height == Height() && bitCount == BitCount()) return;
  TDIBPixelFormat format = PixelFormat();
  if (bitCount == 16) {
    if (!is16BitFormat(format)) format = MakeDIBPixelFormat(5, 6, 5);
  } else {
    format = MakeDIBPixelFormat(8, 8, 8);
  }
  NewImage(width, height, bitCount, format, ColorTable(), memoryImage_, false);
}

void TDIB::Decompress() {
  if (!image_->Compressed) return;
  TDIBSharedImage& image = mutableImage();
  if (image.Decoded.empty()) {
    image.Decoded.assign(static_cast<size_t>(Size()), 0);
    DecodeBmpRle(image.Pixels.data(), image.Pixels.size(), image.BitCount, image.Width,
                 image.Height, image.WidthBytes, image.Decoded.data());
  }
  image.Pixels = std::move(image.Decoded);
  image.Decoded.clear();
  image.Compressed = false;
  image.Compression = BI_RGB;
}

const uint8_t* TDIB::PBits() const {
  const TDIBSharedImage& image = *image_;
  if (!image.Compressed) return image.Pixels.empty() ? nullptr : image.Pixels.data();
  // Expanding compressed rows does not change a visible pixel, so copies sharing the
  // image may all use the expansion.
  if (image.Decoded.empty()) {
    image_->Decoded.assign(static_cast<size_t>(Size()), 0);
    DecodeBmpRle(image.Pixels.data(), image.Pixels.size(), image.BitCount, image.Width,
                 image.Height, image.WidthBytes, image_->Decoded.data());
  }
  return image.Decoded.data();
}

uint8_t* TDIB::PBits() {
  Decompress();
  TDIBSharedImage& image = mutableImage();
  return image.Pixels.empty() ? nullptr : image.Pixels.data();
}

const uint8_t* TDIB::ScanLine(int y) const {
  if (y < 0 || y >= Height()) return nullptr;
  return PBits() + static_cast<size_t>(Height() - 1 - y) * static_cast<size_t>(WidthBytes());
}

uint8_t* TDIB::ScanLine(int y) {
  if (y < 0 || y >= Height()) return nullptr;
  return PBits() + static_cast<size_t>(Height() - 1 - y) * static_cast<size_t>(WidthBytes());
}

uint32_t TDIB::Pixel(int x, int y) const {
  if (x < 0 || x >= Width() || y < 0 || y >= Height()) return 0;
  return RowPixel(ScanLine(y), x, BitCount());
}

void TDIB::SetPixel(int x, int y, uint32_t value) {
  if (x < 0 || x >= Width() || y < 0 || y >= Height()) return;
  SetRowPixel(ScanLine(y), x, BitCount(), value);
}

uint32_t TDIB::PixelRGB(int x, int y) const {
  if (x < 0 || x >= Width() || y < 0 || y >= Height()) return 0;
  const uint32_t v = Pixel(x, y);
  if (BitCount() <= 8) {
    const TRGBQuad& q = ColorTable()[v & 0xFF];
    return (uint32_t{q.rgbRed} << 16) | (uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
  }
  if (BitCount() == 16) {
    const TDIBPixelFormat& f = PixelFormat();
    return (uint32_t{channel8(v, f.RBitMask, f.RShift, f.RBitCount)} << 16) |
           (uint32_t{channel8(v, f.GBitMask, f.GShift, f.GBitCount)} << 8) |
           channel8(v, f.BBitMask, f.BShift, f.BBitCount);
  }
  return v & 0xFFFFFF;
}

void TDIB::ToRGB32(std::vector<uint32_t>& pixels) const {
  const int w = Width();
  const int h = Height();
  pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  if (w <= 0 || h <= 0) return;
  const int bitCount = BitCount();
  // Colours of the table (or of every 16-bit value) looked up once, not per pixel.
  std::vector<uint32_t> lookup;
  if (bitCount <= 8) {
    lookup.resize(256);
    for (size_t i = 0; i < 256; ++i) {
      const TRGBQuad& q = ColorTable()[i];
      lookup[i] = (uint32_t{q.rgbRed} << 16) | (uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
    }
  } else if (bitCount == 16) {
    const TDIBPixelFormat& f = PixelFormat();
    lookup.resize(65536);
    for (uint32_t v = 0; v < 65536; ++v) {
      lookup[v] = (uint32_t{channel8(v, f.RBitMask, f.RShift, f.RBitCount)} << 16) |
                  (uint32_t{channel8(v, f.GBitMask, f.GShift, f.GBitCount)} << 8) |
                  channel8(v, f.BBitMask, f.BShift, f.BBitCount);
    }
  }
  const uint8_t* bits = PBits();
  for (int y = 0; y < h; ++y) {
    uint32_t* out = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
    const uint8_t* row = bits + static_cast<size_t>(h - 1 - y) * static_cast<size_t>(WidthBytes());
    switch (bitCount) {
      case 1:
        for (int x = 0; x < w; ++x) out[x] = lookup[(row[x / 8] >> (7 - x % 8)) & 1u];
        break;
      case 4:
        for (int x = 0; x < w; ++x)
          out[x] = lookup[x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0Fu];
        break;
      case 8:
        for (int x = 0; x < w; ++x) out[x] = lookup[row[x]];
        break;
      case 16:
        for (int x = 0; x < w; ++x) out[x] = lookup[GetLE16(row + 2 * std::ptrdiff_t{x})];
        break;
      case 24:
        for (int x = 0; x < w; ++x)
          out[x] = row[3 * std::ptrdiff_t{x}] | (row[3 * std::ptrdiff_t{x} + 1] << 8) |
                   (row[3 * std::ptrdiff_t{x} + 2] << 16);
        break;
      default:
        for (int x = 0; x < w; ++x) out[x] = GetLE32(row + 4 * std::ptrdiff_t{x}) & 0xFFFFFF;
        break;
    }
  }
}

std::vector<TPaletteEntry> TDIB::Palette() const {
  std::vector<TPaletteEntry> palette;
  if (BitCount() == 0 || BitCount() > 8) return palette;
  const int count = 1 << BitCount();
  for (int i = 0; i < count; ++i) {
    const TRGBQuad& q = ColorTable()[static_cast<size_t>(i)];
    palette.push_back(TPaletteEntry{q.rgbRed, q.rgbGreen, q.rgbBlue});
  }
  return palette;
}

void TDIB::Assign(const TGraphic* graphic) {
  if (graphic == nullptr) {
    image_ = std::make_shared<TDIBSharedImage>();
    paletteModified_ = true;
    return;
  }
  if (const auto* dib = dynamic_cast<const TDIB*>(graphic)) {
    Assign(*dib);
    return;
  }
  std::vector<uint32_t> rgb;
  graphic->ToRGB32(rgb);
  TDIB copy;
  copy.SetSize(graphic->Width(), graphic->Height(), 24);
  for (int y = 0; y < copy.Height(); ++y) {
    uint8_t* row = copy.ScanLine(y);
    const uint32_t* in = rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(copy.Width());
    for (std::ptrdiff_t x = 0; x < copy.Width(); ++x) {
      row[3 * x] = static_cast<uint8_t>(in[x]);
      row[3 * x + 1] = static_cast<uint8_t>(in[x] >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(in[x] >> 16);
    }
  }
  *this = copy;
}

int TDIB::HeaderAndTableSize() const {
  int size = static_cast<int>(kInfoHeaderSize);
  if (BitCount() == 16 || BitCount() == 32) size += 12;
  if (BitCount() > 0 && BitCount() <= 8) size += 4 << BitCount();
  return size;
}

// Reading.

void TDIB::LoadFromStream(TStream& stream) {
  uint8_t header[kFileHeaderSize];
  const int64_t n = stream.Read(header, sizeof header);
  if (n == 0) return;
  if (n < static_cast<int64_t>(sizeof header) || GetLE16(header) != kBmpSignature) invalidDIB();
  ReadBitmapData(stream);
}

void TDIB::ReadData(TStream& stream) {
  const int64_t start = stream.Position();
  uint8_t signature[2] = {0, 0};
  const int64_t n = stream.Read(signature, sizeof signature);
  stream.SetPosition(start);
  if (n == 2 && GetLE16(signature) == kBmpSignature) {
    LoadFromStream(stream);
  } else {
    ReadBitmapData(stream);
  }
}

void TDIB::ReadBitmapData(TStream& stream) {
  uint8_t sizeBytes[4];
  const int64_t n = stream.Read(sizeBytes, sizeof sizeBytes);
  if (n == 0) {
    // No data at all is the empty bitmap, not an error.
    image_ = std::make_shared<TDIBSharedImage>();
    paletteModified_ = true;
    return;
  }
  if (n < 4) invalidDIB();
  readHeaderAndPixels(stream, GetLE32(sizeBytes));
}

void TDIB::readHeaderAndPixels(TStream& stream, uint32_t headerSize) {
  int64_t width = 0;
  int64_t height = 0;
  int bitCount = 0;
  uint32_t compression = BI_RGB;
  uint32_t sizeImage = 0;
  uint32_t colorsUsed = 0;
  int entrySize = 4;
  if (headerSize == kCoreHeaderSize) {
    uint8_t h[8];
    stream.ReadBuffer(h, sizeof h);
    width = GetLE16(h);
    height = GetLE16(h + 2);
    bitCount = GetLE16(h + 6);
    entrySize = 3;
  } else if (headerSize == kInfoHeaderSize) {
    uint8_t h[36];
    stream.ReadBuffer(h, sizeof h);
    width = static_cast<int32_t>(GetLE32(h));
    height = static_cast<int32_t>(GetLE32(h + 4));
    bitCount = GetLE16(h + 10);
    compression = GetLE32(h + 12);
    sizeImage = GetLE32(h + 16);
    colorsUsed = GetLE32(h + 28);
  } else {
    invalidDIB();
  }
  if (compression > BI_BITFIELDS) invalidDIB();
  const bool compressed = compression == BI_RLE8 || compression == BI_RLE4;
  // Run-length data exists only bottom-up, 8 bits for RLE8 and 4 for RLE4.
  if (compressed && (height < 0 || bitCount != (compression == BI_RLE8 ? 8 : 4))) invalidDIB();
  if (width < 0) invalidDIB();

  TDIBPixelFormat format = MakeDIBPixelFormat(8, 8, 8);
  if (compression == BI_BITFIELDS) {
    uint8_t m[12];
    stream.ReadBuffer(m, sizeof m);
    const uint32_t r = GetLE32(m), g = GetLE32(m + 4), b = GetLE32(m + 8);
    format = MakeDIBPixelFormatMask(r, g, b);
    // Masks in another arrangement would come out in wrong colours: refuse them.
    if (format.RBitMask != r || format.GBitMask != g || format.BBitMask != b) {
      throw EInvalidGraphicOperation(SInvalidDIBPixelFormat);
    }
  } else if (bitCount == 16) {
    format = MakeDIBPixelFormat(5, 5, 5);
  }

  uint32_t colorCount = colorsUsed;
  if (colorCount == 0 && bitCount <= 8 && bitCount >= 0) colorCount = 1u << std::min(bitCount, 8);
  colorCount = std::min<uint32_t>(colorCount, 256);
  TRGBQuads table{};
  if (colorCount > 0) {
    std::vector<uint8_t> entries(static_cast<size_t>(colorCount) * static_cast<size_t>(entrySize));
    stream.ReadBuffer(entries.data(), static_cast<int64_t>(entries.size()));
    for (uint32_t i = 0; i < colorCount; ++i) {
      const uint8_t* e = entries.data() + static_cast<size_t>(i) * static_cast<size_t>(entrySize);
      table[i] = TRGBQuad{e[0], e[1], e[2], 0};
    }
  }

  const int64_t rows = height < 0 ? -height : height;
  if (width > 0x7FFFFFFF || rows > 0x7FFFFFFF) invalidDIB();
  TDIB fresh;
  fresh.memoryImage_ = memoryImage_;
  fresh.NewImage(static_cast<int>(width), static_cast<int>(rows), bitCount, format, table,
                 memoryImage_, compressed);
  TDIBSharedImage& image = *fresh.image_;
  if (image.Width > 0) {
    const int64_t left = stream.Size() - stream.Position();
    if (compressed) {
      if (sizeImage > left) throw EReadError(SReadError);
      image.Pixels.resize(sizeImage);
      stream.ReadBuffer(image.Pixels.data(), sizeImage);
    } else {
      const int64_t size = fresh.Size();
      if (size > left) throw EReadError(SReadError);
      if (height > 0) {
        stream.ReadBuffer(image.Pixels.data(), size);
      } else {
        // Top-down rows go to their mirrored places so that memory is bottom-up.
        for (int64_t y = 0; y < rows; ++y) {
          stream.ReadBuffer(image.Pixels.data() + (rows - 1 - y) * image.WidthBytes,
                            image.WidthBytes);
        }
      }
    }
  }
  image_ = fresh.image_;
  paletteModified_ = true;
}

// Writing.

void TDIB::WriteBitmapData(TStream& stream) const {
  if (Width() <= 0 || Height() <= 0) return;
  const TDIBSharedImage& image = *image_;
  std::vector<uint8_t> header;
  header.reserve(static_cast<size_t>(HeaderAndTableSize()));
  PutLE32(header, kInfoHeaderSize);
  PutLE32(header, static_cast<uint32_t>(image.Width));
  PutLE32(header, static_cast<uint32_t>(image.Height));
  PutLE16(header, 1);
  PutLE16(header, static_cast<uint32_t>(image.BitCount));
  PutLE32(header, image.Compression);
  PutLE32(header, static_cast<uint32_t>(image.Pixels.size()));
  for (int i = 0; i < 4; ++i) PutLE32(header, 0);
  if (image.BitCount == 16 || image.BitCount == 32) {
    PutLE32(header, image.PixelFormat.RBitMask);
    PutLE32(header, image.PixelFormat.GBitMask);
    PutLE32(header, image.PixelFormat.BBitMask);
  }
  if (image.BitCount <= 8) {
    for (int i = 0; i < (1 << image.BitCount); ++i) {
      const TRGBQuad& q = image.ColorTable[static_cast<size_t>(i)];
      header.insert(header.end(), {q.rgbBlue, q.rgbGreen, q.rgbRed, 0});
    }
  }
  stream.WriteBuffer(header.data(), static_cast<int64_t>(header.size()));
  stream.WriteBuffer(image.Pixels.data(), static_cast<int64_t>(image.Pixels.size()));
}

void TDIB::SaveToStream(TStream& stream) const {
  if (Width() <= 0 || Height() <= 0) return;
  const uint32_t offset = kFileHeaderSize + static_cast<uint32_t>(HeaderAndTableSize());
  std::vector<uint8_t> header;
  PutLE16(header, kBmpSignature);
  PutLE32(header, offset + static_cast<uint32_t>(image_->Pixels.size()));
  PutLE16(header, 0);
  PutLE16(header, 0);
  PutLE32(header, offset);
  stream.WriteBuffer(header.data(), static_cast<int64_t>(header.size()));
  WriteBitmapData(stream);
}

TGraphicFormat DIBGraphicFormat() {
  return TGraphicFormat{"dib", "Device Independent Bitmap", "TDIB",
                        [] { return std::make_unique<TDIB>(); }};
}
