#include "platform/memory_audio_buffer.h"

namespace platform {

namespace {
constexpr uint32_t kMaxFrequency = 100000;
constexpr int32_t kPanLimit = 10000;
constexpr int32_t kSilence = -10000;
}  // namespace

MemoryAudioBuffer::MemoryAudioBuffer(const AudioFormat& format, uint32_t bytes)
    : format_(format), samples_(bytes) {}

bool MemoryAudioBuffer::lock(uint32_t offset, uint32_t count, AudioRegion& first,
                             AudioRegion& second) {
  first = AudioRegion{};
  second = AudioRegion{};
  const uint64_t size = samples_.size();
  if (locked_ || lost_ || offset >= size || count == 0 || count > size) return false;
  const uint32_t untilEnd = static_cast<uint32_t>(size - offset);
  first = AudioRegion{samples_.data() + offset, count < untilEnd ? count : untilEnd};
  if (count > untilEnd) second = AudioRegion{samples_.data(), count - untilEnd};
  locked_ = true;
  return true;
}

bool MemoryAudioBuffer::unlock() {
  if (!locked_) return false;
  locked_ = false;
  return convert(samples_, deviceSamples_);
}

bool MemoryAudioBuffer::restore() {
  lost_ = false;
  return true;
}

bool MemoryAudioBuffer::stop() {
  if (lost_) return false;
  playing_ = false;
  return true;
}

bool MemoryAudioBuffer::setFrequency(uint32_t hz) {
  if (lost_ || hz > kMaxFrequency) return false;
  frequency_ = hz;
  return true;
}

bool MemoryAudioBuffer::setPan(int32_t pan) {
  if (lost_ || pan < -kPanLimit || pan > kPanLimit) return false;
  pan_ = pan;
  return true;
}

bool MemoryAudioBuffer::setVolume(int32_t volume) {
  if (lost_ || volume < kSilence || volume > 0) return false;
  volume_ = volume;
  return true;
}

void MemoryAudioBuffer::markLost() {
  lost_ = true;
  locked_ = false;
  playing_ = false;
  deviceSamples_.clear();
}

}  // namespace platform
