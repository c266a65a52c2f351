#pragma once
// Device-independent bitmaps: the in-memory form of the BMP layout (1, 4, 8, 16, 24 and
// 32 bits per pixel, rows bottom-up, a 256-entry colour table, run-length coded data kept
// compressed until its pixels are needed), with its reader and writer.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/timer/direct_x.h"
#include "framework/bitmap.h"
#include "framework/stream.h"

// A colour-table entry as the BMP layout stores it.
struct TRGBQuad {
  uint8_t rgbBlue = 0;
  uint8_t rgbGreen = 0;
  uint8_t rgbRed = 0;
  uint8_t rgbReserved = 0;
  friend bool operator==(const TRGBQuad&, const TRGBQuad&) = default;
};
using TRGBQuads = std::array<TRGBQuad, 256>;

// Red, green and blue bit masks with their widths and positions.
struct TDIBPixelFormat {
  uint32_t RBitMask = 0, GBitMask = 0, BBitMask = 0;
  uint32_t RBitCount = 0, GBitCount = 0, BBitCount = 0;
  uint32_t RShift = 0, GShift = 0, BShift = 0;
  friend bool operator==(const TDIBPixelFormat&, const TDIBPixelFormat&) = default;
};

// Channels of the given widths packed red-high: (8, 8, 8), (5, 6, 5), (5, 5, 5).
TDIBPixelFormat MakeDIBPixelFormat(uint32_t rBitCount, uint32_t gBitCount, uint32_t bBitCount);
// The format whose widths are the numbers of set bits of the masks.
TDIBPixelFormat MakeDIBPixelFormatMask(uint32_t rBitMask, uint32_t gBitMask, uint32_t bBitMask);

// The grey ramp of a new bitmap: entry i = (i, i, i, 0).
TRGBQuads GreyColorTable();

inline constexpr const char* SInvalidDIB = "DIB is invalid";
inline constexpr const char* SInvalidDIBPixelFormat = "PixelFormat in invalid";
inline constexpr const char* SInvalidDIBBitCount = "Bitcount in invalid (%d)";

// The pixels and header of a bitmap, shared by copies until one of them changes it.
struct TDIBSharedImage {
  int Width = 0;
  int Height = 0;
  int BitCount = 0;
  int WidthBytes = 0;
  uint32_t Compression = 0;  // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields
  bool Compressed = false;   // Pixels hold the run-length data as read
  bool MemoryImage = false;
  TDIBPixelFormat PixelFormat;
  TRGBQuads ColorTable = GreyColorTable();
  std::vector<uint8_t> Pixels;  // bottom-up rows of WidthBytes, or the compressed data
  // The expanded rows of compressed data, made on the first read of a pixel.
  std::vector<uint8_t> Decoded;
};

class TDIB : public TGraphic {
 public:
  TDIB();
  TDIB(const TDIB& other) = default;
  TDIB& operator=(const TDIB& other) = default;

  std::string ClassName() const override { return "TDIB"; }
  int Width() const override { return image_->Width; }
  int Height() const override { return image_->Height; }
  int BitCount() const { return image_->BitCount; }
  int WidthBytes() const { return image_->WidthBytes; }
  // WidthBytes x Height: the size of the uncompressed pixel rows.
  int64_t Size() const { return int64_t{image_->WidthBytes} * image_->Height; }
  const TDIBPixelFormat& PixelFormat() const { return image_->PixelFormat; }
  bool Compressed() const { return image_->Compressed; }
  uint32_t Compression() const { return image_->Compression; }
  bool MemoryImage() const { return image_->MemoryImage; }
  void SetMemoryImage(bool value) { memoryImage_ = value; }
  // True when the colour table changed since the last call of ClearPaletteModified.
  bool PaletteModified() const { return paletteModified_; }
  void ClearPaletteModified() { paletteModified_ = false; }

  // The colour table (256 entries; the first 2^BitCount are used at 8 bits or fewer).
  const TRGBQuads& ColorTable() const { return image_->ColorTable; }
  void SetColorTable(const TRGBQuads& table);
  void SetPixelFormat(const TDIBPixelFormat& format);

  // A fresh bitmap; checks the bit count and pixel format. width or height <= 0 gives the
  // empty bitmap.
  void NewImage(int width, int height, int bitCount, const TDIBPixelFormat& format,
                const TRGBQuads& colorTable, bool memoryImage, bool compressed);
  // Keeps the colour table and the pixel format (16 bits take 5-6-5 when the format is
  // not a 16-bit one); pixels start at 0.
  void SetSize(int width, int height, int bitCount);
  // The empty bitmap.
  void Clear() { Assign(static_cast<const TGraphic*>(nullptr)); }

  // Pixel rows: ScanLine(0) is the top row of the picture. Decompresses first.
  const uint8_t* ScanLine(int y) const;
  uint8_t* ScanLine(int y);
  // The first byte of the pixel memory (the bottom row).
  const uint8_t* PBits() const;
  uint8_t* PBits();
  // Expands run-length data into plain rows; nothing happens for plain data.
  void Decompress();

  // Raw pixel values at any depth; 0 and nothing outside the bitmap. (x, y) from the top.
  uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t value);
  // The colour of a pixel as 0x00RRGGBB.
  uint32_t PixelRGB(int x, int y) const;

  // BMP file: 14-byte file header, then the DIB data. No bytes at all leave it unchanged.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  void ReadBitmapFile(TStream& stream) { LoadFromStream(stream); }
  void WriteBitmapFile(TStream& stream) const { SaveToStream(stream); }
  // DIB data: information header, masks, colour table, pixels. No bytes give the empty
  // bitmap.
  void ReadBitmapData(TStream& stream);
  void WriteBitmapData(TStream& stream) const;
  // A stored picture: DIB data, or a whole BMP file (its "BM" cannot begin a header size).
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) const override { WriteBitmapData(stream); }

  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TDIB>(*this); }
  void ToRGB32(std::vector<uint32_t>& pixels) const override;
  std::vector<TPaletteEntry> Palette() const override;

  // Shares the other bitmap's image; from another graphic, a 24-bit copy of its pixels;
  // from nothing, the empty bitmap.
  void Assign(const TDIB& other) { *this = other; }
  void Assign(const TGraphic* graphic);

  // The length of the header as written: 40, or 52 with bit-field masks, plus the colour
  // table entries in use.
  int HeaderAndTableSize() const;

 private:
  // Makes the image private before a change of its pixels or table.
  TDIBSharedImage& mutableImage();
  void readHeaderAndPixels(TStream& stream, uint32_t headerSize);

  std::shared_ptr<TDIBSharedImage> image_;
  bool memoryImage_ = false;
  bool paletteModified_ = false;
};

// The .dib format of TDIB, for picture holders that accept it.
TGraphicFormat DIBGraphicFormat();
