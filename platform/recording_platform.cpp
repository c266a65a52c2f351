#include "platform/recording_platform.h"

#include <map>

#include "platform/audio_system.h"
#include "platform/input_system.h"

namespace platform {

class RecordingPlatform::Log {
 public:
  explicit Log(ReplayWriter& writer) : writer_(writer) {}

  void value(ReplayKind kind, int64_t value) {
    record_.kind = kind;
    record_.value = value;
    writer_.write(record_);
  }
  void numbers(ReplayKind kind, int32_t a, int32_t b, int32_t c = 0, int32_t d = 0,
               int64_t value = 0) {
    record_.kind = kind;
    record_.numbers = {a, b, c, d};
    record_.value = value;
    writer_.write(record_);
  }
  void text(ReplayKind kind, const std::string& text) {
    record_.kind = kind;
    record_.text = text;
    writer_.write(record_);
  }
  // A record filled by the caller, written by write().
  ReplayRecord& start(ReplayKind kind) {
    record_.kind = kind;
    return record_;
  }
  void write() { writer_.write(record_); }

 private:
  ReplayWriter& writer_;
  ReplayRecord record_;
};

namespace {

using Log = RecordingPlatform::Log;

class RecordingClock final : public Clock {
 public:
  RecordingClock(Clock& real, Log& log) : real_(real), log_(log) {}
  uint32_t ticks() override {
    const uint32_t ticks = real_.ticks();
    log_.value(ReplayKind::Ticks, ticks);
    return ticks;
  }
  uint64_t highResCounter() override {
    const uint64_t counter = real_.highResCounter();
    log_.value(ReplayKind::Counter, static_cast<int64_t>(counter));
    return counter;
  }
  // Fixed while the machine runs: the file's header holds it.
  uint64_t highResFrequency() override { return real_.highResFrequency(); }

 private:
  Clock& real_;
  Log& log_;
};

class RecordingEvents final : public EventSource {
 public:
  RecordingEvents(EventSource& real, Log& log) : real_(real), log_(log) {}
  bool poll(Event& event) override {
    if (!real_.poll(event)) {
      log_.start(ReplayKind::NoEvent);
      log_.write();
      return false;
    }
    log_.start(ReplayKind::Event).event = event;
    log_.write();
    return true;
  }
  void wait(int timeoutMs) override { real_.wait(timeoutMs); }

 private:
  EventSource& real_;
  Log& log_;
};

class RecordingText final : public TextRenderer {
 public:
  RecordingText(TextRenderer& real, Log& log) : real_(real), log_(log) {}
  void drawText(void* pixels, int width, int height, int pitch, PixelFormat format, int x, int y,
                const std::string& text, const FontSpec& font) override {
    real_.drawText(pixels, width, height, pitch, format, x, y, text, font);
  }
  void textExtent(const std::string& text, const FontSpec& font, int& width, int& height) override {
    real_.textExtent(text, font, width, height);
    log_.numbers(ReplayKind::TextExtent, width, height);
  }

 private:
  TextRenderer& real_;
  Log& log_;
};

class RecordingHaptic final : public HapticDevice {
 public:
  RecordingHaptic(HapticDevice& real, Log& log) : real_(real), log_(log) {}
  std::vector<HapticKind> supportedKinds() override {
    std::vector<HapticKind> kinds = real_.supportedKinds();
    log_.start(ReplayKind::HapticKinds).hapticKinds = kinds;
    log_.write();
    return kinds;
  }
  int createEffect(const HapticEffect& effect) override {
    return logged(ReplayKind::HapticCreate, real_.createEffect(effect));
  }
  bool updateEffect(int handle, const HapticEffect& effect) override {
    return logged(ReplayKind::HapticUpdate, real_.updateEffect(handle, effect));
  }
  bool runEffect(int handle, uint32_t iterations) override {
    return logged(ReplayKind::HapticRun, real_.runEffect(handle, iterations));
  }
  bool stopEffect(int handle) override {
    return logged(ReplayKind::HapticStop, real_.stopEffect(handle));
  }
  int effectStatus(int handle) override {
    return logged(ReplayKind::HapticStatus, real_.effectStatus(handle));
  }
  void destroyEffect(int handle) override { real_.destroyEffect(handle); }
  bool setAutocenter(bool on) override {
    return logged(ReplayKind::HapticAutocenter, real_.setAutocenter(on));
  }

