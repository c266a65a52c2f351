#pragma once
// Pictures of the window framework: the graphic base class, the framework's own bitmap
// with its reader for .bmp files, and the picture holder that keeps one graphic, loads it
// from a file by extension and stores it in a window description.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/exceptions.h"
#include "framework/stream.h"

class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SInvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* SUnknownExtension = "Unknown picture file extension (.%s)";
inline constexpr const char* SUnknownClass = "Unknown picture class (%s)";

// One palette entry of a graphic, 8 bits a channel.
struct TPaletteEntry {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
};

class TGraphic {
 public:
  virtual ~TGraphic() = default;
  // The class name a stored picture is written under ("TBitmap", "TDIB").
  virtual std::string ClassName() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() <= 0 || Height() <= 0; }
  // Reads the graphic's file layout; a failed read leaves the graphic as it was.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;
  // Raises EFOpenError naming the path and the system's reason.
  void LoadFromFile(const std::string& gamePath);
  // Written atomically: a failure leaves an older file whole.
  void SaveToFile(const std::string& gamePath) const;
  // The graphic's data as a stored picture keeps it (by default its file layout).
  virtual void ReadData(TStream& stream) { LoadFromStream(stream); }
  virtual void WriteData(TStream& stream) const { SaveToStream(stream); }
  virtual std::unique_ptr<TGraphic> Clone() const = 0;
  // The pixels as 0x00RRGGBB, rows top-down, Width() x Height() values.
  virtual void ToRGB32(std::vector<uint32_t>& pixels) const = 0;
  // The same pixels without a copy, where the graphic holds them so; else null.
  virtual const uint32_t* RGB32Pixels() const { return nullptr; }
  // The palette of a picture with one (up to 256 entries), else empty.
  virtual std::vector<TPaletteEntry> Palette() const { return {}; }
};

// A BMP file decoded to plain pixels: 1, 4, 8, 16, 24 and 32 bits; the 12-, 40-, 52-,
// 56-, 108- and 124-byte headers; bit-field masks; run-length coding; either row order.
struct TDecodedBmp {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  uint32_t compression = 0;
  std::vector<TPaletteEntry> palette;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top-down
};

// Reads one BMP file from the stream's position. EInvalidGraphic "Bitmap image is not
// valid" for anything malformed or truncated; EOutOfResources for absurd sizes.
TDecodedBmp DecodeBmp(TStream& stream);

// Expands run-length coded 4- or 8-bit rows (BMP coding) into dest: height rows of
// stride bytes, the bottom row first, which must be zero-filled by the caller. Runs that
// leave the picture are clipped; the data ends at its end-of-bitmap mark or its last byte.
void DecodeBmpRle(const uint8_t* data, size_t size, int bitCount, int width, int height, int stride,
                  uint8_t* dest);

// The largest picture a reader accepts, in bytes of its pixel rows.
inline constexpr int64_t kMaxPictureBytes = int64_t{1} << 28;

// The framework's bitmap: pixels kept as 0x00RRGGBB with the palette of the file they came
// from. Saved as a 24-bit BMP file.
class TBitmap : public TGraphic {
 public:
  std::string ClassName() const override { return "TBitmap"; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // Bits per pixel of the file it was read from (24 for a bitmap made in memory).
  int BitCount() const { return bitCount_; }
  uint32_t Compression() const { return compression_; }
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TBitmap>(*this); }
  void ToRGB32(std::vector<uint32_t>& pixels) const override { pixels = pixels_; }
  const uint32_t* RGB32Pixels() const override {
    const bool whole = pixels_.size() == static_cast<size_t>(width_) * static_cast<size_t>(height_);
    return whole && !pixels_.empty() ? pixels_.data() : nullptr;
  }
  std::vector<TPaletteEntry> Palette() const override { return palette_; }

  // Width x height of black; 0 in either gives the empty bitmap.
  void SetSize(int width, int height);
  uint32_t Pixel(int x, int y) const;  // 0x00RRGGBB; 0 outside
  void SetPixel(int x, int y, uint32_t rgb);
  const uint32_t* Pixels() const { return pixels_.data(); }

 private:
  int width_ = 0;
  int height_ = 0;
  int bitCount_ = 24;
  uint32_t compression_ = 0;
  std::vector<TPaletteEntry> palette_;
  std::vector<uint32_t> pixels_;
};

// A kind of graphic the picture holder can make: by class name for stored pictures and
// by file extension (lower case, no dot) for files.
struct TGraphicFormat {
  std::string extension;
  std::string description;
  std::string className;
  std::function<std::unique_ptr<TGraphic>()> create;
};

// The .bmp format of the framework's own bitmap.
TGraphicFormat BitmapGraphicFormat();

// Holds at most one graphic.
class TPicture {
 public:
  // Knows TBitmap; owners add the formats of other graphic classes they accept.
  TPicture();
  explicit TPicture(std::vector<TGraphicFormat> formats);
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  TGraphic* Graphic() const { return graphic_.get(); }
  void SetGraphic(std::unique_ptr<TGraphic> graphic) { graphic_ = std::move(graphic); }
  // Copies the other picture's graphic (none gives none).
  void Assign(const TPicture& other);
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  const std::vector<TGraphicFormat>& Formats() const { return formats_; }

  // Chooses the graphic class by the file's extension. A failed load keeps the old graphic.
  void LoadFromFile(const std::string& gamePath);
  void SaveToFile(const std::string& gamePath) const;
  // The stored form: a length byte, the class name, then the graphic's own data.
  void ReadData(const std::vector<uint8_t>& data);
  std::vector<uint8_t> WriteData() const;

 private:
  const TGraphicFormat* formatFor(const std::string& extension, const std::string& className) const;

  std::vector<TGraphicFormat> formats_;
  std::unique_ptr<TGraphic> graphic_;
};
