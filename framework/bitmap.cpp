#include "framework/bitmap.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "framework/bit_field_channel.h"
#include "framework/byte_order.h"

namespace {

constexpr uint16_t kBmpSignature = 0x4D42;  // "BM"
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;
// How many bytes of rows a picture is read in at a time: small enough that the allocators
// keep such buffers for reuse instead of mapping fresh memory for each.
constexpr int64_t kReadChunkBytes = int64_t{64} * 1024;

[[noreturn]] void invalidBitmap() { throw EInvalidGraphic(SInvalidBitmap); }

// Reads exactly count bytes or reports the picture invalid.
void readExact(TStream& stream, void* buffer, int64_t count) {
  if (count > 0 && stream.Read(buffer, count) != count) invalidBitmap();
}

}  // namespace

void DecodeBmpRle(const uint8_t* data, size_t size, int bitCount, int width, int height, int stride,
                  uint8_t* dest) {
  int x = 0;
  int y = 0;
  auto put = [&](uint32_t value) {
    if (x < width && y < height) {
      uint8_t* row = dest + static_cast<size_t>(y) * static_cast<size_t>(stride);
      if (bitCount == 8) {
        row[x] = static_cast<uint8_t>(value);
      } else if (x % 2 == 0) {
        row[x / 2] = static_cast<uint8_t>((row[x / 2] & 0x0F) | (value << 4));
      } else {
        row[x / 2] = static_cast<uint8_t>((row[x / 2] & 0xF0) | (value & 0x0F));
      }
    }
    if (x < width) ++x;
  };
  size_t i = 0;
  while (i + 1 < size && y < height) {
    const uint8_t count = data[i];
    const uint8_t value = data[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) {
        put(bitCount == 8 ? value : ((k % 2 == 0) ? value >> 4 : value & 0x0F));
      }
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (i + 1 >= size) return;
      x = std::min(x + data[i], width);
      y += data[i + 1];
      i += 2;
    } else {
      const size_t bytes = bitCount == 8 ? value : (value + 1u) / 2u;
      for (int k = 0; k < value; ++k) {
        const size_t at = i + (bitCount == 8 ? static_cast<size_t>(k) : static_cast<size_t>(k / 2));
        if (at >= size) return;
        put(bitCount == 8 ? data[at] : ((k % 2 == 0) ? data[at] >> 4 : data[at] & 0x0F));
      }
      i += bytes + (bytes & 1u);
    }
  }
}

