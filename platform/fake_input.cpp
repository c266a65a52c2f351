#include "platform/fake_input.h"

#include "platform/rumble_motor.h"

namespace platform {

namespace {

class FakeJoystick : public Joystick {
 public:
  FakeJoystick(std::shared_ptr<FakeJoystickDevice> device, bool haptics)
      : device_(std::move(device)), haptics_(haptics) {
    if (haptics_ && !device_->motor && device_->rumble) {
      FakeJoystickDevice* d = device_.get();
      rumble_ = std::make_unique<RumbleMotor>([d](uint16_t low, uint16_t high, uint32_t ms) {
        if (!d->plugged) return false;
        d->rumbleCalls.push_back({low, high, ms});
        return true;
      });
    }
  }
  bool attached() override { return device_->plugged; }
  int axisCount() override { return device_->axisCount; }
  int buttonCount() override { return device_->buttonCount; }
  bool read(JoystickReading& reading) override {
    if (!device_->plugged || !device_->readable) return false;
    reading = device_->state;
    device_->state.pressed.fill(false);
    return true;
  }
  HapticDevice* haptic() override {
    if (!haptics_ || !device_->plugged) return nullptr;
    if (device_->motor) return device_->motor.get();
    return rumble_.get();
  }

 private:
  std::shared_ptr<FakeJoystickDevice> device_;
  bool haptics_;
  std::unique_ptr<RumbleMotor> rumble_;
};

}  // namespace

void FakeJoystickDevice::press(int button, bool down) {
  const auto i = static_cast<size_t>(button);
  state.buttons.at(i) = down;
  if (down) state.pressed.at(i) = true;
}

void FakeJoystickDevice::deflect(int x, int y) {
  const int32_t centre = (state.axisMin + state.axisMax) / 2;
  auto end = [&](int direction) {
    return direction > 0 ? state.axisMax : direction < 0 ? state.axisMin : centre;
  };
  state.axes[0] = end(x);
  state.axes[1] = end(y);
}

int FakeHapticDevice::liveEffects() const {
  int n = 0;
  for (const Record& r : records) n += r.alive ? 1 : 0;
  return n;
}

void FakeHapticDevice::finishAll() {
  for (Record& r : records) r.playing = false;
}

FakeHapticDevice::Record* FakeHapticDevice::find(int handle) {
  if (handle < 0 || handle >= static_cast<int>(records.size())) return nullptr;
  Record& r = records[static_cast<size_t>(handle)];
  return r.alive ? &r : nullptr;
}

int FakeHapticDevice::createEffect(const HapticEffect& effect) {
  if (failCreate) return -1;
  records.push_back(Record{effect});
  const int handle = static_cast<int>(records.size()) - 1;
  log.push_back("create " + std::to_string(handle));
  return handle;
}

bool FakeHapticDevice::updateEffect(int handle, const HapticEffect& effect) {
  Record* r = find(handle);
  if (r == nullptr) return false;
  r->effect = effect;
  ++r->updates;
  log.push_back("update " + std::to_string(handle));
  return true;
}

bool FakeHapticDevice::runEffect(int handle, uint32_t /*iterations*/) {
  Record* r = find(handle);
  if (r == nullptr) return false;
  if (failRuns > 0) {
    --failRuns;
    log.push_back("run failed " + std::to_string(handle));
    return false;
  }
  r->playing = true;
  ++r->runs;
  log.push_back("run " + std::to_string(handle));
  return true;
}

bool FakeHapticDevice::stopEffect(int handle) {
  Record* r = find(handle);
  if (r == nullptr) return false;
  r->playing = false;
  ++r->stops;
  log.push_back("stop " + std::to_string(handle));
  return true;
}

int FakeHapticDevice::effectStatus(int handle) {
  Record* r = find(handle);
  if (r == nullptr) return 0;
  return r->playing ? statusOfPlaying : 0;
}

void FakeHapticDevice::destroyEffect(int handle) {
  Record* r = find(handle);
  if (r == nullptr) return;
  r->alive = false;
  r->playing = false;
  log.push_back("destroy " + std::to_string(handle));
}

bool FakeHapticDevice::setAutocenter(bool on) {
  autocenter = on;
  return true;
}

FakeInputSystem::FakeInputSystem() = default;

std::shared_ptr<FakeJoystickDevice> FakeInputSystem::plugJoystick(int axisCount, int buttonCount,
                                                                  bool forceFeedback) {
  auto device = std::make_shared<FakeJoystickDevice>();
  device->axisCount = axisCount;
  device->buttonCount = buttonCount;
  device->state.axisMin = -32768;
  device->state.axisMax = 32767;
  if (forceFeedback) device->motor = std::make_unique<FakeHapticDevice>();
  joysticks.push_back(device);
  ++changes;
  return device;
}

std::shared_ptr<FakeJoystickDevice> FakeInputSystem::plugPad() {
  auto pad = plugJoystick(kPadAxisCount, kPadButtonCount, false);
  pad->rumble = true;
  return pad;
}

void FakeInputSystem::unplugJoystick(const std::shared_ptr<FakeJoystickDevice>& device) {
  for (auto it = joysticks.begin(); it != joysticks.end(); ++it) {
    if (*it == device) {
      device->plugged = false;
      joysticks.erase(it);
      ++changes;
      return;
    }
  }
}

bool FakeInputSystem::acquireDeviceLayer() {
  if (!deviceLayerWorks) return false;
  ++deviceLayerUsers;
  return true;
}

void FakeInputSystem::releaseDeviceLayer() {
  if (deviceLayerUsers > 0) --deviceLayerUsers;
}

bool FakeInputSystem::readMouse(MouseReading& reading) {
  if (!mousePresent) return false;
  reading = mouse;
  mouse.x = mouse.y = mouse.z = 0;
  return true;
}

std::unique_ptr<Joystick> FakeInputSystem::openJoystick(int position, bool haptics) {
  if (position < 0 || position >= static_cast<int>(joysticks.size())) return nullptr;
  const auto& device = joysticks[static_cast<size_t>(position)];
  ++device->opens;
  return std::make_unique<FakeJoystick>(device, haptics && deviceLayerUsers > 0);
}

int FakeInputSystem::addControllerMappings(const std::string& file) {
  mappingFiles.push_back(file);
  return mappingsInAFile;
}

std::unique_ptr<InputSystem> createFakeInputSystem() { return std::make_unique<FakeInputSystem>(); }

}  // namespace platform
