#include "platform/fake_platform.h"

#include <algorithm>
#include <cstring>

namespace platform {

uint32_t FakeClock::ticks() {
  ++tickReads_;
  const uint32_t now = ticks_;
  ticks_ += autoAdvance_;  // unsigned: wraps at 32 bits like the real counter
  return now;
}

uint64_t FakeClock::highResCounter() {
  const uint64_t now = counter_;
  counter_ += counterAutoAdvance_;
  return now;
}

void FakeClock::advance(uint32_t milliseconds) {
  ticks_ += milliseconds;
  counter_ += static_cast<uint64_t>(milliseconds) * frequency_ / 1000;
}

bool FakeEventSource::poll(Event& event) {
  ++pollCount_;
  if (onPoll) onPoll();
  if (queue_.empty()) {
    ++emptyPollCount_;
    return false;
  }
  event = std::move(queue_.front());
  queue_.pop_front();
  return true;
}

void FakeEventSource::wait(int timeoutMs) {
  ++waitCount_;
  lastWaitTimeout_ = timeoutMs;
  if (onWait) onWait(timeoutMs);
}

namespace {

Event makeEvent(EventKind kind, uint32_t window) {
  Event event;
  event.kind = kind;
  event.window = window;
  return event;
}

Event makePointerEvent(EventKind kind, uint32_t window, int x, int y) {
  Event event = makeEvent(kind, window);
  event.x = x;
  event.y = y;
  return event;
}

}  // namespace

void FakeEventSource::pushKeyDown(uint32_t window, uint16_t key, uint32_t shift) {
  Event event = makeEvent(EventKind::KeyDown, window);
  event.key = key;
  event.shift = shift;
  push(event);
}

void FakeEventSource::pushKeyUp(uint32_t window, uint16_t key, uint32_t shift) {
  Event event = makeEvent(EventKind::KeyUp, window);
  event.key = key;
  event.shift = shift;
  push(event);
}

void FakeEventSource::pushChar(uint32_t window, const std::string& character) {
  Event event = makeEvent(EventKind::Char, window);
  event.text = character;
  push(event);
}

void FakeEventSource::pushMouseMove(uint32_t window, int x, int y, uint32_t shift) {
  Event event = makePointerEvent(EventKind::MouseMove, window, x, y);
  event.shift = shift;
  push(event);
}

void FakeEventSource::pushMouseDown(uint32_t window, int x, int y, MouseButton button) {
  Event event = makePointerEvent(EventKind::MouseDown, window, x, y);
  event.button = button;
  push(event);
}

void FakeEventSource::pushMouseUp(uint32_t window, int x, int y, MouseButton button) {
  Event event = makePointerEvent(EventKind::MouseUp, window, x, y);
  event.button = button;
  push(event);
}

void FakeEventSource::pushClose(uint32_t window) { push(makeEvent(EventKind::Close, window)); }

void FakeEventSource::pushFocus(uint32_t window, bool gained) {
  push(makeEvent(gained ? EventKind::FocusGained : EventKind::FocusLost, window));
}

uint32_t FakePicture::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const size_t size = format == PixelFormat::RGB565 ? 2 : 4;
  const size_t offset = (static_cast<size_t>(y) * width + x) * size;
  if (size == 2) {
    uint16_t value;
    std::memcpy(&value, pixels.data() + offset, size);
    return value;
  }
  uint32_t value;
  std::memcpy(&value, pixels.data() + offset, size);
  return value;
}

FakeWindow::FakeWindow(const WindowDesc& desc, uint32_t id, std::shared_ptr<FakeWindowList> list)
    : desc_(desc),
      id_(id),
      list_(std::move(list)),
      caption_(desc.caption),
      visible_(desc.visible),
      bordered_(desc.bordered),
      logicalWidth_(desc.width),
      logicalHeight_(desc.height) {
  placement_.width = desc.width;
  placement_.height = desc.height;
  list_->windows.push_back(this);
}

FakeWindow::~FakeWindow() {
  auto& windows = list_->windows;
  windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
}

