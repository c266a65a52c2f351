#include "platform/replay_platform.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <thread>

#include "platform/audio_system.h"
#include "platform/dl_library_loader.h"
#include "platform/fake_audio.h"
#include "platform/input_system.h"

namespace platform {
namespace {

// What the game asked for, in words, for the message of a replay that left the recording.
const char* describe(ReplayKind kind) {
  switch (kind) {
    case ReplayKind::Ticks:
      return "the clock";
    case ReplayKind::Counter:
      return "the high-resolution counter";
    case ReplayKind::NoEvent:
    case ReplayKind::Event:
      return "an event";
    case ReplayKind::Keyboard:
      return "the keyboard";
    case ReplayKind::Mouse:
      return "the mouse";
    case ReplayKind::JoystickCount:
    case ReplayKind::JoystickChanges:
    case ReplayKind::OpenJoystick:
      return "the joysticks";
    case ReplayKind::JoystickAttached:
    case ReplayKind::JoystickAxes:
    case ReplayKind::JoystickButtons:
    case ReplayKind::JoystickRead:
    case ReplayKind::JoystickHaptic:
      return "a joystick";
    case ReplayKind::HapticKinds:
    case ReplayKind::HapticCreate:
    case ReplayKind::HapticUpdate:
    case ReplayKind::HapticRun:
    case ReplayKind::HapticStop:
    case ReplayKind::HapticStatus:
    case ReplayKind::HapticAutocenter:
    case ReplayKind::DeviceLayer:
      return "force feedback";
    case ReplayKind::TextExtent:
      return "a text's size";
    case ReplayKind::CreateWindow:
      return "a new window";
    case ReplayKind::WindowVisible:
    case ReplayKind::WindowCaption:
    case ReplayKind::WindowFullscreen:
    case ReplayKind::WindowPlacement:
    case ReplayKind::WindowWorkArea:
    case ReplayKind::WindowFrame:
      return "a window's state";
    case ReplayKind::WindowPresent:
      return "a shown frame";
    case ReplayKind::DisplayModes:
    case ReplayKind::DesktopMode:
      return "the display modes";
    case ReplayKind::ExecutablePath:
      return "the program's path";
    case ReplayKind::AudioDevice:
      return "the sound device";
    case ReplayKind::PadLayouts:
      return "pad layouts";
    case ReplayKind::Frame:
      return "the end of a frame";
    case ReplayKind::End:
      return "the end of the game";
  }
  return "something else";
}

}  // namespace

class ReplayPlatform::Player {
 public:
  Player(ReplayReader& reader, Platform* display) : reader_(reader), display_(display) {}

  Platform* display() const { return display_; }
  const ReplayHeader& header() const { return reader_.header(); }
  bool running() const { return state_ == State::Running; }

  // The next record when it is of this kind (or of `other`); otherwise the replay stops
  // here. Null once the replay has stopped or ended.
  const ReplayRecord* expect(ReplayKind kind, std::optional<ReplayKind> other = std::nullopt) {
    if (state_ != State::Running) return nullptr;
    const ReplayRecord* record = nullptr;
    try {
      record = &reader_.next();
    } catch (const ReplayFileError& e) {
      stop(std::string(e.what()) + " " + where());
      return nullptr;
    }
    if (record->kind == kind || (other && record->kind == *other)) return record;
    if (record->kind == ReplayKind::End) {
      stop("the game goes on past the end of the recording, " + where() + " (it asks for " +
           describe(kind) + ")");
    } else {
      stop("the game leaves the recording " + where() + ": it asks for " + describe(kind) +
           " where the recording holds " + describe(record->kind));
    }
    return nullptr;
  }

  void stop(const std::string& reason) {
    if (state_ != State::Running) return;
    state_ = State::Stopped;
    failure_ = reason;
  }
  void interrupt() {
    if (state_ != State::Running) return;
    state_ = State::Stopped;
    interrupted_ = true;
  }
  void end() { state_ = State::Ended; }

  // The display's own events: a close request from the player stops the replay; the rest
  // only keeps the windows alive.
  void pumpDisplay() {
    if (display_ == nullptr) return;
    Event event;
    while (display_->events().poll(event)) {
      if (event.kind == EventKind::Close) interrupt();
    }
  }

  void frameChecked(uint32_t number) { frame_ = number; }
  // Where the game is: in the frame after the last one checked, or still starting.
  std::string where() const {
    return frame_ == 0 ? "at start-up" : "at frame " + std::to_string(frame_ + 1);
  }
  uint32_t frame() const { return frame_; }
  const std::string& failure() const { return failure_; }
  bool interrupted() const { return interrupted_; }

