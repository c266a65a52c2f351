#pragma once
// Child windows drawn inside their parent's window, for window systems that let no program
// stack its windows (see SdlWindow): each child's last picture is kept as 0x00RRGGBB rows
// and drawn over the parent's picture, centred on its client area, by whichever presenter
// the parent has (its renderer, its window surface or its shared-memory buffers).

#include <cstdint>
#include <vector>

#include "platform/picture_scaler.h"
#include "platform/present_layout.h"
#include "platform/sdl_ptrs.h"

namespace platform {

class SdlWindow;

// A child window's picture as its host shows it.
struct ChildPicture {
  explicit ChildPicture(SdlWindow* owner) : window(owner) {}
  // Keeps a copy of the picture, converted to 0x00RRGGBB.
  void keep(const PixelSource& picture);

  SdlWindow* window;  // the child window the picture belongs to
  std::vector<uint32_t> pixels;
  int width = 0;
  int height = 0;
  // Its texture in the host's renderer, freed while that renderer lives: when the child
  // leaves the host or the host goes.
  SdlTextureUniquePtr texture;
  bool textureCurrent = false;
  PictureScaler converter;
};

// The children shown inside one window, the topmost last.
class ChildOverlay {
 public:
  void setHost(SDL_Window* host) { host_ = host; }
  bool empty() const { return pictures_.empty(); }
  const std::vector<ChildPicture*>& pictures() const { return pictures_; }
  // Adds a child on top, or moves it there.
  void raise(ChildPicture* child);
  void remove(ChildPicture* child);
  // The topmost child whose area holds the point (window coordinates), or null.
  ChildPicture* at(int windowX, int windowY) const;

  // Where a child shows in the host's client area (window coordinates), and scaled to an
  // output of outputWidth x outputHeight pixels.
  PresentRect area(const ChildPicture& child) const;
  PresentRect area(const ChildPicture& child, int outputWidth, int outputHeight) const;

  // Draws the children over what the host drew: through its renderer (into an output of
  // outputWidth x outputHeight pixels), into pixels, or into an SDL surface.
  void draw(SDL_Renderer* renderer, int outputWidth, int outputHeight);
  void draw(const PixelTarget& target);
  void draw(SDL_Surface* target);
  // The host's renderer goes: the children's textures go with it.
  void dropTextures();

 private:
  SDL_Window* host_ = nullptr;
  PictureScaler scaler_;
  std::vector<ChildPicture*> pictures_;
};

// The layout the scaler writes for an SDL pixel format; Other when SDL must convert.
SurfaceLayout layoutOf(uint32_t sdlFormat);

inline SDL_Rect toSdl(const PresentRect& r) { return SDL_Rect{r.x, r.y, r.width, r.height}; }

}  // namespace platform