 private:
  template <typename T>
  T logged(ReplayKind kind, T answer) {
    log_.value(kind, static_cast<int64_t>(answer));
    return answer;
  }
  HapticDevice& real_;
  Log& log_;
};

class RecordingJoystick final : public Joystick {
 public:
  RecordingJoystick(std::unique_ptr<Joystick> real, Log& log) : real_(std::move(real)), log_(log) {}
  bool attached() override {
    const bool answer = real_->attached();
    log_.value(ReplayKind::JoystickAttached, answer);
    return answer;
  }
  int axisCount() override {
    const int answer = real_->axisCount();
    log_.value(ReplayKind::JoystickAxes, answer);
    return answer;
  }
  int buttonCount() override {
    const int answer = real_->buttonCount();
    log_.value(ReplayKind::JoystickButtons, answer);
    return answer;
  }
  bool read(JoystickReading& reading) override {
    const bool answer = real_->read(reading);
    ReplayRecord& record = log_.start(ReplayKind::JoystickRead);
    record.value = answer;
    if (answer) record.joystick = reading;
    log_.write();
    return answer;
  }
  HapticDevice* haptic() override {
    HapticDevice* motor = real_->haptic();
    log_.value(ReplayKind::JoystickHaptic, motor != nullptr);
    if (motor == nullptr) return nullptr;
    auto& wrapper = motors_[motor];
    if (!wrapper) wrapper = std::make_unique<RecordingHaptic>(*motor, log_);
    return wrapper.get();
  }

 private:
  std::unique_ptr<Joystick> real_;
  Log& log_;
  std::map<HapticDevice*, std::unique_ptr<RecordingHaptic>> motors_;
};

class RecordingInput final : public InputSystem {
 public:
  RecordingInput(InputSystem& real, Log& log) : real_(real), log_(log) {}
  bool acquireDeviceLayer() override {
    const bool answer = real_.acquireDeviceLayer();
    log_.value(ReplayKind::DeviceLayer, answer);
    return answer;
  }
  void releaseDeviceLayer() override { real_.releaseDeviceLayer(); }
  void keyboardState(std::array<uint8_t, 256>& keys) override {
    real_.keyboardState(keys);
    log_.start(ReplayKind::Keyboard).keys = keys;
    log_.write();
  }
  bool readMouse(MouseReading& reading) override {
    const bool answer = real_.readMouse(reading);
    ReplayRecord& record = log_.start(ReplayKind::Mouse);
    record.value = answer;
    if (answer) record.mouse = reading;
    log_.write();
    return answer;
  }
  int joystickCount() override {
    const int answer = real_.joystickCount();
    log_.value(ReplayKind::JoystickCount, answer);
    return answer;
  }
  uint32_t joystickChanges() override {
    const uint32_t answer = real_.joystickChanges();
    log_.value(ReplayKind::JoystickChanges, answer);
    return answer;
  }
  std::unique_ptr<Joystick> openJoystick(int position, bool haptics) override {
    std::unique_ptr<Joystick> stick = real_.openJoystick(position, haptics);
    log_.value(ReplayKind::OpenJoystick, stick != nullptr);
    if (!stick) return nullptr;
    return std::make_unique<RecordingJoystick>(std::move(stick), log_);
  }
  int addControllerMappings(const std::string& file) override {
    const int answer = real_.addControllerMappings(file);
    log_.value(ReplayKind::PadLayouts, answer);
    return answer;
  }

 private:
  InputSystem& real_;
  Log& log_;
};

class RecordingAudio final : public AudioSystem {
 public:
  RecordingAudio(AudioSystem& real, Log& log) : real_(real), log_(log) {}
  std::unique_ptr<AudioDevice> openDevice() override {
    std::unique_ptr<AudioDevice> device = real_.openDevice();
    log_.value(ReplayKind::AudioDevice, device != nullptr);
    return device;
  }

