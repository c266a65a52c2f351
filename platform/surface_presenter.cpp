#include "platform/surface_presenter.h"

#include <SDL.h>

namespace platform {
namespace {

bool sameRect(const PresentRect& a, const PresentRect& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

}  // namespace

void SurfacePresenter::draw(const PixelSource& picture, PresentMode mode, ChildOverlay& children) {
  SDL_Surface* target = SDL_GetWindowSurface(window_);
  if (target == nullptr) return;  // nowhere to show it; the game goes on regardless
  const PresentRect area = presentRect(target->w, target->h, picture.width, picture.height, mode);
  const SurfaceLayout layout = layoutOf(target->format->format);
  if (layout == SurfaceLayout::Other) {
    // A surface layout of a rare display: SDL converts, more slowly.
    const SdlSurfaceUniquePtr source(SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<void*>(picture.pixels), picture.width, picture.height,
        bytesPerPixel(picture.format) * 8, picture.pitch, sdlFormat(picture.format)));
    if (source == nullptr) return;
    SDL_SetSurfaceBlendMode(source.get(), SDL_BLENDMODE_NONE);
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
    SDL_Rect destination = toSdl(area);
    SDL_BlitScaled(source.get(), nullptr, target, &destination);
  } else {
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
    const PixelTarget out{target->pixels, target->w, target->h, target->pitch, layout};
    // The surface keeps what was drawn into it: the bars need painting only when the
    // surface or the picture's place changes.
    if (target != barsSurface_ || target->pixels != barsPixels_ || target->w != barsWidth_ ||
        target->h != barsHeight_ || !sameRect(area, barsArea_)) {
      fillOutside(out, area);
      barsSurface_ = target;
      barsPixels_ = target->pixels;
      barsWidth_ = target->w;
      barsHeight_ = target->h;
      barsArea_ = area;
    }
    scaler_.draw(picture, out, area);
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
  }
  children.draw(target);
  SDL_UpdateWindowSurface(window_);
}

void SurfacePresenter::refreshWithoutPicture(ChildOverlay& children) {
  SDL_Surface* target = SDL_GetWindowSurface(window_);
  if (target == nullptr) return;
  children.draw(target);
  SDL_UpdateWindowSurface(window_);
}

}  // namespace platform
