#include "platform/wayland_frame_buffers.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace platform {
namespace {

TEST(WaylandFrameBuffers, OnlyAWaylandWindowHasThem) {
  // Elsewhere the window keeps presenting into SDL's own window surface.
  auto platform = createSdlPlatform();
  auto window = platform->createWindow(WindowDesc{});
  EXPECT_EQ(WaylandFrameBuffers::create(SDL_GetWindowFromID(window->id())), nullptr);
  EXPECT_EQ(WaylandFrameBuffers::create(nullptr), nullptr);
}

}  // namespace
}  // namespace platform
