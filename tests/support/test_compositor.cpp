#include "support/test_compositor.h"

#include <poll.h>
#include <wayland-server.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

struct TestCompositor::State {
  int version = 4;
  wl_display* display = nullptr;
  std::string socket;
  mutable std::mutex lock;  // every call into the server library holds it
  std::thread thread;
  std::atomic<bool> stop{false};
  Seen seen;
  wl_resource* pending = nullptr;     // attached, not yet committed
  std::vector<wl_resource*> holding;  // shown, not yet released

  void releaseHeld() {
    for (wl_resource* buffer : holding) wl_buffer_send_release(buffer);
    holding.clear();
    seen.held = 0;
    wl_display_flush_clients(display);
  }
};

namespace {

using State = TestCompositor::State;

State* stateOf(wl_resource* resource) {
  return static_cast<State*>(wl_resource_get_user_data(resource));
}

void destroyResource(wl_client*, wl_resource* resource) { wl_resource_destroy(resource); }

void attach(wl_client*, wl_resource* surface, wl_resource* buffer, int32_t, int32_t) {
  stateOf(surface)->pending = buffer;
}

void damage(wl_client*, wl_resource* surface, int32_t, int32_t, int32_t width, int32_t height) {
  State* s = stateOf(surface);
  ++s->seen.damageCalls;
  s->seen.lastDamageWidth = width;
  s->seen.lastDamageHeight = height;
}

void damageBuffer(wl_client*, wl_resource* surface, int32_t, int32_t, int32_t width,
                  int32_t height) {
  State* s = stateOf(surface);
  ++s->seen.damageBufferCalls;
  s->seen.lastDamageWidth = width;
  s->seen.lastDamageHeight = height;
}

void setBufferScale(wl_client*, wl_resource* surface, int32_t scale) {
  stateOf(surface)->seen.scale = scale;
}

void commit(wl_client*, wl_resource* surface) {
  State* s = stateOf(surface);
  ++s->seen.commits;
  if (s->pending == nullptr) return;
  if (wl_shm_buffer* shm = wl_shm_buffer_get(s->pending)) {
    s->seen.bufferWidth = wl_shm_buffer_get_width(shm);
    s->seen.bufferHeight = wl_shm_buffer_get_height(shm);
  }
  s->holding.push_back(s->pending);
  s->seen.held = static_cast<int>(s->holding.size());
  s->pending = nullptr;
}

void ignoreFrame(wl_client*, wl_resource*, uint32_t) {}
void ignoreRegion(wl_client*, wl_resource*, wl_resource*) {}
void ignoreTransform(wl_client*, wl_resource*, int32_t) {}
void ignoreOffset(wl_client*, wl_resource*, int32_t, int32_t) {}

struct wl_surface_interface surfaceInterface() {
  struct wl_surface_interface i {};
  i.destroy = destroyResource;
  i.attach = attach;
  i.damage = damage;
  i.frame = ignoreFrame;
  i.set_opaque_region = ignoreRegion;
  i.set_input_region = ignoreRegion;
  i.commit = commit;
  i.set_buffer_transform = ignoreTransform;
  i.set_buffer_scale = setBufferScale;
  i.damage_buffer = damageBuffer;
  i.offset = ignoreOffset;
  return i;
}
const struct wl_surface_interface kSurface = surfaceInterface();

void createSurface(wl_client* client, wl_resource* compositor, uint32_t id) {
  wl_resource* surface =
      wl_resource_create(client, &wl_surface_interface, wl_resource_get_version(compositor), id);
  wl_resource_set_implementation(surface, &kSurface, stateOf(compositor), nullptr);
}

void createRegion(wl_client* client, wl_resource*, uint32_t id) {
  static const struct wl_region_interface kRegion = {
      destroyResource, [](wl_client*, wl_resource*, int32_t, int32_t, int32_t, int32_t) {},
      [](wl_client*, wl_resource*, int32_t, int32_t, int32_t, int32_t) {}};
  wl_resource* region = wl_resource_create(client, &wl_region_interface, 1, id);
  wl_resource_set_implementation(region, &kRegion, nullptr, nullptr);
}

const struct wl_compositor_interface kCompositor = {createSurface, createRegion};

void bindCompositor(wl_client* client, void* data, uint32_t version, uint32_t id) {
  wl_resource* resource =
      wl_resource_create(client, &wl_compositor_interface, static_cast<int>(version), id);
  wl_resource_set_implementation(resource, &kCompositor, data, nullptr);
}

}  // namespace

TestCompositor::TestCompositor(int surfaceVersion) : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.version = surfaceVersion;
  s.display = wl_display_create();
  if (s.display == nullptr) return;
  const char* socket = wl_display_add_socket_auto(s.display);
  if (socket == nullptr || wl_display_init_shm(s.display) != 0 ||
      wl_global_create(s.display, &wl_compositor_interface, surfaceVersion, &s, bindCompositor) ==
          nullptr) {
    wl_display_destroy(s.display);
    s.display = nullptr;
    return;
  }
  s.socket = socket;
  s.thread = std::thread([&s] {
    wl_event_loop* loop = wl_display_get_event_loop(s.display);
    while (!s.stop) {
      pollfd fd{wl_event_loop_get_fd(loop), POLLIN, 0};
      poll(&fd, 1, 1);
      const std::lock_guard<std::mutex> hold(s.lock);
      wl_event_loop_dispatch(loop, 0);
      wl_display_flush_clients(s.display);
    }
  });
}

TestCompositor::~TestCompositor() {
  if (state_->display == nullptr) return;
  state_->stop = true;
  state_->thread.join();
  wl_display_destroy_clients(state_->display);
  wl_display_destroy(state_->display);
}

bool TestCompositor::running() const { return state_->display != nullptr; }

std::string TestCompositor::socketName() const { return state_->socket; }

TestCompositor::Seen TestCompositor::seen() const {
  const std::lock_guard<std::mutex> hold(state_->lock);
  return state_->seen;
}

void TestCompositor::releaseAll() {
  const std::lock_guard<std::mutex> hold(state_->lock);
  state_->releaseHeld();
}