TDecodedBmp DecodeBmp(TStream& stream) {
  const int64_t start = stream.Position();
  const int64_t fileEnd = stream.Size();
  uint8_t fileHeader[kFileHeaderSize];
  readExact(stream, fileHeader, sizeof fileHeader);
  if (GetLE16(fileHeader) != kBmpSignature) invalidBitmap();
  const uint32_t pixelOffset = GetLE32(fileHeader + 10);

  uint8_t info[124] = {};
  readExact(stream, info, 4);
  const uint32_t headerSize = GetLE32(info);
  TDecodedBmp bmp;
  int64_t width = 0;
  int64_t height = 0;
  uint32_t colorsUsed = 0;
  uint32_t sizeImage = 0;
  int entrySize = 4;
  uint32_t masks[3] = {0, 0, 0};
  bool haveMasks = false;
  if (headerSize == 12) {
    readExact(stream, info + 4, 8);
    width = GetLE16(info + 4);
    height = GetLE16(info + 6);
    bmp.bitCount = GetLE16(info + 10);
    entrySize = 3;
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
             headerSize == 124) {
    readExact(stream, info + 4, headerSize - 4);
    width = static_cast<int32_t>(GetLE32(info + 4));
    height = static_cast<int32_t>(GetLE32(info + 8));
    bmp.bitCount = GetLE16(info + 14);
    bmp.compression = GetLE32(info + 16);
    sizeImage = GetLE32(info + 20);
    colorsUsed = GetLE32(info + 32);
    if (bmp.compression == BI_BITFIELDS || bmp.compression == BI_ALPHABITFIELDS) {
      if (headerSize == 40) {
        // The masks follow the short header; an alpha mask after them is not needed.
        readExact(stream, info + 40, bmp.compression == BI_ALPHABITFIELDS ? 16 : 12);
      }
      masks[0] = GetLE32(info + 40);
      masks[1] = GetLE32(info + 44);
      masks[2] = GetLE32(info + 48);
      haveMasks = true;
    }
  } else {
    invalidBitmap();
  }

  const int bc = bmp.bitCount;
  if (bc != 1 && bc != 4 && bc != 8 && bc != 16 && bc != 24 && bc != 32) invalidBitmap();
  const bool rle = bmp.compression == BI_RLE8 || bmp.compression == BI_RLE4;
  if (rle && (height < 0 || bc != (bmp.compression == BI_RLE8 ? 8 : 4))) invalidBitmap();
  if (haveMasks && bc != 16 && bc != 32) invalidBitmap();
  if (!rle && !haveMasks && bmp.compression != BI_RGB) invalidBitmap();
  if (width <= 0 || height == 0 || height < -0x7FFFFFFF) invalidBitmap();
  const int64_t rows = height < 0 ? -height : height;
  const int64_t rowBytes = ((bc * width + 31) / 32) * 4;
  if (rowBytes * rows > kMaxPictureBytes || width * rows > kMaxPictureBytes / 4) {
    throw EOutOfResources(Format("%s cannot be made", "Bitmap"));
  }

  if (bc <= 8) {
    uint32_t count = colorsUsed == 0 ? (1u << bc) : std::min<uint32_t>(colorsUsed, 256);
    std::vector<uint8_t> entries(static_cast<size_t>(count) * static_cast<size_t>(entrySize));
    readExact(stream, entries.data(), static_cast<int64_t>(entries.size()));
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = entries.data() + static_cast<size_t>(i) * static_cast<size_t>(entrySize);
      bmp.palette.push_back(TPaletteEntry{e[2], e[1], e[0]});
    }
  }

  // The file header says where the pixels start; editors may leave a gap before them.
  const int64_t afterTable = stream.Position();
  const int64_t offset = start + pixelOffset;
  if (pixelOffset != 0 && offset >= afterTable && offset < fileEnd) stream.SetPosition(offset);
  const int64_t available = fileEnd - stream.Position();

  bmp.width = static_cast<int>(width);
  bmp.height = static_cast<int>(rows);
  const size_t w = static_cast<size_t>(width);
  if (!haveMasks) {
    if (bc == 16) {
      masks[0] = 0x7C00, masks[1] = 0x3E0, masks[2] = 0x1F;
    } else {
      masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }
  }
  const BitFieldChannel red(masks[0]), green(masks[1]), blue(masks[2]);
  auto fromPalette = [&](uint32_t index) -> uint32_t {
    if (index >= bmp.palette.size()) return 0;
    const TPaletteEntry& e = bmp.palette[index];
    return (uint32_t{e.Red} << 16) | (uint32_t{e.Green} << 8) | e.Blue;
  };
  bmp.pixels.resize(w * static_cast<size_t>(rows));
  // Decodes the fileRow-th row the file stores; memory holds the bottom row first unless
  // the height was negative.
  auto decodeRow = [&](const uint8_t* row, int64_t fileRow) {
    const int64_t y = height > 0 ? rows - 1 - fileRow : fileRow;
    uint32_t* out = bmp.pixels.data() + static_cast<size_t>(y) * w;
    if (bc == 24) {
      // The usual layout, in a loop of its own that the compiler can unroll.
      for (size_t x = 0; x < w; ++x) {
        out[x] = row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
      }
      return;
    }
    for (size_t x = 0; x < w; ++x) {
      switch (bc) {
        case 1:
          out[x] = fromPalette((row[x / 8] >> (7 - x % 8)) & 1u);
          break;
        case 4:
          out[x] = fromPalette(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0Fu);
          break;
        case 8:
          out[x] = fromPalette(row[x]);
          break;
        default: {
          const uint32_t v = bc == 16 ? GetLE16(row + 2 * x) : GetLE32(row + 4 * x);
          out[x] =
              (uint32_t{red.expand(v)} << 16) | (uint32_t{green.expand(v)} << 8) | blue.expand(v);
        }
      }
    }
  };

  if (rle) {
    const int64_t dataSize = sizeImage == 0 ? available : std::min<int64_t>(sizeImage, available);
    std::vector<uint8_t> packed(static_cast<size_t>(std::max<int64_t>(dataSize, 0)));
    readExact(stream, packed.data(), static_cast<int64_t>(packed.size()));
    std::vector<uint8_t> plain(static_cast<size_t>(rowBytes * rows), 0);
    DecodeBmpRle(packed.data(), packed.size(), bc, bmp.width, bmp.height,
                 static_cast<int>(rowBytes), plain.data());
    for (int64_t fileRow = 0; fileRow < rows; ++fileRow) {
      decodeRow(plain.data() + fileRow * rowBytes, fileRow);
    }
    return bmp;
  }
  if (rowBytes * rows > available) invalidBitmap();
  // The rows are read a few at a time into one small buffer, which the allocator gives
  // back for the next picture; a buffer for the whole file would be fresh memory, page by
  // page, for every picture the game loads. The file's bytes overwrite it (no zero-fill).
  const int64_t chunkRows = std::min(rows, std::max<int64_t>(1, kReadChunkBytes / rowBytes));
  const auto chunk =
      std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(chunkRows * rowBytes));
  for (int64_t first = 0; first < rows; first += chunkRows) {
    const int64_t count = std::min(chunkRows, rows - first);
    readExact(stream, chunk.get(), count * rowBytes);
    for (int64_t k = 0; k < count; ++k) decodeRow(chunk.get() + k * rowBytes, first + k);
  }
  return bmp;
}

// Graphic.

void TGraphic::LoadFromFile(const std::string& gamePath) {
  TFileStream stream(gamePath, TFileMode::fmOpenRead);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& gamePath) const {
  TMemoryStream stream;
  SaveToStream(stream);
  stream.SaveToFile(gamePath);
}

// Bitmap.

