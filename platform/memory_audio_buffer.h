#pragma once
// A buffer of samples held in memory: the ring lock, the lost state and the settings
// that every audio back end shares. A back end supplies the conversion into its
// device's format.

#include <cstdint>
#include <vector>

#include "platform/audio_system.h"

namespace platform {

class MemoryAudioBuffer : public AudioBuffer {
 public:
  MemoryAudioBuffer(const AudioFormat& format, uint32_t bytes);

  AudioFormat format() const override { return format_; }
  uint32_t size() const override { return static_cast<uint32_t>(samples_.size()); }
  bool lock(uint32_t offset, uint32_t count, AudioRegion& first, AudioRegion& second) override;
  bool unlock() override;
  bool lost() const override { return lost_; }
  bool restore() override;
  bool stop() override;
  bool playing() const override { return playing_; }
  bool setFrequency(uint32_t hz) override;
  bool setPan(int32_t pan) override;
  bool setVolume(int32_t volume) override;
  const std::vector<uint8_t>& deviceSamples() const override { return deviceSamples_; }

  uint32_t frequency() const { return frequency_; }
  int32_t pan() const { return pan_; }
  int32_t volume() const { return volume_; }
  bool locked() const { return locked_; }
  // The device dropped the samples (a back end's own loss, or a test's).
  void markLost();
  const std::vector<uint8_t>& samples() const { return samples_; }

 protected:
  // Turns the buffer's samples into the device's; false when it cannot.
  virtual bool convert(const std::vector<uint8_t>& samples, std::vector<uint8_t>& out) = 0;

 private:
  AudioFormat format_;
  std::vector<uint8_t> samples_;
  std::vector<uint8_t> deviceSamples_;
  bool locked_ = false;
  bool lost_ = false;
  bool playing_ = false;
  uint32_t frequency_ = 0;
  int32_t pan_ = 0;
  int32_t volume_ = 0;
};

}  // namespace platform
