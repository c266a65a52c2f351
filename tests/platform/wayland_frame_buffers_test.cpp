#include "platform/wayland_frame_buffers.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <wayland-client.h>

#include <chrono>
#include <cstring>

#include "platform/platform.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "support/test_compositor.h"

namespace platform {
namespace {

TEST(WaylandFrameBuffers, OnlyAWaylandWindowHasThem) {
  // Elsewhere the window keeps presenting into SDL's own window surface.
  auto platform = createSdlPlatform();
  auto window = platform->createWindow(WindowDesc{});
  EXPECT_EQ(WaylandFrameBuffers::create(SDL_GetWindowFromID(window->id())), nullptr);
  EXPECT_EQ(WaylandFrameBuffers::create(nullptr), nullptr);
}

// A client surface on a compositor of the test's own, which holds every buffer shown to it
// until the test gives them back.
class HeldBuffersTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    compositor_ = std::make_unique<TestCompositor>(GetParam());
    if (!compositor_->running()) GTEST_SKIP() << "no Wayland server socket can be made here";
    display_ = wl_display_connect(compositor_->socketName().c_str());
    ASSERT_NE(display_, nullptr);
    registry_ = wl_display_get_registry(display_);
    static const wl_registry_listener kListener = {
        [](void* data, wl_registry* registry, uint32_t name, const char* interface,
           uint32_t version) {
          if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
            *static_cast<wl_compositor**>(data) = static_cast<wl_compositor*>(
                wl_registry_bind(registry, name, &wl_compositor_interface, version));
          }
        },
        [](void*, wl_registry*, uint32_t) {}};
    wl_registry_add_listener(registry_, &kListener, &compositorGlobal_);
    wl_display_roundtrip(display_);
    ASSERT_NE(compositorGlobal_, nullptr);
    surface_ = wl_compositor_create_surface(compositorGlobal_);
    buffers_ = WaylandFrameBuffers::create(display_, surface_);
    ASSERT_NE(buffers_, nullptr);
  }

  void TearDown() override {
    buffers_.reset();
    if (surface_ != nullptr) wl_surface_destroy(surface_);
    if (compositorGlobal_ != nullptr) wl_compositor_destroy(compositorGlobal_);
    if (registry_ != nullptr) wl_registry_destroy(registry_);
    if (display_ != nullptr) wl_display_disconnect(display_);
  }

  // One picture shown, then the compositor's answers read as SDL's event pump reads them.
  bool show(int width, int height, int scale = 1) {
    const PixelTarget target = buffers_->begin(width, height, scale);
    if (target.pixels == nullptr) return false;
    EXPECT_EQ(target.width, width * scale);
    EXPECT_EQ(target.height, height * scale);
    static_cast<uint32_t*>(target.pixels)[target.width * target.height - 1] = 0x123456;
    buffers_->commit();
    settle();
    return true;
  }
  void settle() { wl_display_roundtrip(display_); }

  TempFolder runtime_;
  ScopedVariable runtimeDir_{"XDG_RUNTIME_DIR", runtime_.path().c_str()};
  std::unique_ptr<TestCompositor> compositor_;
  wl_display* display_ = nullptr;
  wl_registry* registry_ = nullptr;
  wl_compositor* compositorGlobal_ = nullptr;
  wl_surface* surface_ = nullptr;
  std::unique_ptr<WaylandFrameBuffers> buffers_;
};

TEST_P(HeldBuffersTest, ReleasedBuffersAreReusedAndHeldOnesWaitedForThenDropped) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(show(100, 50));
  EXPECT_EQ(buffers_->buffersMade(), 3u);
  EXPECT_EQ(compositor_->seen().held, 3);

  // Given back, the same three carry the next pictures.
  compositor_->releaseAll();
  settle();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(show(100, 50));
  EXPECT_EQ(buffers_->buffersMade(), 3u);

  // All held: buffers given back but not yet read from the connection are waited for, and
  // carry the picture ...
  compositor_->releaseAll();
  ASSERT_TRUE(show(100, 50));
  EXPECT_EQ(buffers_->dropped(), 0u);
  EXPECT_EQ(buffers_->buffersMade(), 3u);
  // ... and none given back drops the picture, counted, without waiting long.
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(show(100, 50));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(show(100, 50));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(buffers_->dropped(), 1u);
  EXPECT_EQ(compositor_->seen().commits, 9);
}

TEST_P(HeldBuffersTest, AResizeWhileEveryBufferIsHeldTakesTheNewSizeOnceOneComesBack) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(show(100, 50));
  compositor_->releaseAll();  // read only while the next picture waits
  ASSERT_TRUE(show(120, 60));
  EXPECT_EQ(compositor_->seen().bufferWidth, 120);
  EXPECT_EQ(compositor_->seen().bufferHeight, 60);
  // The old size's buffers go once given back; no more than three live at once.
  EXPECT_LE(buffers_->buffersAlive(), 3u);
  compositor_->releaseAll();
  settle();
  ASSERT_TRUE(show(120, 60));
  EXPECT_EQ(buffers_->buffersAlive(), 1u);
}

TEST_P(HeldBuffersTest, AtScaleTwoTheBufferHasTwiceThePixelsAndSaysSo) {
  ASSERT_TRUE(show(100, 50, 2));
  const TestCompositor::Seen seen = compositor_->seen();
  EXPECT_EQ(seen.bufferWidth, 200);
  EXPECT_EQ(seen.bufferHeight, 100);
  if (GetParam() >= 4) {
    // Damage in buffer pixels where the surface knows it ...
    EXPECT_EQ(seen.scale, 2);
    EXPECT_EQ(seen.damageBufferCalls, 1);
    EXPECT_EQ(seen.damageCalls, 0);
    EXPECT_EQ(seen.lastDamageWidth, 200);
  } else {
    // ... and in surface coordinates where it does not.
    EXPECT_EQ(seen.scale, 2);
    EXPECT_EQ(seen.damageBufferCalls, 0);
    EXPECT_EQ(seen.damageCalls, 1);
    EXPECT_EQ(seen.lastDamageWidth, 100);
  }
}

// Version 4 knows damage in buffer pixels; version 3 only in surface coordinates.
INSTANTIATE_TEST_SUITE_P(SurfaceVersions, HeldBuffersTest, ::testing::Values(3, 4));

}  // namespace
}  // namespace platform
