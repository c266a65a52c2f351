#include "engine/sound/wave_stream.h"

#include <algorithm>
#include <cstring>

namespace {

bool sameId(const uint8_t* bytes, const char* id) { return std::memcmp(bytes, id, 4) == 0; }

uint32_t readLE32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void writeId(TStream& stream, const char* id) { stream.WriteBuffer(id, 4); }

void writeLE32(TStream& stream, uint32_t value) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  stream.WriteBuffer(bytes, 4);
}
}  // namespace

// Sample-byte positions.

int64_t TCustomWaveStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int32_t size = WaveSize();
  int32_t request = static_cast<int32_t>(std::min<int64_t>(count, INT32_MAX));
  if (size >= 0) {
    position_ = std::min(position_, size);
    request = std::min(request, size - position_);
  }
  const int32_t done = ReadWave(buffer, request);
  position_ += done;
  return done;
}

int64_t TCustomWaveStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int32_t size = WaveSize();
  if (size >= 0) position_ = std::min(position_, size);
  const int32_t request =
      static_cast<int32_t>(std::min<int64_t>(count, INT32_MAX - int64_t{position_}));
  const int32_t done = WriteWave(buffer, request);
  position_ += done;
  return done;
}

int64_t TCustomWaveStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int32_t size = WaveSize();
  int64_t target = offset;
  if (origin == TSeekOrigin::soCurrent) target = position_ + offset;
  if (origin == TSeekOrigin::soEnd) target = size + offset;
  target = std::max<int64_t>(target, 0);
  if (size >= 0) target = std::min<int64_t>(target, size);
  position_ = static_cast<int32_t>(std::min<int64_t>(target, INT32_MAX));
  return position_;
}

int32_t TCustomWaveStream::ReadWave(void*, int32_t) { return 0; }

int32_t TCustomWaveStream::WriteWave(const void*, int32_t) { return 0; }

void TCustomWaveStream2::SetFormatSize(int32_t size) {
  format_.resize(static_cast<size_t>(std::max(size, 0)));
  format_.shrink_to_fit();
}

// RIFF WAVE images.

TWaveStream::TWaveStream(TStream& stream) : stream_(stream), startPosition_(stream.Position()) {}

TWaveStream::~TWaveStream() {
  // A destructor cannot report a failed write; callers that care call Finish first.
  try {
    Finish();
  } catch (const std::exception&) {
  }
}

void TWaveStream::OpenRead() {
  if (opened_) throw EWaveStreamError(SWaveStreamAlreadyOpened);
  opened_ = true;
  reading_ = true;
  stream_.SetPosition(startPosition_);
  uint8_t header[12];
  stream_.ReadBuffer(header, sizeof header);
  if (!sameId(header, "RIFF") || !sameId(header + 8, "WAVE")) throw EWaveStreamError(SWaveInvalid);
  readChunks();
}

void TWaveStream::readChunks() {
  // Lengths are unsigned, so every skip goes forward and the walk ends. A chunk that
  // claims more bytes than the stream holds is a truncated image; it is refused before
  // anything is allocated for it.
  const int64_t streamSize = stream_.Size();
  while (true) {
    uint8_t header[8] = {};
    stream_.Read(header, sizeof header);
    if (readLE32(header) == 0) break;
    const int64_t length = readLE32(header + 4);
    const int64_t body = stream_.Position();
    if (sameId(header, "fmt ")) {
      if (length > streamSize - body || length > INT32_MAX) throw EReadError(SReadError);
      SetFormatSize(static_cast<int32_t>(length));
      stream_.ReadBuffer(FormatData(), length);
    } else if (sameId(header, "data")) {
      if (length > streamSize - body || length > INT32_MAX) throw EReadError(SReadError);
      dataSize_ = static_cast<int32_t>(length);
      dataStart_ = body;
    }
    stream_.SetPosition(body + length + (length & 1));
  }
}

void TWaveStream::OpenWrite() {
  if (opened_) throw EWaveStreamError(SWaveStreamAlreadyOpened);
  if (FormatSize() == 0) throw EWaveStreamError(SWaveFormatInvalid);
  opened_ = true;
  reading_ = false;
  stream_.SetPosition(startPosition_);
  const uint8_t placeholder[12] = {};
  stream_.WriteBuffer(placeholder, sizeof placeholder);
  writeId(stream_, "fmt ");
  writeLE32(stream_, static_cast<uint32_t>(FormatSize()));
  stream_.WriteBuffer(FormatData(), FormatSize());
  // An odd format block is padded like any RIFF chunk; without the pad byte a reader
  // would look for the "data" header one byte late and find no samples.
  if (FormatSize() % 2 == 1) {
    const uint8_t pad = 0;
    stream_.WriteBuffer(&pad, 1);
  }
  dataHeaderPosition_ = stream_.Position();
  writeId(stream_, "data");
  writeLE32(stream_, 0);
  dataStart_ = stream_.Position();
}

void TWaveStream::Finish() {
  if (!opened_ || reading_ || finished_) return;
  // Finished once: a second call, or the destructor after Finish, does nothing.
  finished_ = true;
  const int64_t size = stream_.Size();
  const int64_t sampleBytes = size - dataStart_;
  int64_t end = size;
  if (sampleBytes & 1) {
    stream_.SetPosition(size);
    const uint8_t pad = 0;
    stream_.WriteBuffer(&pad, 1);
    ++end;
  }
  stream_.SetPosition(startPosition_);
  writeId(stream_, "RIFF");
  writeLE32(stream_, static_cast<uint32_t>(end - startPosition_ - 8));
  writeId(stream_, "WAVE");
  stream_.SetPosition(dataHeaderPosition_);
  writeId(stream_, "data");
  writeLE32(stream_, static_cast<uint32_t>(sampleBytes));
  stream_.Seek(0, TSeekOrigin::soEnd);
}

int32_t TWaveStream::WaveSize() {
  if (!opened_) return 0;
  if (reading_) return dataSize_;
  return static_cast<int32_t>(std::min<int64_t>(stream_.Size() - dataStart_, INT32_MAX));
}

int32_t TWaveStream::ReadWave(void* buffer, int32_t count) {
  if (!opened_) throw EWaveStreamError(SWaveStreamNotOpened);
  stream_.SetPosition(dataStart_ + position_);
  return static_cast<int32_t>(stream_.Read(buffer, count));
}

int32_t TWaveStream::WriteWave(const void* buffer, int32_t count) {
  if (!opened_) throw EWaveStreamError(SWaveStreamNotOpened);
  if (reading_) count = std::max(0, std::min(count, dataSize_ - position_));
  stream_.SetPosition(dataStart_ + position_);
  return static_cast<int32_t>(stream_.Write(buffer, count));
}
