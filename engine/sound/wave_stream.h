#pragma once
// Streams of wave samples: a byte stream whose positions count sample bytes, and its
// view of a RIFF WAVE image inside another stream, which finds the format block and
// the samples when reading and writes the headers around them when writing.

#include <cstdint>
#include <vector>

#include "framework/exceptions.h"
#include "framework/stream.h"

class EWaveStreamError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SWaveStreamAlreadyOpened = "Stream has already been opened";
inline constexpr const char* SWaveInvalid = "Wave is invalid";
inline constexpr const char* SWaveFormatInvalid = "Format is invalid";
inline constexpr const char* SWaveStreamNotOpened = "Stream not opend";

// Reads, writes and seeks in sample bytes, kept within WaveSize when there is one.
class TCustomWaveStream : public TStream {
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  // The size of a wave stream is its samples'; it is not set from outside.
  void SetSize(int64_t) override {}

  virtual const uint8_t* FormatData() const = 0;
  virtual int32_t FormatSize() const { return 0; }
  // -1 when the stream has no size.
  virtual int32_t WaveSize() { return -1; }
  virtual void SetFormatSize(int32_t size) = 0;

 protected:
  virtual int32_t ReadWave(void* buffer, int32_t count);
  virtual int32_t WriteWave(const void* buffer, int32_t count);

  int32_t position_ = 0;
};

// A wave stream that owns its format block.
class TCustomWaveStream2 : public TCustomWaveStream {
 public:
  const uint8_t* FormatData() const override { return format_.data(); }
  uint8_t* FormatData() { return format_.data(); }
  int32_t FormatSize() const override { return static_cast<int32_t>(format_.size()); }
  void SetFormatSize(int32_t size) override;

 private:
  std::vector<uint8_t> format_;
};

// A RIFF WAVE image in another stream, starting where that stream stood when the view
// was made. A view open for writing finishes the image (lengths and pad byte) in
// Finish, or when it is destroyed.
class TWaveStream : public TCustomWaveStream2 {
 public:
  explicit TWaveStream(TStream& stream);
  ~TWaveStream() override;
  TWaveStream(const TWaveStream&) = delete;
  TWaveStream& operator=(const TWaveStream&) = delete;

  // Walks the chunks: "fmt " gives the format block, "data" the samples; other chunks
  // are skipped, and a later "fmt " or "data" replaces an earlier one.
  void OpenRead();
  // Writes the headers for the format block set beforehand; writes then add samples.
  void OpenWrite();
  void Finish();

  bool Opened() const { return opened_; }
  bool Reading() const { return reading_; }
  int32_t WaveSize() override;

 protected:
  int32_t ReadWave(void* buffer, int32_t count) override;
  int32_t WriteWave(const void* buffer, int32_t count) override;

 private:
  void readChunks();

  TStream& stream_;
  int64_t startPosition_;
  bool opened_ = false;
  bool reading_ = false;
  bool finished_ = false;
  int64_t dataStart_ = 0;
  int64_t dataHeaderPosition_ = 0;
  int32_t dataSize_ = 0;
};
