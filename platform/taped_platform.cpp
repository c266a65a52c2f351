#include "platform/taped_platform.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <thread>

#include "platform/input_system.h"

namespace platform {
namespace {

// The clock. A replay with a display waits at each reading until as much real time has
// passed since the first one as had passed in the recorded game.
class TapedClock final : public Clock {
 public:
  TapedClock(ReplayTape& tape, Clock* real) : tape_(tape), real_(real) {}
  uint32_t ticks() override {
    ticks_ = tape_.answer<ReplayKind::Ticks>([this] { return real_->ticks(); }, ticks_);
    if (tape_.display() != nullptr && tape_.running()) pace();
    return ticks_;
  }
  uint64_t highResCounter() override {
    counter_ =
        tape_.answer<ReplayKind::Counter>([this] { return real_->highResCounter(); }, counter_);
    return counter_;
  }
  // Fixed while the machine runs: the file's header holds it.
  uint64_t highResFrequency() override {
    return real_ != nullptr ? real_->highResFrequency() : tape_.header().counterFrequency;
  }

 private:
  void pace() {
    using namespace std::chrono;
    const auto now = steady_clock::now();
    if (!first_) {
      first_ = ticks_;
      start_ = now;
      return;
    }
    const auto due = start_ + milliseconds(static_cast<uint32_t>(ticks_ - *first_));
    // Waits in slices, so that the windows stay alive and can stop the replay.
    for (auto t = now; t < due && tape_.running(); t = steady_clock::now()) {
      std::this_thread::sleep_until(std::min(due, t + milliseconds(50)));
      tape_.pumpDisplay();
    }
  }

  ReplayTape& tape_;
  Clock* real_;
  uint32_t ticks_ = 0;
  uint64_t counter_ = 0;
  std::optional<uint32_t> first_;
  std::chrono::steady_clock::time_point start_;
};

class TapedEvents final : public EventSource {
 public:
  TapedEvents(ReplayTape& tape, EventSource* real) : tape_(tape), real_(real) {}
  bool poll(Event& event) override {
    return tape_.poll(event, [this](Event& e) { return real_->poll(e); });
  }
  // A replay's pace comes from its clock: it only keeps the display alive here.
  void wait(int timeoutMs) override {
    if (real_ != nullptr) real_->wait(timeoutMs);
    tape_.pumpDisplay();
  }

 private:
  ReplayTape& tape_;
  EventSource* real_;
};

class TapedText final : public TextRenderer {
 public:
  TapedText(ReplayTape& tape, TextRenderer* real) : tape_(tape), real_(real) {}
  void drawText(void* pixels, int width, int height, int pitch, PixelFormat format, int x, int y,
                const std::string& text, const FontSpec& font) override {
    if (real_ != nullptr) real_->drawText(pixels, width, height, pitch, format, x, y, text, font);
  }
  void textExtent(const std::string& text, const FontSpec& font, int& width, int& height) override {
    const auto size = tape_.answer<ReplayKind::TextExtent>([&] {
      real_->textExtent(text, font, width, height);
      return std::array<int32_t, 2>{width, height};
    });
    width = size[0];
    height = size[1];
  }

 private:
  ReplayTape& tape_;
  TextRenderer* real_;
};

class TapedHaptic final : public HapticDevice {
 public:
  TapedHaptic(ReplayTape& tape, HapticDevice* real) : tape_(tape), real_(real) {}
  std::vector<HapticKind> supportedKinds() override {
    return tape_.answer<ReplayKind::HapticKinds>([this] { return real_->supportedKinds(); });
  }
  int createEffect(const HapticEffect& effect) override {
    return static_cast<int>(tape_.answer<ReplayKind::HapticCreate>(
        [&] { return int64_t{real_->createEffect(effect)}; }, -1));
  }
  bool updateEffect(int handle, const HapticEffect& effect) override {
    return tape_.answer<ReplayKind::HapticUpdate>(
        [&] { return real_->updateEffect(handle, effect); });
  }
  bool runEffect(int handle, uint32_t iterations) override {
    return tape_.answer<ReplayKind::HapticRun>(
        [&] { return real_->runEffect(handle, iterations); });
  }
  bool stopEffect(int handle) override {
    return tape_.answer<ReplayKind::HapticStop>([&] { return real_->stopEffect(handle); });
  }
  int effectStatus(int handle) override {
    return static_cast<int>(tape_.answer<ReplayKind::HapticStatus>(
        [&] { return int64_t{real_->effectStatus(handle)}; }));
  }
  void destroyEffect(int handle) override {
    if (real_ != nullptr) real_->destroyEffect(handle);
  }
  bool setAutocenter(bool on) override {
    return tape_.answer<ReplayKind::HapticAutocenter>([&] { return real_->setAutocenter(on); });
  }

