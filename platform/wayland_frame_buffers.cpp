#include "platform/wayland_frame_buffers.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/wayland_ptrs.h"

namespace platform {
namespace {

// More buffers than this would mean the compositor keeps them all.
constexpr size_t kMaxBuffers = 3;
constexpr int kBytesPerPixel = 4;
// How long a picture waits for the compositor to give a buffer back: long enough for a
// compositor that is a frame late, short enough not to stall the game.
constexpr std::chrono::milliseconds kReleaseWait{4};

}  // namespace

// The compositor's shared-memory global, reached on an event queue of our own so that
// SDL's dispatching of its own queue never runs our handlers, and the reverse. The
// display and the surface are SDL's (or the caller's). Members go last to first: the
// queue after every object that uses it.
struct WaylandFrameBuffers::Connection {
  wl_display* display = nullptr;
  wl_surface* surface = nullptr;
  uint32_t surfaceVersion = 1;
  WlEventQueueUniquePtr queue;
  WlDisplayWrapperUniquePtr wrapper;  // the display, with our queue for what it creates
  WlRegistryUniquePtr registry;
  WlShmUniquePtr shm;
};

// Shared memory mapped into this process, unmapped by the holder.
struct MemoryUnmapper {
  size_t bytes = 0;
  void operator()(void* pixels) const { munmap(pixels, bytes); }
};

struct WaylandFrameBuffers::Buffer {
  // The compositor's buffer goes before the memory it shows: members go last to first.
  std::unique_ptr<void, MemoryUnmapper> pixels;
  WlBufferUniquePtr buffer;
  size_t bytes = 0;
  int width = 0;  // in pixels
  int height = 0;
  bool busy = false;  // the compositor may still read it
};

namespace {

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  auto* connection = static_cast<WaylandFrameBuffers::Connection*>(data);
  if (connection->shm == nullptr && std::strcmp(interface, wl_shm_interface.name) == 0) {
    connection->shm.reset(
        static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1)));
  }
}

void onGlobalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemoved};

void onRelease(void* data, wl_buffer*) {
  static_cast<WaylandFrameBuffers::Buffer*>(data)->busy = false;
}

const wl_buffer_listener kBufferListener = {onRelease};

}  // namespace

std::unique_ptr<WaylandFrameBuffers> WaylandFrameBuffers::create(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
      info.subsystem != SDL_SYSWM_WAYLAND) {
    return nullptr;
  }
  return create(info.info.wl.display, info.info.wl.surface);
}

std::unique_ptr<WaylandFrameBuffers> WaylandFrameBuffers::create(wl_display* display,
                                                                 wl_surface* surface) {
  if (display == nullptr || surface == nullptr) return nullptr;
  auto connection = std::make_unique<Connection>();
  connection->display = display;
  connection->surface = surface;
  connection->surfaceVersion = wl_proxy_get_version(reinterpret_cast<wl_proxy*>(surface));
  connection->queue.reset(wl_display_create_queue(connection->display));
  if (connection->queue == nullptr) return nullptr;
  connection->wrapper.reset(static_cast<wl_display*>(wl_proxy_create_wrapper(connection->display)));
  if (connection->wrapper == nullptr) return nullptr;
  wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(connection->wrapper.get()),
                     connection->queue.get());
  connection->registry.reset(wl_display_get_registry(connection->wrapper.get()));
  if (connection->registry == nullptr) return nullptr;
  wl_registry_add_listener(connection->registry.get(), &kRegistryListener, connection.get());
  if (wl_display_roundtrip_queue(connection->display, connection->queue.get()) < 0 ||
      connection->shm == nullptr) {
    return nullptr;
  }
  return std::unique_ptr<WaylandFrameBuffers>(new WaylandFrameBuffers(std::move(connection)));
}

WaylandFrameBuffers::WaylandFrameBuffers(std::unique_ptr<Connection> connection)
    : connection_(std::move(connection)) {}

// The buffers go before the connection they were made on (declared in that order).
WaylandFrameBuffers::~WaylandFrameBuffers() = default;

WaylandFrameBuffers::Buffer* WaylandFrameBuffers::freeBuffer(int width, int height) {
  // Releases read from the connection by SDL's event pump wait on our queue.
  wl_display_dispatch_queue_pending(connection_->display, connection_->queue.get());
  // Buffers of another size are of no more use once the compositor lets them go.
  buffers_.erase(std::remove_if(buffers_.begin(), buffers_.end(),
                                [&](const std::unique_ptr<Buffer>& b) {
                                  return !b->busy && (b->width != width || b->height != height);
                                }),
                 buffers_.end());
  for (const auto& b : buffers_) {
    if (!b->busy && b->width == width && b->height == height) return b.get();
  }
  if (buffers_.size() < kMaxBuffers) return makeBuffer(width, height);
  // The compositor holds every buffer: wait a moment for one rather than drop the frame.
  while (waitForRelease()) {
    for (auto it = buffers_.begin(); it != buffers_.end(); ++it) {
      if ((*it)->busy) continue;
      if ((*it)->width == width && (*it)->height == height) return it->get();
      buffers_.erase(it);  // released, but of a size no longer shown
      return makeBuffer(width, height);
    }
  }
  ++dropped_;
  return nullptr;
}