 private:
  enum class State { Running, Stopped, Ended };
  ReplayReader& reader_;
  Platform* display_;
  State state_ = State::Running;
  std::string failure_;
  bool interrupted_ = false;
  uint32_t frame_ = 0;
};

namespace {

using Player = ReplayPlatform::Player;

// The recorded clock. With a display, each reading waits until as much real time has
// passed since the first one as had passed in the recorded game.
class ReplayClock final : public Clock {
 public:
  explicit ReplayClock(Player& player) : player_(player) {}
  uint32_t ticks() override {
    if (const ReplayRecord* r = player_.expect(ReplayKind::Ticks)) {
      ticks_ = static_cast<uint32_t>(r->value);
      pace();
    }
    return ticks_;
  }
  uint64_t highResCounter() override {
    if (const ReplayRecord* r = player_.expect(ReplayKind::Counter)) {
      counter_ = static_cast<uint64_t>(r->value);
    }
    return counter_;
  }
  uint64_t highResFrequency() override { return player_.header().counterFrequency; }

 private:
  void pace() {
    if (player_.display() == nullptr) return;
    using namespace std::chrono;
    const auto now = steady_clock::now();
    if (!first_) {
      first_ = ticks_;
      start_ = now;
      return;
    }
    const auto due = start_ + milliseconds(static_cast<uint32_t>(ticks_ - *first_));
    // Waits in slices, so that the windows stay alive and can stop the replay.
    for (auto t = now; t < due && player_.running(); t = steady_clock::now()) {
      std::this_thread::sleep_until(std::min(due, t + milliseconds(50)));
      player_.pumpDisplay();
    }
  }

  Player& player_;
  uint32_t ticks_ = 0;
  uint64_t counter_ = 0;
  std::optional<uint32_t> first_;
  std::chrono::steady_clock::time_point start_;
};

class ReplayEvents final : public EventSource {
 public:
  explicit ReplayEvents(Player& player) : player_(player) {}
  bool poll(Event& event) override {
    player_.pumpDisplay();
    const ReplayRecord* r = player_.expect(ReplayKind::NoEvent, ReplayKind::Event);
    if (r == nullptr) {
      if (player_.running()) return false;
      // Stopped or ended: the program is asked to close, so that it ends at once.
      event = Event{};
      event.kind = EventKind::Close;
      return true;
    }
    if (r->kind == ReplayKind::NoEvent) return false;
    event = r->event;
    return true;
  }
  // The recorded game waited here; the replay's pace comes from its clock.
  void wait(int) override { player_.pumpDisplay(); }

 private:
  Player& player_;
};

class ReplayText final : public TextRenderer {
 public:
  explicit ReplayText(Player& player) : player_(player) {}
  void drawText(void* pixels, int width, int height, int pitch, PixelFormat format, int x, int y,
                const std::string& text, const FontSpec& font) override {
    if (player_.display() != nullptr) {
      player_.display()->text().drawText(pixels, width, height, pitch, format, x, y, text, font);
    }
  }
  void textExtent(const std::string&, const FontSpec&, int& width, int& height) override {
    width = 0;
    height = 0;
    if (const ReplayRecord* r = player_.expect(ReplayKind::TextExtent)) {
      width = r->numbers[0];
      height = r->numbers[1];
    }
  }

 private:
  Player& player_;
};

bool recordedBool(Player& player, ReplayKind kind) {
  const ReplayRecord* r = player.expect(kind);
  return r != nullptr && r->value != 0;
}

int64_t recordedValue(Player& player, ReplayKind kind, int64_t otherwise = 0) {
  const ReplayRecord* r = player.expect(kind);
  return r != nullptr ? r->value : otherwise;
}

class ReplayHaptic final : public HapticDevice {
 public:
  explicit ReplayHaptic(Player& player) : player_(player) {}
  std::vector<HapticKind> supportedKinds() override {
    const ReplayRecord* r = player_.expect(ReplayKind::HapticKinds);
    return r != nullptr ? r->hapticKinds : std::vector<HapticKind>{};
  }
  int createEffect(const HapticEffect&) override {
    return static_cast<int>(recordedValue(player_, ReplayKind::HapticCreate, -1));
  }
  bool updateEffect(int, const HapticEffect&) override {
    return recordedBool(player_, ReplayKind::HapticUpdate);
  }
  bool runEffect(int, uint32_t) override { return recordedBool(player_, ReplayKind::HapticRun); }
  bool stopEffect(int) override { return recordedBool(player_, ReplayKind::HapticStop); }
  int effectStatus(int) override {
    return static_cast<int>(recordedValue(player_, ReplayKind::HapticStatus));
  }
  void destroyEffect(int) override {}
  bool setAutocenter(bool) override { return recordedBool(player_, ReplayKind::HapticAutocenter); }