void TBitmap::LoadFromStream(TStream& stream) {
  TDecodedBmp bmp = DecodeBmp(stream);
  width_ = bmp.width;
  height_ = bmp.height;
  bitCount_ = bmp.bitCount;
  compression_ = bmp.compression;
  palette_ = std::move(bmp.palette);
  pixels_ = std::move(bmp.pixels);
}

void TBitmap::SaveToStream(TStream& stream) const {
  if (Empty()) return;
  const uint32_t rowBytes = ((24u * static_cast<uint32_t>(width_) + 31u) / 32u) * 4u;
  const uint32_t imageSize = rowBytes * static_cast<uint32_t>(height_);
  const uint32_t offset = kFileHeaderSize + 40;
  std::vector<uint8_t> out;
  out.reserve(offset + imageSize);
  PutLE16(out, kBmpSignature);
  PutLE32(out, offset + imageSize);
  PutLE32(out, 0);
  PutLE32(out, offset);
  PutLE32(out, 40);
  PutLE32(out, static_cast<uint32_t>(width_));
  PutLE32(out, static_cast<uint32_t>(height_));
  PutLE16(out, 1);
  PutLE16(out, 24);
  PutLE32(out, BI_RGB);
  PutLE32(out, imageSize);
  for (int i = 0; i < 4; ++i) PutLE32(out, 0);
  for (int y = height_ - 1; y >= 0; --y) {
    const uint32_t* row = pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
    for (int x = 0; x < width_; ++x) {
      out.insert(out.end(), {static_cast<uint8_t>(row[x]), static_cast<uint8_t>(row[x] >> 8),
                             static_cast<uint8_t>(row[x] >> 16)});
    }
    out.resize(out.size() + (rowBytes - 3u * static_cast<uint32_t>(width_)), 0);
  }
  stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

void TBitmap::SetSize(int width, int height) {
  if (width <= 0 || height <= 0) width = height = 0;
  if (int64_t{width} * height > kMaxPictureBytes / 4) {
    throw EOutOfResources(Format("%s cannot be made", "Bitmap"));
  }
  width_ = width;
  height_ = height;
  bitCount_ = 24;
  compression_ = BI_RGB;
  palette_.clear();
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

uint32_t TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void TBitmap::SetPixel(int x, int y, uint32_t rgb) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] =
      rgb & 0xFFFFFF;
}

TGraphicFormat BitmapGraphicFormat() {
  return TGraphicFormat{"bmp", "Bitmaps", "TBitmap", [] { return std::make_unique<TBitmap>(); }};
}

// Picture holder.

TPicture::TPicture() : formats_{BitmapGraphicFormat()} {}

TPicture::TPicture(std::vector<TGraphicFormat> formats) : formats_(std::move(formats)) {}

void TPicture::Assign(const TPicture& other) {
  if (&other == this) return;
  graphic_ = other.graphic_ ? other.graphic_->Clone() : nullptr;
}

const TGraphicFormat* TPicture::formatFor(const std::string& extension,
                                          const std::string& className) const {
  for (const TGraphicFormat& format : formats_) {
    if (!extension.empty() && format.extension == extension) return &format;
    if (!className.empty() && format.className == className) return &format;
  }
  return nullptr;
}

void TPicture::LoadFromFile(const std::string& gamePath) {
  const size_t slash = gamePath.find_last_of("\\/");
  const size_t dot = gamePath.rfind('.');
  std::string extension;
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
    extension = gamePath.substr(dot + 1);
  }
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const TGraphicFormat* format = formatFor(extension, "");
  if (format == nullptr) throw EInvalidGraphic(Format(SUnknownExtension, extension));
  std::unique_ptr<TGraphic> graphic = format->create();
  graphic->LoadFromFile(gamePath);
  graphic_ = std::move(graphic);
}

void TPicture::SaveToFile(const std::string& gamePath) const {
  if (graphic_) graphic_->SaveToFile(gamePath);
}

void TPicture::ReadData(const std::vector<uint8_t>& data) {
  if (data.empty() || data[0] == 0) {
    graphic_.reset();
    return;
  }
  const size_t length = data[0];
  if (data.size() < 1 + length) throw EReadError(SReadError);
  const std::string className(reinterpret_cast<const char*>(data.data()) + 1, length);
  const TGraphicFormat* format = formatFor("", className);
  if (format == nullptr) throw EInvalidGraphic(Format(SUnknownClass, className));
  std::unique_ptr<TGraphic> graphic = format->create();
  TReadOnlyMemoryStream stream(data.data() + 1 + length,
                               static_cast<int64_t>(data.size() - 1 - length));
  graphic->ReadData(stream);
  graphic_ = std::move(graphic);
}

std::vector<uint8_t> TPicture::WriteData() const {
  if (!graphic_) return {0};
  const std::string name = graphic_->ClassName();
  TMemoryStream stream;
  const auto length = static_cast<uint8_t>(name.size());
  stream.WriteBuffer(&length, 1);
  stream.WriteBuffer(name.data(), static_cast<int64_t>(name.size()));
  graphic_->WriteData(stream);
  return stream.Bytes();
}
