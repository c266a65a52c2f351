#pragma once
// Byte streams: the abstract stream with its exact-size read and write, a stream over
// memory, and a stream over a file named with the game's `\` paths.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  // Read and Write move at most count bytes and return how many moved.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual void SetSize(int64_t size) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  int64_t Size();
  // Exactly count bytes, or EReadError "Stream read error" / EWriteError.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies count bytes from source (0: all of source from its start).
  int64_t CopyFrom(TStream& source, int64_t count);

  template <typename T>
  T ReadValue() {
    T value{};
    ReadBuffer(&value, sizeof(T));
    return value;
  }
  template <typename T>
  void WriteValue(const T& value) {
    WriteBuffer(&value, sizeof(T));
  }
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> data) : data_(std::move(data)) {}

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;

  void Clear();
  const uint8_t* Memory() const { return data_.data(); }
  uint8_t* Memory() { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  void LoadFromFile(const std::string& gamePath);
  // Writes the whole stream to a file atomically: a failure leaves the old file intact.
  void SaveToFile(const std::string& gamePath) const;

 private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

// A stream that reads someone else's bytes without copying them.
class TReadOnlyMemoryStream : public TStream {
 public:
  TReadOnlyMemoryStream(const void* data, int64_t size)
      : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;

 private:
  const uint8_t* data_;
  int64_t size_;
  int64_t position_ = 0;
};

enum class TFileMode { fmOpenRead, fmOpenReadWrite, fmCreate };

class TFileStream : public TStream {
 public:
  // gamePath may use `\` and any letter case (see ResolvePath). Raises EFOpenError or
  // EFCreateError naming the full path and the system's reason.
  TFileStream(const std::string& gamePath, TFileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  const std::string& FileName() const { return path_; }

 private:
  std::FILE* file_ = nullptr;
  std::string path_;
};