 private:
  AudioSystem& real_;
  Log& log_;
};

class RecordingWindow final : public Window {
 public:
  RecordingWindow(std::unique_ptr<Window> real, Log& log) : real_(std::move(real)), log_(log) {}
  uint32_t id() const override { return real_->id(); }
  void show() override { real_->show(); }
  void hide() override { real_->hide(); }
  bool visible() const override {
    const bool answer = real_->visible();
    log_.value(ReplayKind::WindowVisible, answer);
    return answer;
  }
  void setCaption(const std::string& caption) override { real_->setCaption(caption); }
  std::string caption() const override {
    std::string answer = real_->caption();
    log_.text(ReplayKind::WindowCaption, answer);
    return answer;
  }
  void setBordered(bool bordered) override { real_->setBordered(bordered); }
  void setFullscreen(bool fullscreen) override { real_->setFullscreen(fullscreen); }
  bool fullscreen() const override {
    const bool answer = real_->fullscreen();
    log_.value(ReplayKind::WindowFullscreen, answer);
    return answer;
  }
  void setClientSize(int width, int height) override { real_->setClientSize(width, height); }
  Placement placement() const override {
    const Placement p = real_->placement();
    log_.numbers(ReplayKind::WindowPlacement, p.x, p.y, p.width, p.height, p.maximized);
    return p;
  }
  void setPlacement(const Placement& placement) override { real_->setPlacement(placement); }
  ScreenArea workArea() const override {
    const ScreenArea a = real_->workArea();
    log_.numbers(ReplayKind::WindowWorkArea, a.x, a.y, a.width, a.height);
    return a;
  }
  FrameExtents frameExtents() const override {
    const FrameExtents f = real_->frameExtents();
    log_.numbers(ReplayKind::WindowFrame, f.left, f.top, f.right, f.bottom);
    return f;
  }
  void setCursorVisible(bool visible) override { real_->setCursorVisible(visible); }
  void raise() override { real_->raise(); }
  // The real window finds its parent by id, which a recording window shares with the
  // window it wraps.
  void setParent(const Window* parent) override { real_->setParent(parent); }
  void setLogicalSize(int width, int height, PresentMode mode) override {
    real_->setLogicalSize(width, height, mode);
  }
  bool present(const void* pixels, int width, int height, int pitch, PixelFormat format,
               PresentMode mode, bool vsync) override {
    const bool answer = real_->present(pixels, width, height, pitch, format, mode, vsync);
    log_.value(ReplayKind::WindowPresent, answer);
    return answer;
  }
  void skipFrame(bool vsync) override { real_->skipFrame(vsync); }

 private:
  std::unique_ptr<Window> real_;
  Log& log_;
};

}  // namespace

RecordingPlatform::RecordingPlatform(Platform& real, ReplayWriter& writer)
    : real_(real),
      log_(std::make_unique<Log>(writer)),
      clock_(std::make_unique<RecordingClock>(real.clock(), *log_)),
      events_(std::make_unique<RecordingEvents>(real.events(), *log_)),
      text_(std::make_unique<RecordingText>(real.text(), *log_)),
      input_(std::make_unique<RecordingInput>(real.input(), *log_)),
      audio_(std::make_unique<RecordingAudio>(real.audio(), *log_)) {}

RecordingPlatform::~RecordingPlatform() = default;

Clock& RecordingPlatform::clock() { return *clock_; }
EventSource& RecordingPlatform::events() { return *events_; }
TextRenderer& RecordingPlatform::text() { return *text_; }
InputSystem& RecordingPlatform::input() { return *input_; }
AudioSystem& RecordingPlatform::audio() { return *audio_; }

std::unique_ptr<Window> RecordingPlatform::createWindow(const WindowDesc& desc) {
  std::unique_ptr<Window> window = real_.createWindow(desc);
  log_->value(ReplayKind::CreateWindow, window->id());
  return std::make_unique<RecordingWindow>(std::move(window), *log_);
}

std::vector<DisplayMode> RecordingPlatform::displayModes() {
  std::vector<DisplayMode> modes = real_.displayModes();
  log_->start(ReplayKind::DisplayModes).modes = modes;
  log_->write();
  return modes;
}

DisplayMode RecordingPlatform::desktopMode() {
  const DisplayMode m = real_.desktopMode();
  log_->numbers(ReplayKind::DesktopMode, m.width, m.height, m.bitCount, m.refreshRate);
  return m;
}

std::string RecordingPlatform::executablePath() {
  std::string path = real_.executablePath();
  log_->text(ReplayKind::ExecutablePath, path);
  return path;
}

void RecordingPlatform::frame(uint32_t number, uint64_t digest) {
  ReplayRecord& record = log_->start(ReplayKind::Frame);
  record.value = number;
  record.digest = digest;
  log_->write();
}

}  // namespace platform