 private:
  Player& player_;
};

class ReplayJoystick final : public Joystick {
 public:
  explicit ReplayJoystick(Player& player) : player_(player), motor_(player) {}
  bool attached() override { return recordedBool(player_, ReplayKind::JoystickAttached); }
  int axisCount() override {
    return static_cast<int>(recordedValue(player_, ReplayKind::JoystickAxes));
  }
  int buttonCount() override {
    return static_cast<int>(recordedValue(player_, ReplayKind::JoystickButtons));
  }
  bool read(JoystickReading& reading) override {
    const ReplayRecord* r = player_.expect(ReplayKind::JoystickRead);
    if (r == nullptr || r->value == 0) return false;
    reading = r->joystick;
    return true;
  }
  HapticDevice* haptic() override {
    return recordedBool(player_, ReplayKind::JoystickHaptic) ? &motor_ : nullptr;
  }

 private:
  Player& player_;
  ReplayHaptic motor_;
};

class ReplayInput final : public InputSystem {
 public:
  explicit ReplayInput(Player& player) : player_(player) {}
  bool acquireDeviceLayer() override { return recordedBool(player_, ReplayKind::DeviceLayer); }
  void releaseDeviceLayer() override {}
  void keyboardState(std::array<uint8_t, 256>& keys) override {
    const ReplayRecord* r = player_.expect(ReplayKind::Keyboard);
    if (r != nullptr) {
      keys = r->keys;
    } else {
      keys.fill(0);
    }
  }
  bool readMouse(MouseReading& reading) override {
    const ReplayRecord* r = player_.expect(ReplayKind::Mouse);
    if (r == nullptr || r->value == 0) return false;
    reading = r->mouse;
    return true;
  }
  int joystickCount() override {
    return static_cast<int>(recordedValue(player_, ReplayKind::JoystickCount));
  }
  uint32_t joystickChanges() override {
    return static_cast<uint32_t>(recordedValue(player_, ReplayKind::JoystickChanges));
  }
  std::unique_ptr<Joystick> openJoystick(int, bool) override {
    if (!recordedBool(player_, ReplayKind::OpenJoystick)) return nullptr;
    return std::make_unique<ReplayJoystick>(player_);
  }
  int addControllerMappings(const std::string&) override {
    return static_cast<int>(recordedValue(player_, ReplayKind::PadLayouts, -1));
  }

 private:
  Player& player_;
};

// A sound device when the recorded game had one: the game only prepares its samples, so
// one in memory serves.
class ReplayAudio final : public AudioSystem {
 public:
  explicit ReplayAudio(Player& player) : player_(player) {}
  std::unique_ptr<AudioDevice> openDevice() override {
    if (!recordedBool(player_, ReplayKind::AudioDevice)) return nullptr;
    return memory_.openDevice();
  }

 private:
  Player& player_;
  FakeAudioSystem memory_;
};

// A window whose answers are the recorded ones. With a display it shows the game in a
// real window too.
class ReplayWindow final : public Window {
 public:
  ReplayWindow(Player& player, uint32_t id, std::unique_ptr<Window> shown)
      : player_(player), id_(id), shown_(std::move(shown)) {}
  uint32_t id() const override { return id_; }
  void show() override {
    if (shown_) shown_->show();
  }
  void hide() override {
    if (shown_) shown_->hide();
  }
  bool visible() const override { return recordedBool(player_, ReplayKind::WindowVisible); }
  void setCaption(const std::string& caption) override {
    if (shown_) shown_->setCaption(caption);
  }
  std::string caption() const override {
    const ReplayRecord* r = player_.expect(ReplayKind::WindowCaption);
    return r != nullptr ? r->text : std::string();
  }
  void setBordered(bool bordered) override {
    if (shown_) shown_->setBordered(bordered);
  }
  void setFullscreen(bool fullscreen) override {
    if (shown_) shown_->setFullscreen(fullscreen);
  }
  bool fullscreen() const override { return recordedBool(player_, ReplayKind::WindowFullscreen); }
  void setClientSize(int width, int height) override {
    if (shown_) shown_->setClientSize(width, height);
  }
  Placement placement() const override {
    Placement p;
    if (const ReplayRecord* r = player_.expect(ReplayKind::WindowPlacement)) {
      p = {r->numbers[0], r->numbers[1], r->numbers[2], r->numbers[3], r->value != 0};
    }
    return p;
  }
  void setPlacement(const Placement& placement) override {
    if (shown_) shown_->setPlacement(placement);
  }
  ScreenArea workArea() const override {
    ScreenArea a;
    if (const ReplayRecord* r = player_.expect(ReplayKind::WindowWorkArea)) {
      a = {r->numbers[0], r->numbers[1], r->numbers[2], r->numbers[3]};
    }
    return a;
  }
  FrameExtents frameExtents() const override {
    FrameExtents f;
    if (const ReplayRecord* r = player_.expect(ReplayKind::WindowFrame)) {
      f = {r->numbers[0], r->numbers[1], r->numbers[2], r->numbers[3]};
    }
    return f;
  }
  void setCursorVisible(bool visible) override {
    if (shown_) shown_->setCursorVisible(visible);
  }
  void raise() override {
    if (shown_) shown_->raise();
  }
  // The shown parent is the window the replayed parent draws into, not the recorded id.
  void setParent(const Window* parent) override {
    if (!shown_) return;
    const auto* replayed = dynamic_cast<const ReplayWindow*>(parent);
    shown_->setParent(replayed != nullptr ? replayed->shown_.get() : parent);
  }
  void setLogicalSize(int width, int height, PresentMode mode) override {
    if (shown_) shown_->setLogicalSize(width, height, mode);
  }
  bool present(const void* pixels, int width, int height, int pitch, PixelFormat format,
               PresentMode mode, bool vsync) override {
    if (shown_) shown_->present(pixels, width, height, pitch, format, mode, vsync);
    const ReplayRecord* r = player_.expect(ReplayKind::WindowPresent);
    return r == nullptr || r->value != 0;
  }
  // Paced only when shown: a headless replay goes as fast as it can.
  void skipFrame(bool vsync) override {
    if (shown_) shown_->skipFrame(vsync);
  }

