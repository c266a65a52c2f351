#pragma once
// A wave: PCM sample bytes and the format block (a WAVEFORMATEX record, kept verbatim)
// that describes them, read from and written as a RIFF WAVE image.

#include <cstdint>
#include <vector>

#include "framework/component.h"
#include "framework/stream.h"

class TWave : public TObject {
 public:
  // The sample buffer grows and shrinks in whole blocks of this many bytes.
  static constexpr int32_t kBlockSize = 8096;

  const uint8_t* WaveData() const { return waveData_.data(); }
  uint8_t* WaveData() { return waveData_.data(); }
  int32_t WaveSize() const { return waveSize_; }
  // Bytes allocated for samples: whole blocks.
  int32_t WaveCapacity() const { return static_cast<int32_t>(waveData_.size()); }
  const uint8_t* FormatData() const { return formatData_.data(); }
  uint8_t* FormatData() { return formatData_.data(); }
  int32_t FormatSize() const { return static_cast<int32_t>(formatData_.size()); }

  void Clear();
  // Negative sizes count as 0; samples up to the smaller size are kept.
  void SetWaveSize(int32_t size);
  void SetFormatSize(int32_t size);
  // From nullptr: Clear.
  void CopyFrom(const TWave* source);

  // Replaces the wave by the RIFF image at the stream's position. A damaged image
  // raises and leaves the wave as it was.
  void LoadRiff(TStream& stream);
  // Writes the wave as a RIFF image; an empty wave writes nothing.
  void SaveRiff(TStream& stream) const;

  // The stored property "WAVE": the RIFF image, empty for an empty wave.
  std::vector<uint8_t> StoredData() const;
  void ReadStoredData(const std::vector<uint8_t>& bytes);

 private:
  std::vector<uint8_t> waveData_;
  int32_t waveSize_ = 0;
  std::vector<uint8_t> formatData_;
};
