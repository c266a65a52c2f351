#pragma once
// Wayland client objects held by std::unique_ptr with the call that destroys each, so that
// a half-made set of them is freed on every way out. Objects made from another (a buffer
// from its pool, a global from the registry) need not go first; an event queue must
// outlive every object that delivers events to it: declare it before them.

#include <wayland-client.h>

#include <memory>

namespace platform {

struct WlEventQueueDeleter {
  void operator()(wl_event_queue* queue) const { wl_event_queue_destroy(queue); }
};
using WlEventQueueUniquePtr = std::unique_ptr<wl_event_queue, WlEventQueueDeleter>;

// A display wrapper: the display as seen through another event queue.
struct WlDisplayWrapperDeleter {
  void operator()(wl_display* wrapper) const { wl_proxy_wrapper_destroy(wrapper); }
};
using WlDisplayWrapperUniquePtr = std::unique_ptr<wl_display, WlDisplayWrapperDeleter>;

struct WlRegistryDeleter {
  void operator()(wl_registry* registry) const { wl_registry_destroy(registry); }
};
using WlRegistryUniquePtr = std::unique_ptr<wl_registry, WlRegistryDeleter>;

struct WlShmDeleter {
  void operator()(wl_shm* shm) const { wl_shm_destroy(shm); }
};
using WlShmUniquePtr = std::unique_ptr<wl_shm, WlShmDeleter>;

struct WlShmPoolDeleter {
  void operator()(wl_shm_pool* pool) const { wl_shm_pool_destroy(pool); }
};
using WlShmPoolUniquePtr = std::unique_ptr<wl_shm_pool, WlShmPoolDeleter>;

struct WlBufferDeleter {
  void operator()(wl_buffer* buffer) const { wl_buffer_destroy(buffer); }
};
using WlBufferUniquePtr = std::unique_ptr<wl_buffer, WlBufferDeleter>;

}  // namespace platform
