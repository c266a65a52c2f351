#include "platform/fake_audio.h"

#include <algorithm>

namespace platform {

namespace {

class FakePrimaryBuffer : public MemoryAudioBuffer {
 public:
  explicit FakePrimaryBuffer(const AudioFormat& format) : MemoryAudioBuffer(format, 0) {}

 protected:
  bool convert(const std::vector<uint8_t>&, std::vector<uint8_t>& out) override {
    out.clear();
    return true;
  }
};

class FakeAudioDevice : public AudioDevice {
 public:
  explicit FakeAudioDevice(std::shared_ptr<FakeAudioState> state) : state_(std::move(state)) {
    ++state_->devicesOpened;
    ++state_->devicesOpen;
    state_->deviceFormat = state_->openedIn;
  }
  ~FakeAudioDevice() override { --state_->devicesOpen; }
  FakeAudioDevice(const FakeAudioDevice&) = delete;
  FakeAudioDevice& operator=(const FakeAudioDevice&) = delete;

  AudioFormat format() const override { return state_->deviceFormat; }
  bool paused() const override { return true; }
  bool setCooperativeLevel(uint32_t windowId, AudioCooperation level) override {
    ++state_->cooperationCalls;
    state_->cooperationWindow = windowId;
    state_->cooperation = level;
    return true;
  }
  std::unique_ptr<AudioBuffer> createPrimaryBuffer() override {
    if (state_->refusePrimary) return nullptr;
    return std::make_unique<FakePrimaryBuffer>(state_->deviceFormat);
  }
  std::unique_ptr<AudioBuffer> createBuffer(const AudioFormat& format, uint32_t bytes) override {
    if (state_->refuseBuffers || bytes == 0 || format.frameBytes() == 0) return nullptr;
    if (state_->buffers.empty()) state_->deviceFormat = format;
    return std::make_unique<FakeAudioBuffer>(state_, format, bytes);
  }

 private:
  std::shared_ptr<FakeAudioState> state_;
};

}  // namespace

FakeAudioBuffer::FakeAudioBuffer(std::shared_ptr<FakeAudioState> state, const AudioFormat& format,
                                 uint32_t bytes)
    : MemoryAudioBuffer(format, bytes), state_(std::move(state)) {
  state_->buffers.push_back(this);
  ++state_->buffersCreated;
}

FakeAudioBuffer::~FakeAudioBuffer() {
  auto& list = state_->buffers;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

bool FakeAudioBuffer::lock(uint32_t offset, uint32_t count, AudioRegion& first,
                           AudioRegion& second) {
  if (state_->refuseLocks) {
    first = AudioRegion{};
    second = AudioRegion{};
    return false;
  }
  return MemoryAudioBuffer::lock(offset, count, first, second);
}

bool FakeAudioBuffer::stop() {
  ++stopCalls;
  if (!MemoryAudioBuffer::stop()) return false;
  fakePlaying_ = false;
  return true;
}

bool FakeAudioBuffer::convert(const std::vector<uint8_t>& samples, std::vector<uint8_t>& out) {
  // The fake device plays every format as it is.
  out = samples;
  return true;
}

std::unique_ptr<AudioDevice> FakeAudioSystem::openDevice() { return openDeviceIn(AudioFormat{}); }

std::unique_ptr<AudioDevice> FakeAudioSystem::openDeviceIn(const AudioFormat& format) {
  if (!state_->deviceAvailable) return nullptr;
  state_->openedIn = format;
  return std::make_unique<FakeAudioDevice>(state_);
}

std::unique_ptr<AudioSystem> createFakeAudioSystem() { return std::make_unique<FakeAudioSystem>(); }

}  // namespace platform
