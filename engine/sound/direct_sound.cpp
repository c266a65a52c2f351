#include "engine/sound/direct_sound.h"

#include <algorithm>
#include <cstring>

namespace {

uint16_t readLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t readLE32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void putLE16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void putLE32(uint8_t* p, uint32_t v) {
  putLE16(p, v);
  putLE16(p + 2, v >> 16);
}

// The format record (WAVEFORMATEX, no extra bytes) the device reports for a buffer.
std::vector<uint8_t> formatBlock(const platform::AudioFormat& f) {
  std::vector<uint8_t> block(18);
  putLE16(block.data(), f.formatTag);
  putLE16(&block[2], f.channels);
  putLE32(&block[4], f.samplesPerSec);
  putLE32(&block[8], f.samplesPerSec * f.frameBytes());
  putLE16(&block[12], f.frameBytes());
  putLE16(&block[14], f.bitsPerSample);
  return block;
}

constexpr int32_t kPcmRecordSize = 16;

}  // namespace

bool AudioFormatFromBlock(const uint8_t* block, int32_t size, platform::AudioFormat& format) {
  if (block == nullptr || size < kPcmRecordSize) return false;
  format.formatTag = readLE16(block);
  format.channels = readLE16(block + 2);
  format.samplesPerSec = readLE32(block + 4);
  format.bitsPerSample = readLE16(block + 14);
  return true;
}

// The device.

TDirectSound::TDirectSound(platform::AudioSystem& audio,
                           const std::optional<platform::AudioFormat>& format)
    : device_(format ? audio.openDeviceIn(*format) : audio.openDevice()) {
  if (!device_) throw EDirectSoundError(Format(SCannotInitialized, SDirectSound));
}

TDirectSound::~TDirectSound() {
  while (!buffers_.empty()) {
    TDirectSoundBuffer* last = buffers_.back();
    buffers_.pop_back();
    last->Release();
    last->sound_ = nullptr;
  }
}

platform::AudioDevice& TDirectSound::ISound() {
  if (!device_) throw EDirectSoundError(::Format(SNotMade, "IDirectSound"));
  return *device_;
}

bool TDirectSound::SetCooperativeLevel(uint32_t windowId, int32_t level) {
  const auto cooperation = level == DSSCL_EXCLUSIVE ? platform::AudioCooperation::Exclusive
                                                    : platform::AudioCooperation::Normal;
  const bool ok = ISound().setCooperativeLevel(windowId, cooperation);
  SetResult(ok ? DS_OK : DSERR_INVALIDCALL);
  return ok;
}

void TDirectSound::removeBuffer(TDirectSoundBuffer* buffer) {
  buffers_.erase(std::remove(buffers_.begin(), buffers_.end(), buffer), buffers_.end());
}

// Buffers.

TDirectSoundBuffer::TDirectSoundBuffer(TDirectSound* sound) : sound_(sound) {
  if (sound_ != nullptr) sound_->addBuffer(this);
}

TDirectSoundBuffer::~TDirectSoundBuffer() {
  Release();
  if (sound_ != nullptr) sound_->removeBuffer(this);
}

platform::AudioBuffer& TDirectSoundBuffer::IBuffer() {
  if (!buffer_) throw EDirectSoundBufferError(::Format(SNotMade, "IDirectSoundBuffer"));
  return *buffer_;
}

void TDirectSoundBuffer::Release() {
  buffer_.reset();
  lockCount_ = 0;
  caps_ = TDSBCaps{};
  format_.clear();
}

bool TDirectSoundBuffer::result(bool ok) {
  if (ok) {
    SetResult(DS_OK);
  } else {
    SetResult(buffer_ && buffer_->lost() ? DSERR_BUFFERLOST : DSERR_INVALIDCALL);
  }
  return ok;
}