 private:
  ReplayTape& tape_;
  HapticDevice* real_;
};

class TapedJoystick final : public Joystick {
 public:
  TapedJoystick(ReplayTape& tape, std::unique_ptr<Joystick> real)
      : tape_(tape), real_(std::move(real)) {}
  bool attached() override {
    return tape_.answer<ReplayKind::JoystickAttached>([this] { return real_->attached(); });
  }
  int axisCount() override {
    return static_cast<int>(
        tape_.answer<ReplayKind::JoystickAxes>([this] { return int64_t{real_->axisCount()}; }));
  }
  int buttonCount() override {
    return static_cast<int>(tape_.answer<ReplayKind::JoystickButtons>(
        [this] { return int64_t{real_->buttonCount()}; }));
  }
  bool read(JoystickReading& reading) override {
    const auto read = tape_.answer<ReplayKind::JoystickRead>(
        [&] { return real_->read(reading) ? std::optional(reading) : std::nullopt; });
    if (read) reading = *read;
    return read.has_value();
  }
  HapticDevice* haptic() override {
    HapticDevice* motor = nullptr;
    const bool has = tape_.answer<ReplayKind::JoystickHaptic>([&] {
      motor = real_->haptic();
      return motor != nullptr;
    });
    if (!has) return nullptr;
    auto& wrapper = motors_[motor];  // replaying, the one motor has no real one
    if (!wrapper) wrapper = std::make_unique<TapedHaptic>(tape_, motor);
    return wrapper.get();
  }

 private:
  ReplayTape& tape_;
  std::unique_ptr<Joystick> real_;
  std::map<HapticDevice*, std::unique_ptr<TapedHaptic>> motors_;
};

class TapedInput final : public InputSystem {
 public:
  TapedInput(ReplayTape& tape, InputSystem* real) : tape_(tape), real_(real) {}
  bool acquireDeviceLayer() override {
    return tape_.answer<ReplayKind::DeviceLayer>([this] { return real_->acquireDeviceLayer(); });
  }
  void releaseDeviceLayer() override {
    if (real_ != nullptr) real_->releaseDeviceLayer();
  }
  void keyboardState(std::array<uint8_t, 256>& keys) override {
    keys = tape_.answer<ReplayKind::Keyboard>([&] {
      real_->keyboardState(keys);
      return keys;
    });
  }
  bool readMouse(MouseReading& reading) override {
    const auto read = tape_.answer<ReplayKind::Mouse>(
        [&] { return real_->readMouse(reading) ? std::optional(reading) : std::nullopt; });
    if (read) reading = *read;
    return read.has_value();
  }
  int joystickCount() override {
    return static_cast<int>(tape_.answer<ReplayKind::JoystickCount>(
        [this] { return int64_t{real_->joystickCount()}; }));
  }
  uint32_t joystickChanges() override {
    return static_cast<uint32_t>(tape_.answer<ReplayKind::JoystickChanges>(
        [this] { return int64_t{real_->joystickChanges()}; }));
  }
  std::unique_ptr<Joystick> openJoystick(int position, bool haptics) override {
    std::unique_ptr<Joystick> stick;
    const bool opened = tape_.answer<ReplayKind::OpenJoystick>([&] {
      stick = real_->openJoystick(position, haptics);
      return stick != nullptr;
    });
    if (!opened) return nullptr;
    return std::make_unique<TapedJoystick>(tape_, std::move(stick));
  }
  int addControllerMappings(const std::string& file) override {
    return static_cast<int>(tape_.answer<ReplayKind::PadLayouts>(
        [&] { return int64_t{real_->addControllerMappings(file)}; }, -1));
  }

 private:
  ReplayTape& tape_;
  InputSystem* real_;
};

// The sound device. Replaying, the game only prepares its samples, so the device the
// machine opens in its place (one in memory) serves.
class TapedAudio final : public AudioSystem {
 public:
  TapedAudio(ReplayTape& tape, AudioSystem& real) : tape_(tape), real_(real) {}
  std::unique_ptr<AudioDevice> openDevice() override {
    std::unique_ptr<AudioDevice> device;
    const bool opened = tape_.answer<ReplayKind::AudioDevice>([&] {
      device = real_.openDevice();
      return device != nullptr;
    });
    if (opened && device == nullptr) device = real_.openDevice();
    return device;
  }