void FakeWindow::setClientSize(int width, int height) {
  placement_.width = width;
  placement_.height = height;
}

void FakeWindow::setPlacement(const Placement& placement) {
  placement_ = placement;
  ++setPlacementCount_;
}

ScreenArea FakeWindow::workArea() const { return list_->workArea; }

FrameExtents FakeWindow::frameExtents() const { return list_->frame; }

void FakeWindow::setLogicalSize(int width, int height, PresentMode mode) {
  logicalWidth_ = width;
  logicalHeight_ = height;
  logicalMode_ = mode;
}

bool FakeWindow::present(const void* pixels, int width, int height, int pitch, PixelFormat format,
                         PresentMode mode, bool vsync) {
  ++presentCount_;
  const int rowBytes = width * (format == PixelFormat::RGB565 ? 2 : 4);
  if (pixels == nullptr || width <= 0 || height <= 0 || pitch < rowBytes) return false;
  setLogicalSize(width, height, mode);
  lastPicture_.width = width;
  lastPicture_.height = height;
  lastPicture_.format = format;
  lastPicture_.mode = mode;
  lastPicture_.vsync = vsync;
  lastPicture_.pixels.resize(static_cast<size_t>(rowBytes) * height);
  const auto* source = static_cast<const uint8_t*>(pixels);
  for (int row = 0; row < height; ++row) {
    std::memcpy(lastPicture_.pixels.data() + static_cast<size_t>(row) * rowBytes,
                source + static_cast<size_t>(row) * pitch, rowBytes);
  }
  return presentResult_;
}

void FakeLibraryLoader::addLibrary(const std::string& name, std::map<std::string, void*> symbols) {
  auto& library = libraries_[name];
  if (!library) library = std::make_unique<FakeLibrary>();
  library->symbols = std::move(symbols);
}

void* FakeLibraryLoader::load(const std::string& name) {
  ++loadAttempts_;
  auto it = libraries_.find(name);
  if (it == libraries_.end()) return nullptr;
  ++it->second->loads;
  return it->second.get();
}

void* FakeLibraryLoader::symbol(void* library, const std::string& entry) {
  // Only handles this loader gave out are looked into.
  for (const auto& [name, fake] : libraries_) {
    if (fake.get() != library) continue;
    if (fake->openCount() <= 0) return nullptr;
    auto it = fake->symbols.find(entry);
    return it == fake->symbols.end() ? nullptr : it->second;
  }
  return nullptr;
}

void FakeLibraryLoader::unload(void* library) {
  ++totalUnloads_;
  for (const auto& [name, fake] : libraries_) {
    if (fake.get() == library) {
      ++fake->unloads;
      return;
    }
  }
}

const FakeLibrary* FakeLibraryLoader::library(const std::string& name) const {
  auto it = libraries_.find(name);
  return it == libraries_.end() ? nullptr : it->second.get();
}

FakePlatform::FakePlatform()
    : text_(createTextRenderer()),
      input_(createFakeInputSystem()),
      audio_(createFakeAudioSystem()),
      windowList_(std::make_shared<FakeWindowList>()),
      displayModes_{{640, 480, 16, 60},
                    {800, 600, 16, 60},
                    {800, 600, 32, 60},
                    {1024, 768, 32, 60},
                    {1920, 1080, 32, 60}},
      desktopMode_{1920, 1080, 32, 60} {}

FakePlatform::~FakePlatform() = default;

std::unique_ptr<Window> FakePlatform::createWindow(const WindowDesc& desc) {
  return std::make_unique<FakeWindow>(desc, nextWindowId_++, windowList_);
}

FakeWindow* FakePlatform::lastWindow() const {
  const auto& windows = windowList_->windows;
  return windows.empty() ? nullptr : windows.back();
}

FakeWindow* FakePlatform::findWindow(uint32_t id) const {
  for (FakeWindow* window : windowList_->windows) {
    if (window->id() == id) return window;
  }
  return nullptr;
}

}  // namespace platform
