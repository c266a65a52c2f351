#include "engine/sound/wave.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/sound/wave_stream.h"

namespace {

// memcpy without its rule against null pointers for empty copies.
void copyBytes(uint8_t* to, const uint8_t* from, size_t count) {
  if (count != 0) std::memcpy(to, from, count);
}

}  // namespace

void TWave::Clear() {
  std::vector<uint8_t>().swap(waveData_);
  std::vector<uint8_t>().swap(formatData_);
  waveSize_ = 0;
}

void TWave::SetWaveSize(int32_t size) {
  size = std::max(size, 0);
  const int64_t blocks = (int64_t{size} + kBlockSize - 1) / kBlockSize;
  const size_t capacity = static_cast<size_t>(blocks * kBlockSize);
  if (capacity != waveData_.size()) {
    std::vector<uint8_t> data(capacity);
    copyBytes(data.data(), waveData_.data(), std::min(capacity, waveData_.size()));
    waveData_ = std::move(data);
  }
  waveSize_ = size;
}

void TWave::SetFormatSize(int32_t size) {
  std::vector<uint8_t> data(static_cast<size_t>(std::max(size, 0)));
  copyBytes(data.data(), formatData_.data(), std::min(data.size(), formatData_.size()));
  formatData_ = std::move(data);
}

void TWave::CopyFrom(const TWave* source) {
  if (source == nullptr) {
    Clear();
    return;
  }
  if (source == this) return;
  SetWaveSize(source->WaveSize());
  SetFormatSize(source->FormatSize());
  copyBytes(WaveData(), source->WaveData(), static_cast<size_t>(source->WaveSize()));
  copyBytes(FormatData(), source->FormatData(), static_cast<size_t>(source->FormatSize()));
}

void TWave::LoadRiff(TStream& stream) {
  // Read into a new wave first, so that a damaged image loses nothing.
  TWave loaded;
  {
    TWaveStream wave(stream);
    wave.OpenRead();
    loaded.SetFormatSize(wave.FormatSize());
    copyBytes(loaded.FormatData(), wave.FormatData(), static_cast<size_t>(wave.FormatSize()));
    loaded.SetWaveSize(wave.WaveSize());
    wave.ReadBuffer(loaded.WaveData(), loaded.WaveSize());
  }
  std::swap(waveData_, loaded.waveData_);
  std::swap(formatData_, loaded.formatData_);
  std::swap(waveSize_, loaded.waveSize_);
}

void TWave::SaveRiff(TStream& stream) const {
  if (FormatSize() <= 0 || WaveSize() <= 0) return;
  TWaveStream wave(stream);
  wave.SetFormatSize(FormatSize());
  copyBytes(wave.FormatData(), FormatData(), static_cast<size_t>(FormatSize()));
  wave.OpenWrite();
  wave.WriteBuffer(WaveData(), WaveSize());
  wave.Finish();
}

std::vector<uint8_t> TWave::StoredData() const {
  TMemoryStream stream;
  SaveRiff(stream);
  return stream.Bytes();
}

void TWave::ReadStoredData(const std::vector<uint8_t>& bytes) {
  // An empty wave is stored as an empty value, so an empty value reads back as one.
  if (bytes.empty()) {
    Clear();
    return;
  }
  TReadOnlyMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
  LoadRiff(stream);
}