 private:
  ReplayTape& tape_;
  AudioSystem& real_;
};

std::array<int32_t, 4> rectangle(int a, int b, int c, int d) { return {a, b, c, d}; }

// A window whose answers go through the tape. The real window shows the game; a headless
// replay has none.
class TapedWindow final : public Window {
 public:
  TapedWindow(ReplayTape& tape, uint32_t id, std::unique_ptr<Window> real)
      : tape_(tape), id_(id), real_(std::move(real)) {}
  uint32_t id() const override { return id_; }
  void show() override {
    if (real_) real_->show();
  }
  void hide() override {
    if (real_) real_->hide();
  }
  bool visible() const override {
    return tape_.answer<ReplayKind::WindowVisible>([this] { return real_->visible(); });
  }
  void setCaption(const std::string& caption) override {
    if (real_) real_->setCaption(caption);
  }
  std::string caption() const override {
    return tape_.answer<ReplayKind::WindowCaption>([this] { return real_->caption(); });
  }
  void setBordered(bool bordered) override {
    if (real_) real_->setBordered(bordered);
  }
  void setFullscreen(bool fullscreen) override {
    if (real_) real_->setFullscreen(fullscreen);
  }
  bool fullscreen() const override {
    return tape_.answer<ReplayKind::WindowFullscreen>([this] { return real_->fullscreen(); });
  }
  void setClientSize(int width, int height) override {
    if (real_) real_->setClientSize(width, height);
  }
  Placement placement() const override {
    return tape_.answer<ReplayKind::WindowPlacement>([this] { return real_->placement(); });
  }
  void setPlacement(const Placement& placement) override {
    if (real_) real_->setPlacement(placement);
  }
  ScreenArea workArea() const override {
    const auto a = tape_.answer<ReplayKind::WindowWorkArea>([this] {
      const ScreenArea r = real_->workArea();
      return rectangle(r.x, r.y, r.width, r.height);
    });
    return {a[0], a[1], a[2], a[3]};
  }
  FrameExtents frameExtents() const override {
    const auto f = tape_.answer<ReplayKind::WindowFrame>([this] {
      const FrameExtents r = real_->frameExtents();
      return rectangle(r.left, r.top, r.right, r.bottom);
    });
    return {f[0], f[1], f[2], f[3]};
  }
  void setCursorVisible(bool visible) override {
    if (real_) real_->setCursorVisible(visible);
  }
  void raise() override {
    if (real_) real_->raise();
  }
  // The real parent is the window the taped parent wraps (with the same id while
  // recording; a replay's recorded id may be no window of the display's).
  void setParent(const Window* parent) override {
    if (!real_) return;
    const auto* taped = dynamic_cast<const TapedWindow*>(parent);
    real_->setParent(taped != nullptr ? taped->real_.get() : parent);
  }
  void setLogicalSize(int width, int height, PresentMode mode) override {
    if (real_) real_->setLogicalSize(width, height, mode);
  }
  bool present(const void* pixels, int width, int height, int pitch, PixelFormat format,
               PresentMode mode, bool vsync) override {
    bool shown = true;
    if (real_) shown = real_->present(pixels, width, height, pitch, format, mode, vsync);
    return tape_.answer<ReplayKind::WindowPresent>([shown] { return shown; }, true);
  }
  // Paced only when shown: a headless replay goes as fast as it can.
  void skipFrame(bool vsync) override {
    if (real_) real_->skipFrame(vsync);
  }

 private:
  ReplayTape& tape_;
  uint32_t id_;
  std::unique_ptr<Window> real_;
};

}  // namespace

TapedPlatform::TapedPlatform(std::unique_ptr<ReplayTape> tape, TapedMachine machine)
    : tape_(std::move(tape)),
      machine_(std::move(machine)),
      clock_(std::make_unique<TapedClock>(*tape_, machine_.clock)),
      events_(std::make_unique<TapedEvents>(*tape_, machine_.events)),
      text_(std::make_unique<TapedText>(*tape_, machine_.text)),
      input_(std::make_unique<TapedInput>(*tape_, machine_.input)),
      audio_(std::make_unique<TapedAudio>(*tape_, *machine_.audio)) {}

TapedPlatform::~TapedPlatform() = default;

Clock& TapedPlatform::clock() { return *clock_; }
EventSource& TapedPlatform::events() { return *events_; }
TextRenderer& TapedPlatform::text() { return *text_; }
InputSystem& TapedPlatform::input() { return *input_; }
AudioSystem& TapedPlatform::audio() { return *audio_; }

std::unique_ptr<Window> TapedPlatform::createWindow(const WindowDesc& desc) {
  std::unique_ptr<Window> real;
  if (machine_.windows != nullptr) real = machine_.windows->createWindow(desc);
  const auto id = static_cast<uint32_t>(
      tape_->answer<ReplayKind::CreateWindow>([&] { return int64_t{real->id()}; }));
  return std::make_unique<TapedWindow>(*tape_, id, std::move(real));
}

std::vector<DisplayMode> TapedPlatform::displayModes() {
  return tape_->answer<ReplayKind::DisplayModes>(
      [this] { return machine_.windows->displayModes(); });
}

DisplayMode TapedPlatform::desktopMode() {
  const auto m = tape_->answer<ReplayKind::DesktopMode>([this] {
    const DisplayMode r = machine_.windows->desktopMode();
    return rectangle(r.width, r.height, r.bitCount, r.refreshRate);
  });
  return {m[0], m[1], m[2], m[3]};
}

std::string TapedPlatform::executablePath() {
  return tape_->answer<ReplayKind::ExecutablePath>(
      [this] { return machine_.windows->executablePath(); });
}

}  // namespace platform
