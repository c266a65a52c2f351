#pragma once
// A sound device for tests: no sound, every buffer visible, and switches that make the
// device absent, refuse buffers or locks, or drop the buffers' samples.

#include <memory>
#include <vector>

#include "platform/audio_system.h"
#include "platform/memory_audio_buffer.h"

namespace platform {

class FakeAudioBuffer;

// What the fake device does and has done; shared by the system, its devices and their
// buffers, so a test can watch them after the engine has taken ownership.
struct FakeAudioState {
  bool deviceAvailable = true;
  bool refusePrimary = false;
  bool refuseBuffers = false;
  bool refuseLocks = false;
  AudioFormat deviceFormat;  // set to each new device's first buffer format, as SDL's is
  int devicesOpened = 0;
  AudioFormat openedIn;  // the format the last device was asked to open in
  int devicesOpen = 0;
  uint32_t cooperationWindow = 0;
  AudioCooperation cooperation = AudioCooperation::Normal;
  int cooperationCalls = 0;
  std::vector<FakeAudioBuffer*> buffers;  // live secondary buffers, oldest first
  int buffersCreated = 0;
};

class FakeAudioBuffer : public MemoryAudioBuffer {
 public:
  FakeAudioBuffer(std::shared_ptr<FakeAudioState> state, const AudioFormat& format, uint32_t bytes);
  ~FakeAudioBuffer() override;
  bool lock(uint32_t offset, uint32_t count, AudioRegion& first, AudioRegion& second) override;
  // Pretends the buffer plays, so a test can see stop() reach it.
  void startPlaying() { fakePlaying_ = true; }
  bool playing() const override { return fakePlaying_; }
  bool stop() override;
  int stopCalls = 0;

 protected:
  bool convert(const std::vector<uint8_t>& samples, std::vector<uint8_t>& out) override;

 private:
  std::shared_ptr<FakeAudioState> state_;
  bool fakePlaying_ = false;
};

class FakeAudioSystem : public AudioSystem {
 public:
  FakeAudioSystem() : state_(std::make_shared<FakeAudioState>()) {}
  std::unique_ptr<AudioDevice> openDevice() override;
  std::unique_ptr<AudioDevice> openDeviceIn(const AudioFormat& format) override;
  FakeAudioState& state() { return *state_; }

 private:
  std::shared_ptr<FakeAudioState> state_;
};

}  // namespace platform
