#include "framework/stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "framework/exceptions.h"
#include "framework/paths.h"

int64_t TStream::Size() {
  const int64_t position = Seek(0, TSeekOrigin::soCurrent);
  const int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(position, TSeekOrigin::soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError(SWriteError);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, 65536)));
  int64_t left = count;
  while (left > 0) {
    const int64_t n = std::min<int64_t>(left, static_cast<int64_t>(buffer.size()));
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return count;
}

// Memory streams.

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t size = static_cast<int64_t>(data_.size());
  if (count <= 0 || position_ >= size) return 0;
  const int64_t n = std::min(count, size - position_);
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int64_t end = position_ + count;
  if (end > static_cast<int64_t>(data_.size())) data_.resize(static_cast<size_t>(end));
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

namespace {
int64_t seekWithin(int64_t position, int64_t size, int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case TSeekOrigin::soBeginning:
      return offset;
    case TSeekOrigin::soCurrent:
      return position + offset;
    case TSeekOrigin::soEnd:
      return size + offset;
  }
  return position;
}
}  // namespace

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  position_ = std::max<int64_t>(
      0, seekWithin(position_, static_cast<int64_t>(data_.size()), offset, origin));
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  position_ = std::min(position_, static_cast<int64_t>(data_.size()));
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& gamePath) {
  TFileStream file(gamePath, TFileMode::fmOpenRead);
  const int64_t size = file.Size();
  std::vector<uint8_t> data(static_cast<size_t>(size));
  file.ReadBuffer(data.data(), size);
  data_ = std::move(data);
  position_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& gamePath) const {
  WriteFileAtomically(gamePath, data_);
}

// Read-only memory streams.

int64_t TReadOnlyMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  const int64_t n = std::min(count, size_ - position_);
  std::memcpy(buffer, data_ + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TReadOnlyMemoryStream::Write(const void*, int64_t) { return 0; }

int64_t TReadOnlyMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  position_ = std::max<int64_t>(0, seekWithin(position_, size_, offset, origin));
  return position_;
}

void TReadOnlyMemoryStream::SetSize(int64_t) { throw EWriteError(SWriteError); }

// File streams.

TFileStream::TFileStream(const std::string& gamePath, TFileMode mode)
    : path_(ResolvePath(gamePath)) {
  const char* how = mode == TFileMode::fmOpenRead ? "rb"
                    : mode == TFileMode::fmCreate ? "wb"
                                                  : "r+b";
  file_ = std::fopen(path_.c_str(), how);
  if (file_ == nullptr) {
    const std::string reason = std::strerror(errno);
    const std::string full = std::filesystem::absolute(path_).string();
    if (mode == TFileMode::fmCreate) throw EFCreateError(Format(SFCreateError, full, reason));
    throw EFOpenError(Format(SFOpenError, full, reason));
  }
}

TFileStream::~TFileStream() {
  if (file_ != nullptr) std::fclose(file_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  return static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(count), file_));
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  return static_cast<int64_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), file_));
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                     : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                        : SEEK_END;
  std::fseek(file_, static_cast<long>(offset), whence);
  return std::ftell(file_);
}

void TFileStream::SetSize(int64_t size) {
  std::fflush(file_);
  std::error_code ec;
  std::filesystem::resize_file(path_, static_cast<uintmax_t>(size), ec);
  if (ec) throw EWriteError(SWriteError);
}
