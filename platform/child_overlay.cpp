#include "platform/child_overlay.h"

#include <SDL.h>

#include <algorithm>

namespace platform {

SurfaceLayout layoutOf(uint32_t sdlFormat) {
  switch (sdlFormat) {
    case SDL_PIXELFORMAT_RGB888:
    case SDL_PIXELFORMAT_ARGB8888:
      return SurfaceLayout::XRGB8888;
    case SDL_PIXELFORMAT_BGR888:
    case SDL_PIXELFORMAT_ABGR8888:
      return SurfaceLayout::XBGR8888;
    case SDL_PIXELFORMAT_RGB565:
      return SurfaceLayout::RGB565;
    default:
      return SurfaceLayout::Other;
  }
}

void ChildPicture::keep(const PixelSource& picture) {
  width = picture.width;
  height = picture.height;
  pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  const PixelTarget copy{pixels.data(), width, height, width * 4, SurfaceLayout::XRGB8888};
  converter.draw(picture, copy, PresentRect{0, 0, width, height});
  textureCurrent = false;
}

void ChildOverlay::raise(ChildPicture* child) {
  remove(child);
  pictures_.push_back(child);
}

void ChildOverlay::remove(ChildPicture* child) {
  pictures_.erase(std::remove(pictures_.begin(), pictures_.end(), child), pictures_.end());
}

ChildPicture* ChildOverlay::at(int windowX, int windowY) const {
  for (auto it = pictures_.rbegin(); it != pictures_.rend(); ++it) {
    if (areaContains(area(**it), windowX, windowY)) return *it;
  }
  return nullptr;
}

PresentRect ChildOverlay::area(const ChildPicture& child) const {
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(host_, &width, &height);
  return childRect(width, height, width, height, child.width, child.height);
}

PresentRect ChildOverlay::area(const ChildPicture& child, int outputWidth, int outputHeight) const {
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(host_, &width, &height);
  return childRect(width, height, outputWidth, outputHeight, child.width, child.height);
}

void ChildOverlay::draw(SDL_Renderer* renderer, int outputWidth, int outputHeight) {
  for (ChildPicture* child : pictures_) {
    if (child->pixels.empty()) continue;
    if (child->texture != nullptr && !child->textureCurrent) {
      int w = 0;
      int h = 0;
      SDL_QueryTexture(child->texture.get(), nullptr, nullptr, &w, &h);
      if (w != child->width || h != child->height) child->texture.reset();
    }
    if (child->texture == nullptr) {
      child->texture.reset(SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888,
                                             SDL_TEXTUREACCESS_STREAMING, child->width,
                                             child->height));
      if (child->texture == nullptr) continue;
      child->textureCurrent = false;
    }
    if (!child->textureCurrent) {
      SDL_UpdateTexture(child->texture.get(), nullptr, child->pixels.data(), child->width * 4);
      child->textureCurrent = true;
    }
    const SDL_Rect destination = toSdl(area(*child, outputWidth, outputHeight));
    SDL_RenderCopy(renderer, child->texture.get(), nullptr, &destination);
  }
}

void ChildOverlay::draw(const PixelTarget& target) {
  for (ChildPicture* child : pictures_) {
    if (child->pixels.empty()) continue;
    scaler_.draw(PixelSource{child->pixels.data(), child->width, child->height, child->width * 4,
                             PixelFormat::ARGB8888},
                 target, area(*child, target.width, target.height));
  }
}

void ChildOverlay::draw(SDL_Surface* target) {
  if (pictures_.empty()) return;
  const SurfaceLayout layout = layoutOf(target->format->format);
  if (layout != SurfaceLayout::Other) {
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
    draw(PixelTarget{target->pixels, target->w, target->h, target->pitch, layout});
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    return;
  }
  for (ChildPicture* child : pictures_) {
    if (child->pixels.empty()) continue;
    const SdlSurfaceUniquePtr source(
        SDL_CreateRGBSurfaceWithFormatFrom(child->pixels.data(), child->width, child->height, 32,
                                           child->width * 4, SDL_PIXELFORMAT_RGB888));
    if (source == nullptr) continue;
    SDL_Rect destination = toSdl(area(*child, target->w, target->h));
    SDL_BlitScaled(source.get(), nullptr, target, &destination);
  }
}

void ChildOverlay::dropTextures() {
  for (ChildPicture* child : pictures_) child->texture.reset();
}

}  // namespace platform
