#pragma once
// Fakes of the platform interfaces for tests: a clock the test sets, events the test
// scripts, windows that only record what was asked of them, and a table of fake
// libraries. Nothing here touches a screen or a sound device; saves reach the file
// system through the system's files unless a test puts fake ones in place.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio_system.h"
#include "platform/input_system.h"
#include "platform/platform.h"

namespace platform {

class FakeClock final : public Clock {
 public:
  uint32_t ticks() override;
  uint64_t highResCounter() override;
  uint64_t highResFrequency() override { return frequency_; }

  void setTicks(uint32_t ticks) { ticks_ = ticks; }
  // What the next reading will give, without reading (and so without moving on).
  uint32_t peekTicks() const { return ticks_; }
  // Moves the tick counter (wrapping at 32 bits) and the high-resolution counter on by
  // the same time.
  void advance(uint32_t milliseconds);
  // Every ticks() read moves the counter on by this much after answering (0: never), so
  // code that waits for time to pass does not wait for ever.
  void setAutoAdvance(uint32_t millisecondsPerRead) { autoAdvance_ = millisecondsPerRead; }
  void setHighResCounter(uint64_t counter) { counter_ = counter; }
  void setHighResFrequency(uint64_t frequency) { frequency_ = frequency; }
  void setHighResAutoAdvance(uint64_t countsPerRead) { counterAutoAdvance_ = countsPerRead; }
  int tickReads() const { return tickReads_; }

 private:
  uint32_t ticks_ = 0;
  uint32_t autoAdvance_ = 0;
  uint64_t counter_ = 0;
  uint64_t frequency_ = 1000000;
  uint64_t counterAutoAdvance_ = 0;
  int tickReads_ = 0;
};

class FakeEventSource final : public EventSource {
 public:
  // Counts the call and runs the poll hook, which may push events, before answering.
  bool poll(Event& event) override;
  // Never blocks: counts the call and runs the wait hook, which may push events.
  void wait(int timeoutMs) override;

  void push(const Event& event) { queue_.push_back(event); }
  void pushKeyDown(uint32_t window, uint16_t key, uint32_t shift = 0);
  void pushKeyUp(uint32_t window, uint16_t key, uint32_t shift = 0);
  void pushChar(uint32_t window, const std::string& character);
  void pushMouseMove(uint32_t window, int x, int y, uint32_t shift = 0);
  void pushMouseDown(uint32_t window, int x, int y, MouseButton button = MouseButton::Left);
  void pushMouseUp(uint32_t window, int x, int y, MouseButton button = MouseButton::Left);
  void pushClose(uint32_t window);
  void pushFocus(uint32_t window, bool gained);

  size_t pending() const { return queue_.size(); }
  void clear() { queue_.clear(); }
  int waitCount() const { return waitCount_; }
  int lastWaitTimeout() const { return lastWaitTimeout_; }
  // Polls answered so far, and those of them that found no event (a loop that spins
  // makes many of those and no waits).
  int pollCount() const { return pollCount_; }
  int emptyPollCount() const { return emptyPollCount_; }
  std::function<void(int timeoutMs)> onWait;
  std::function<void()> onPoll;

 private:
  std::deque<Event> queue_;
  int waitCount_ = 0;
  int lastWaitTimeout_ = 0;
  int pollCount_ = 0;
  int emptyPollCount_ = 0;
};

class FakeWindowList;

// A copy of a presented picture.
struct FakePicture {
  std::vector<uint8_t> pixels;  // rows packed without padding
  int width = 0;
  int height = 0;
  PixelFormat format = PixelFormat::RGB565;
  PresentMode mode = PresentMode::FitKeepAspect;
  bool vsync = false;
  // The pixel at (x, y) as stored: a 16-bit value for RGB565, 32-bit for ARGB8888.
  uint32_t pixel(int x, int y) const;
};

class FakeWindow final : public Window {
 public:
  FakeWindow(const WindowDesc& desc, uint32_t id, std::shared_ptr<FakeWindowList> list);
  ~FakeWindow() override;

  uint32_t id() const override { return id_; }
  void show() override { visible_ = true; }
  void hide() override { visible_ = false; }
  bool visible() const override { return visible_; }
  void setCaption(const std::string& caption) override { caption_ = caption; }
  std::string caption() const override { return caption_; }
  void setBordered(bool bordered) override { bordered_ = bordered; }
  void setFullscreen(bool fullscreen) override { fullscreen_ = fullscreen; }
  bool fullscreen() const override { return fullscreen_; }
  void setClientSize(int width, int height) override;
  Placement placement() const override { return placement_; }
  // Takes the placement as asked, without fitting it to the work area.
  void setPlacement(const Placement& placement) override;
  ScreenArea workArea() const override;
  FrameExtents frameExtents() const override;
  void setCursorVisible(bool visible) override { cursorVisible_ = visible; }
  void raise() override { ++raiseCount_; }
  void setParent(const Window* parent) override { parent_ = parent != nullptr ? parent->id() : 0; }
  void setLogicalSize(int width, int height, PresentMode mode) override;
  // Records the picture; answers as setPresentResult says (true unless told otherwise).
  bool present(const void* pixels, int width, int height, int pitch, PixelFormat format,
               PresentMode mode, bool vsync) override;
  void skipFrame(bool) override { ++skipCount_; }

