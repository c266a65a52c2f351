#pragma once
// A Wayland window's pictures handed to the compositor in shared memory. SDL has no window
// surface of its own on Wayland: without a GPU it draws one through OpenGL rasterized on
// the CPU, which costs a fifth of a core at 60 frames a second for an 800 x 600 picture.
// Writing the scaled picture straight into a buffer the compositor reads costs a tenth of
// that, as the X server's shared memory does on X11.

#include <memory>
#include <vector>

#include "platform/picture_scaler.h"

struct SDL_Window;

namespace platform {

class WaylandFrameBuffers {
 public:
  // Null when the window is not on Wayland or the compositor offers no shared memory.
  static std::unique_ptr<WaylandFrameBuffers> create(SDL_Window* window);
  ~WaylandFrameBuffers();
  WaylandFrameBuffers(const WaylandFrameBuffers&) = delete;
  WaylandFrameBuffers& operator=(const WaylandFrameBuffers&) = delete;

  // A buffer of width x height pixels (0x00RRGGBB) for the next picture, its old contents
  // undefined; an empty target when the compositor still holds every buffer (the frame is
  // then dropped) or none can be made.
  PixelTarget begin(int width, int height);
  // Shows the buffer begin() gave.
  void commit();

  struct Connection;
  struct Buffer;

 private:
  explicit WaylandFrameBuffers(std::unique_ptr<Connection> connection);
  Buffer* freeBuffer(int width, int height);

  // The buffers, declared after the connection, go before it.
  std::unique_ptr<Connection> connection_;
  std::vector<std::unique_ptr<Buffer>> buffers_;
  Buffer* drawing_ = nullptr;
};

}  // namespace platform