bool WaylandFrameBuffers::waitForRelease() {
  wl_display* display = connection_->display;
  wl_event_queue* queue = connection_->queue.get();
  const auto deadline = std::chrono::steady_clock::now() + kReleaseWait;
  auto released = [&] {
    return std::any_of(buffers_.begin(), buffers_.end(),
                       [](const std::unique_ptr<Buffer>& b) { return !b->busy; });
  };
  while (!released()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    // Reading the connection alongside SDL, as libwayland's protocol for several readers
    // asks: what SDL's queue gets waits there for SDL's own dispatch.
    while (wl_display_prepare_read_queue(display, queue) != 0) {
      if (wl_display_dispatch_queue_pending(display, queue) < 0) return false;
    }
    if (released()) {
      wl_display_cancel_read(display);
      return true;
    }
    wl_display_flush(display);
    pollfd fd{wl_display_get_fd(display), POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
      wl_display_cancel_read(display);
      continue;  // the deadline decides
    }
    if (wl_display_read_events(display) < 0) return false;
    if (wl_display_dispatch_queue_pending(display, queue) < 0) return false;
  }
  return true;
}

WaylandFrameBuffers::Buffer* WaylandFrameBuffers::makeBuffer(int width, int height) {
  auto b = std::make_unique<Buffer>();
  b->width = width;
  b->height = height;
  b->bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * kBytesPerPixel;
  const int fd = memfd_create("reefmaw-frame", MFD_CLOEXEC);
  if (fd < 0) return nullptr;
  if (ftruncate(fd, static_cast<off_t>(b->bytes)) != 0) {
    close(fd);
    return nullptr;
  }
  void* pixels = mmap(nullptr, b->bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (pixels == MAP_FAILED) {
    close(fd);
    return nullptr;
  }
  b->pixels = std::unique_ptr<void, MemoryUnmapper>(pixels, MemoryUnmapper{b->bytes});
  const WlShmPoolUniquePtr pool(
      wl_shm_create_pool(connection_->shm.get(), fd, static_cast<int32_t>(b->bytes)));
  close(fd);  // the pool keeps what it needs
  if (pool == nullptr) return nullptr;
  // The buffer lives on when its pool is destroyed at the end of this function.
  b->buffer.reset(wl_shm_pool_create_buffer(pool.get(), 0, width, height, width * kBytesPerPixel,
                                            WL_SHM_FORMAT_XRGB8888));
  if (b->buffer == nullptr) return nullptr;
  wl_buffer_add_listener(b->buffer.get(), &kBufferListener, b.get());
  ++made_;
  buffers_.push_back(std::move(b));
  return buffers_.back().get();
}

PixelTarget WaylandFrameBuffers::begin(int width, int height, int scale) {
  drawing_ = nullptr;
  if (width <= 0 || height <= 0) return PixelTarget{};
  // Only a surface that knows buffer scales (version 3) can show a scaled buffer.
  if (scale < 1 || connection_->surfaceVersion < WL_SURFACE_SET_BUFFER_SCALE_SINCE_VERSION) {
    scale = 1;
  }
  scale_ = scale;
  drawing_ = freeBuffer(width * scale, height * scale);
  if (drawing_ == nullptr) return PixelTarget{};
  return PixelTarget{drawing_->pixels.get(), drawing_->width, drawing_->height,
                     drawing_->width * kBytesPerPixel, SurfaceLayout::XRGB8888};
}

void WaylandFrameBuffers::commit() {
  if (drawing_ == nullptr) return;
  wl_surface* surface = connection_->surface;
  // The scale goes with every buffer: SDL sets the surface's scale too, for its own drawing.
  if (connection_->surfaceVersion >= WL_SURFACE_SET_BUFFER_SCALE_SINCE_VERSION) {
    wl_surface_set_buffer_scale(surface, scale_);
  }
  wl_surface_attach(surface, drawing_->buffer.get(), 0, 0);
  // Damage in buffer pixels where the surface knows it (version 4); before that, in
  // surface coordinates.
  if (connection_->surfaceVersion >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION) {
    wl_surface_damage_buffer(surface, 0, 0, drawing_->width, drawing_->height);
  } else {
    wl_surface_damage(surface, 0, 0, drawing_->width / scale_, drawing_->height / scale_);
  }
  wl_surface_commit(surface);
  drawing_->busy = true;
  drawing_ = nullptr;
  wl_display_flush(connection_->display);
}

}  // namespace platform