  const WindowDesc& desc() const { return desc_; }
  bool bordered() const { return bordered_; }
  bool cursorVisible() const { return cursorVisible_; }
  int raiseCount() const { return raiseCount_; }
  uint32_t parent() const { return parent_; }  // the parent's id; 0: none
  int setPlacementCount() const { return setPlacementCount_; }
  int logicalWidth() const { return logicalWidth_; }
  int logicalHeight() const { return logicalHeight_; }
  PresentMode logicalMode() const { return logicalMode_; }
  int presentCount() const { return presentCount_; }
  int skipCount() const { return skipCount_; }
  const FakePicture& lastPicture() const { return lastPicture_; }
  // Lets a test make present() report a lost device.
  void setPresentResult(bool result) { presentResult_ = result; }

 private:
  WindowDesc desc_;
  uint32_t id_;
  std::shared_ptr<FakeWindowList> list_;
  std::string caption_;
  bool visible_;
  bool bordered_;
  bool fullscreen_ = false;
  bool cursorVisible_ = true;
  Placement placement_;
  int raiseCount_ = 0;
  uint32_t parent_ = 0;
  int setPlacementCount_ = 0;
  int logicalWidth_;
  int logicalHeight_;
  PresentMode logicalMode_ = PresentMode::Stretch;
  int presentCount_ = 0;
  int skipCount_ = 0;
  bool presentResult_ = true;
  FakePicture lastPicture_;
};

// The live fake windows, shared by the platform and its windows so that either may go
// first.
class FakeWindowList {
 public:
  std::vector<FakeWindow*> windows;
  ScreenArea workArea;  // empty: unknown
  FrameExtents frame;
};

// One fake library: its entry points by name.
struct FakeLibrary {
  std::map<std::string, void*> symbols;
  int loads = 0;    // successful load() calls
  int unloads = 0;  // unload() calls on its handle
  int openCount() const { return loads - unloads; }
};

class FakeLibraryLoader final : public LibraryLoader {
 public:
  // Makes a library loadable under this exact name (the system's loader compares names
  // exactly too).
  void addLibrary(const std::string& name, std::map<std::string, void*> symbols = {});
  void* load(const std::string& name) override;
  void* symbol(void* library, const std::string& entry) override;
  void unload(void* library) override;

  // Null for a name that was never added.
  const FakeLibrary* library(const std::string& name) const;
  int loadAttempts() const { return loadAttempts_; }
  int totalUnloads() const { return totalUnloads_; }

 private:
  std::map<std::string, std::unique_ptr<FakeLibrary>> libraries_;
  int loadAttempts_ = 0;
  int totalUnloads_ = 0;
};

class FakePlatform final : public Platform {
 public:
  FakePlatform();
  ~FakePlatform() override;

  FakeClock& clock() override { return clock_; }
  FakeEventSource& events() override { return events_; }
  FakeLibraryLoader& libraries() override { return libraries_; }
  TextRenderer& text() override { return *text_; }
  InputSystem& input() override { return *input_; }
  AudioSystem& audio() override { return *audio_; }
  std::unique_ptr<Window> createWindow(const WindowDesc& desc) override;
  std::vector<DisplayMode> displayModes() override { return displayModes_; }
  DisplayMode desktopMode() override { return desktopMode_; }
  std::string executablePath() override { return executablePath_; }
  Files& files() override { return files_ ? *files_ : systemFiles(); }

  // Tests put their own input, sound or text objects in place of the default fakes.
  void setInput(std::unique_ptr<InputSystem> input) { input_ = std::move(input); }
  void setAudio(std::unique_ptr<AudioSystem> audio) { audio_ = std::move(audio); }
  void setText(std::unique_ptr<TextRenderer> text) { text_ = std::move(text); }
  // Saves go through these files instead of the system's (FakeFiles makes them fail).
  void setFiles(std::unique_ptr<Files> files) { files_ = std::move(files); }
  void setDisplayModes(std::vector<DisplayMode> modes) { displayModes_ = std::move(modes); }
  void setDesktopMode(const DisplayMode& mode) { desktopMode_ = mode; }
  void setExecutablePath(const std::string& path) { executablePath_ = path; }
  // The screen's usable area and the window decorations every window reports.
  void setWorkArea(const ScreenArea& area) { windowList_->workArea = area; }
  void setFrameExtents(const FrameExtents& frame) { windowList_->frame = frame; }

  // The windows alive now, oldest first, and the newest of them (null when none).
  const std::vector<FakeWindow*>& windows() const { return windowList_->windows; }
  FakeWindow* lastWindow() const;
  FakeWindow* findWindow(uint32_t id) const;
  int windowsCreated() const { return static_cast<int>(nextWindowId_ - 1); }

 private:
  FakeClock clock_;
  FakeEventSource events_;
  FakeLibraryLoader libraries_;
  std::unique_ptr<TextRenderer> text_;
  std::unique_ptr<InputSystem> input_;
  std::unique_ptr<AudioSystem> audio_;
  std::unique_ptr<Files> files_;
  std::shared_ptr<FakeWindowList> windowList_;
  uint32_t nextWindowId_ = 1;
  std::vector<DisplayMode> displayModes_;
  DisplayMode desktopMode_;
  std::string executablePath_ = "/usr/games/Reefmaw";
};

}  // namespace platform