 private:
  Player& player_;
  uint32_t id_;
  std::unique_ptr<Window> shown_;
};

}  // namespace

ReplayPlatform::ReplayPlatform(ReplayReader& reader, Platform* display)
    : player_(std::make_unique<Player>(reader, display)),
      clock_(std::make_unique<ReplayClock>(*player_)),
      events_(std::make_unique<ReplayEvents>(*player_)),
      libraries_(display == nullptr ? createDlLibraryLoader() : nullptr),
      text_(std::make_unique<ReplayText>(*player_)),
      input_(std::make_unique<ReplayInput>(*player_)),
      audio_(std::make_unique<ReplayAudio>(*player_)) {}

ReplayPlatform::~ReplayPlatform() = default;

Clock& ReplayPlatform::clock() { return *clock_; }
EventSource& ReplayPlatform::events() { return *events_; }
LibraryLoader& ReplayPlatform::libraries() {
  return libraries_ ? *libraries_ : player_->display()->libraries();
}
TextRenderer& ReplayPlatform::text() { return *text_; }
InputSystem& ReplayPlatform::input() { return *input_; }
AudioSystem& ReplayPlatform::audio() { return *audio_; }

std::unique_ptr<Window> ReplayPlatform::createWindow(const WindowDesc& desc) {
  const auto id = static_cast<uint32_t>(recordedValue(*player_, ReplayKind::CreateWindow));
  std::unique_ptr<Window> shown;
  if (Platform* display = player_->display()) shown = display->createWindow(desc);
  return std::make_unique<ReplayWindow>(*player_, id, std::move(shown));
}

std::vector<DisplayMode> ReplayPlatform::displayModes() {
  const ReplayRecord* r = player_->expect(ReplayKind::DisplayModes);
  return r != nullptr ? r->modes : std::vector<DisplayMode>{};
}

DisplayMode ReplayPlatform::desktopMode() {
  DisplayMode m;
  if (const ReplayRecord* r = player_->expect(ReplayKind::DesktopMode)) {
    m = {r->numbers[0], r->numbers[1], r->numbers[2], r->numbers[3]};
  }
  return m;
}

std::string ReplayPlatform::executablePath() {
  const ReplayRecord* r = player_->expect(ReplayKind::ExecutablePath);
  return r != nullptr ? r->text : std::string();
}

void ReplayPlatform::frame(uint32_t number, uint64_t digest) {
  const ReplayRecord* r = player_->expect(ReplayKind::Frame);
  if (r == nullptr) return;
  if (static_cast<uint32_t>(r->value) != number) {
    player_->stop("the game's frames leave the recording at frame " + std::to_string(number));
  } else if (r->digest != digest) {
    player_->stop("the game's state differs from the recording at frame " + std::to_string(number));
  } else {
    player_->frameChecked(number);
  }
}

void ReplayPlatform::finish(const std::string& endState, uint64_t digest) {
  const ReplayRecord* r = player_->expect(ReplayKind::End);
  if (r == nullptr) return;
  if (r->text != endState || r->digest != digest) {
    player_->stop("the end state differs from the recording (recorded: " + r->text + ")");
    return;
  }
  player_->end();
}

const std::string& ReplayPlatform::failure() const { return player_->failure(); }
bool ReplayPlatform::interrupted() const { return player_->interrupted(); }
uint32_t ReplayPlatform::lastFrame() const { return player_->frame(); }

}  // namespace platform
