#pragma once
// A Wayland window's pictures handed to the compositor in shared memory. SDL has no window
// surface of its own on Wayland: without a GPU it draws one through OpenGL rasterized on
// the CPU, which took a third of a core on the menu. Writing the scaled picture straight
// into a buffer the compositor reads costs about 6 per cent of a core there, as the X
// server's shared memory does on X11.
//
// The buffers follow the surface's configured size and scale (a buffer of width x height
// times the scale, its scale told to the compositor). When the compositor still holds every
// buffer, the next picture waits a few milliseconds for one to come back before it is
// dropped, and drops are counted.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/picture_scaler.h"

struct SDL_Window;
struct wl_display;
struct wl_surface;

namespace platform {

class WaylandFrameBuffers {
 public:
  // Null when the window is not on Wayland or the compositor offers no shared memory.
  static std::unique_ptr<WaylandFrameBuffers> create(SDL_Window* window);
  // For a surface of a display connection of one's own.
  static std::unique_ptr<WaylandFrameBuffers> create(wl_display* display, wl_surface* surface);
  ~WaylandFrameBuffers();
  WaylandFrameBuffers(const WaylandFrameBuffers&) = delete;
  WaylandFrameBuffers& operator=(const WaylandFrameBuffers&) = delete;

  // A buffer for the next picture of a surface of width x height (surface coordinates) at
  // a scale: (width x scale) x (height x scale) pixels, 0x00RRGGBB, its old contents
  // undefined. An empty target when none can be made, or when the compositor held every
  // buffer for longer than the wait (the frame is then dropped and counted).
  PixelTarget begin(int width, int height, int scale = 1);
  // Shows the buffer begin() gave.
  void commit();
  // Frames dropped because the compositor held every buffer.
  uint64_t dropped() const { return dropped_; }
  // Buffers made so far, and buffers alive now.
  uint64_t buffersMade() const { return made_; }
  size_t buffersAlive() const { return buffers_.size(); }

  struct Connection;
  struct Buffer;

 private:
  explicit WaylandFrameBuffers(std::unique_ptr<Connection> connection);
  Buffer* freeBuffer(int width, int height);
  Buffer* makeBuffer(int width, int height);
  // Reads the compositor's messages for our queue until a buffer is released or the
  // wait ends; false when none came back.
  bool waitForRelease();

  // The buffers, declared after the connection, go before it.
  std::unique_ptr<Connection> connection_;
  std::vector<std::unique_ptr<Buffer>> buffers_;
  Buffer* drawing_ = nullptr;
  int scale_ = 1;  // of the picture being drawn
  uint64_t dropped_ = 0;
  uint64_t made_ = 0;
};

}  // namespace platform
