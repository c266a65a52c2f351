#pragma once
// The sound device as the sound engine sees it: a device opened paused, a handle on
// its output (the primary buffer), and buffers that hold samples ready in the device's
// format. Nothing here plays a sound; the game only prepares its samples.
//
// Like the other wrappers, every operation reports failure as false (or nullptr) and
// leaves the reason to the caller's result code. A buffer whose samples the device has
// dropped reports lost() until restore() succeeds; its samples must then be written
// again.

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// A sample layout: the fields of a wave's format block that a device needs.
struct AudioFormat {
  uint16_t formatTag = 1;  // 1 PCM integers, 3 IEEE floats
  uint16_t channels = 2;
  uint32_t samplesPerSec = 22050;
  uint16_t bitsPerSample = 16;

  bool operator==(const AudioFormat&) const = default;
  uint32_t frameBytes() const { return uint32_t{channels} * (bitsPerSample / 8u); }
};

// Cooperation of the device with other programs.
enum class AudioCooperation { Normal, Exclusive };

// One region of a locked buffer.
struct AudioRegion {
  uint8_t* data = nullptr;
  uint32_t size = 0;
};

class AudioBuffer {
 public:
  virtual ~AudioBuffer() = default;
  // The format the samples are given in, and their byte count in that format; the
  // primary buffer reports the device's format and size 0.
  virtual AudioFormat format() const = 0;
  virtual uint32_t size() const = 0;
  // The buffer is a ring: count bytes from offset come as a first region up to the
  // buffer's end and a second one from its start. One lock at a time.
  virtual bool lock(uint32_t offset, uint32_t count, AudioRegion& first, AudioRegion& second) = 0;
  // Ends the lock; the samples are then converted into the device's format.
  virtual bool unlock() = 0;
  virtual bool lost() const = 0;
  virtual bool restore() = 0;
  virtual bool stop() = 0;
  virtual bool playing() const = 0;
  // 0 Hz is the samples' own rate; pan -10000 (left) to 10000 (right); volume in
  // hundredths of a decibel, -10000 (silent) to 0 (full level).
  virtual bool setFrequency(uint32_t hz) = 0;
  virtual bool setPan(int32_t pan) = 0;
  virtual bool setVolume(int32_t volume) = 0;
  // The samples as the device would play them (empty for the primary buffer).
  virtual const std::vector<uint8_t>& deviceSamples() const = 0;
};

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // The format the device plays in. It follows the format of the first buffer made while
  // the device holds none, so the one wave a program prepares needs no resampling.
  virtual AudioFormat format() const = 0;
  virtual bool paused() const = 0;
  virtual bool setCooperativeLevel(uint32_t windowId, AudioCooperation level) = 0;
  virtual std::unique_ptr<AudioBuffer> createPrimaryBuffer() = 0;
  // A buffer of bytes bytes of samples in format; nullptr when the format cannot be
  // played or the device refuses.
  virtual std::unique_ptr<AudioBuffer> createBuffer(const AudioFormat& format, uint32_t bytes) = 0;
};

class AudioSystem {
 public:
  virtual ~AudioSystem() = default;
  // Opens the default output device, paused; nullptr when there is no device or driver.
  virtual std::unique_ptr<AudioDevice> openDevice() = 0;
  // The same, in the format of the samples the caller is about to prepare, so that the
  // device need not be opened again to follow its first buffer (a close waits for the
  // device's thread to finish the period it is sleeping through). Where the system cannot
  // choose, the device opens as openDevice() opens it.
  virtual std::unique_ptr<AudioDevice> openDeviceIn(const AudioFormat& /*format*/) {
    return openDevice();
  }
};

std::unique_ptr<AudioSystem> createSdlAudioSystem();
std::unique_ptr<AudioSystem> createFakeAudioSystem();

}  // namespace platform