bool TDirectSoundBuffer::CreateBuffer(const TDSBufferDesc& desc) {
  Release();
  if (sound_ == nullptr) throw EDirectSoundError(::Format(SNotMade, "IDirectSound"));
  platform::AudioDevice& device = sound_->ISound();
  std::unique_ptr<platform::AudioBuffer> made;
  if ((desc.dwFlags & DSBCAPS_PRIMARYBUFFER) != 0) {
    made = device.createPrimaryBuffer();
  } else {
    platform::AudioFormat format;
    if (!AudioFormatFromBlock(desc.lpwfxFormat.data(),
                              static_cast<int32_t>(desc.lpwfxFormat.size()), format)) {
      SetResult(DSERR_BADFORMAT);
      return false;
    }
    if (desc.dwBufferBytes == 0) {
      SetResult(DSERR_INVALIDPARAM);
      return false;
    }
    made = device.createBuffer(format, desc.dwBufferBytes);
  }
  if (!made) {
    SetResult(DSERR_INVALIDCALL);
    return false;
  }
  buffer_ = std::move(made);
  SetResult(DS_OK);
  caps_.dwFlags = desc.dwFlags;
  caps_.dwBufferBytes = buffer_->size();
  format_ = formatBlock(buffer_->format());
  return true;
}

void TDirectSoundBuffer::LoadFromWave(const TWave& wave) {
  TDSBufferDesc desc;
  desc.dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
  if (sound_ != nullptr && sound_->StickyFocus) {
    desc.dwFlags |= DSBCAPS_STICKYFOCUS;
  } else if (sound_ != nullptr && sound_->GlobalFocus) {
    desc.dwFlags |= DSBCAPS_GLOBALFOCUS;
  }
  desc.dwBufferBytes = static_cast<uint32_t>(wave.WaveSize());
  desc.lpwfxFormat.assign(wave.FormatData(), wave.FormatData() + wave.FormatSize());
  if (!CreateBuffer(desc)) throw EDirectSoundBufferError(::Format(SCannotMade, SDirectSoundBuffer));

  uint8_t* data1 = nullptr;
  uint8_t* data2 = nullptr;
  uint32_t size1 = 0;
  uint32_t size2 = 0;
  if (!Lock(0, desc.dwBufferBytes, data1, size1, data2, size2)) {
    Release();
    throw EDirectSoundBufferError(::Format(SCannotLock, SDirectSoundBuffer));
  }
  // The regions together are the buffer, which is exactly the wave's size; the bounds
  // only guard against a device that hands back something else.
  const uint32_t total = desc.dwBufferBytes;
  const uint32_t first = std::min(size1, total);
  std::memcpy(data1, wave.WaveData(), first);
  if (data2 != nullptr) std::memcpy(data2, wave.WaveData() + first, std::min(size2, total - first));
  UnLock();
}

bool TDirectSoundBuffer::Lock(uint32_t offset, uint32_t size, uint8_t*& data1, uint32_t& size1,
                              uint8_t*& data2, uint32_t& size2) {
  data1 = data2 = nullptr;
  size1 = size2 = 0;
  if (lockCount_ > 0) return false;
  platform::AudioRegion first;
  platform::AudioRegion second;
  if (!result(IBuffer().lock(offset, size, first, second))) return false;
  data1 = first.data;
  size1 = first.size;
  data2 = second.data;
  size2 = second.size;
  lockCount_ = 1;
  return true;
}

bool TDirectSoundBuffer::UnLock() {
  if (lockCount_ == 0) return false;
  lockCount_ = 0;
  return result(IBuffer().unlock());
}

bool TDirectSoundBuffer::Stop() { return result(IBuffer().stop()); }

bool TDirectSoundBuffer::Playing() { return Made() && buffer_->playing(); }

bool TDirectSoundBuffer::SetFrequency(int32_t value) {
  return result(value >= 0 && IBuffer().setFrequency(static_cast<uint32_t>(value)));
}

bool TDirectSoundBuffer::SetPan(int32_t value) { return result(IBuffer().setPan(value)); }

bool TDirectSoundBuffer::SetVolume(int32_t value) { return result(IBuffer().setVolume(value)); }

void TDirectSoundBuffer::ResultError() {
  if (LastResult() == DSERR_BUFFERLOST && sound_ != nullptr) sound_->BuffersLost();
}
