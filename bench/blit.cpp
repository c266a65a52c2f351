// Colour-keyed copies and the wave draw, against SDL's own colour-keyed blit of the same
// pixels in the same run. Prints time per call and our time as a ratio to SDL's (below
// 1.0: faster than SDL). Goal: the keyed copy no slower than SDL's.

#include <SDL2/SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "engine/graphics/direct_draw_surface.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint16_t kKey = 0xFFFF;  // white, the game's usual transparent colour

// The best of several rounds, in seconds per call.
double timePerCall(int calls, const std::function<void()>& call) {
  double best = 1e9;
  for (int round = 0; round < 7; ++round) {
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) call();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count() / calls);
  }
  return best;
}

// A sprite-like picture: a blob of noisy colour on the key, about a third of it keyed.
std::vector<uint16_t> spritePixels(int w, int h, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint16_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double dx = (x - w / 2.0) / (w / 2.0);
      const double dy = (y - h / 2.0) / (h / 2.0);
      const bool inside = dx * dx + dy * dy < 0.85;
      pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
          inside ? static_cast<uint16_t>(rng() & 0xF7DE) : kKey;
    }
  }
  return pixels;
}

struct FreeSurface {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

// The same pixels as our surface and as an SDL surface.
struct Pair {
  std::unique_ptr<TDirectDrawSurface> ours;
  std::unique_ptr<SDL_Surface, FreeSurface> sdlOwner;
  SDL_Surface* sdl = nullptr;
};

Pair makePair(TDirectDraw& ddraw, int w, int h, const std::vector<uint16_t>& pixels) {
  Pair p;
  p.ours = std::make_unique<TDirectDrawSurface>(&ddraw);
  p.ours->SetSize(w, h);
  p.sdlOwner.reset(SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565));
  p.sdl = p.sdlOwner.get();
  TSurfaceMemory& memory = p.ours->ISurface();
  SDL_LockSurface(p.sdl);
  for (int y = 0; y < h; ++y) {
    const uint16_t* row = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
    std::memcpy(memory.Row(y), row, static_cast<size_t>(w) * 2);
    std::memcpy(static_cast<uint8_t*>(p.sdl->pixels) + y * p.sdl->pitch, row,
                static_cast<size_t>(w) * 2);
  }
  SDL_UnlockSurface(p.sdl);
  p.ours->SetColorKey(kKey);
  SDL_SetColorKey(p.sdl, SDL_TRUE, kKey);
  return p;
}

void report(const char* what, double ours, double sdl) {
  std::printf("%-44s ours %9.2f us   SDL %9.2f us   ratio %.2f\n", what, ours * 1e6, sdl * 1e6,
              ours / sdl);
}

}  // namespace

int main() {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
  if (SDL_Init(0) != 0) {
    std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    return 1;
  }
  {
    TDirectDraw ddraw(nullptr);
    const std::vector<uint16_t> screenPixels(800 * 600, 0);
    Pair screen = makePair(ddraw, 800, 600, screenPixels);

    struct Case {
      const char* name;
      int w, h, calls;
    };
    const Case cases[] = {{"keyed copy, 50x50 sprite", 50, 50, 20000},
                          {"keyed copy, 130x90 monster", 130, 90, 5000},
                          {"keyed copy, 800x600 screen picture", 800, 600, 200}};
    for (const Case& c : cases) {
      Pair sprite = makePair(ddraw, c.w, c.h, spritePixels(c.w, c.h, static_cast<uint32_t>(c.w)));
      const int x = (800 - c.w) / 3;
      const int y = (600 - c.h) / 3;
      const double ours = timePerCall(c.calls, [&] {
        screen.ours->BlitFrom(x, y, sprite.ours->ClipRect(), sprite.ours.get(), true);
      });
      SDL_Rect dest{x, y, c.w, c.h};
      const double sdl = timePerCall(c.calls, [&] {
        SDL_Rect d = dest;
        SDL_BlitSurface(sprite.sdl, nullptr, screen.sdl, &d);
      });
      report(c.name, ours, sdl);
    }
    // A sprite half off the left edge: our clip rule against SDL's clipping.
    {
      Pair sprite = makePair(ddraw, 130, 90, spritePixels(130, 90, 5));
      const double ours = timePerCall(5000, [&] {
        screen.ours->BlitFrom(-65, 100, sprite.ours->ClipRect(), sprite.ours.get(), true);
      });
      const double sdl = timePerCall(5000, [&] {
        SDL_Rect d{-65, 100, 130, 90};
        SDL_BlitSurface(sprite.sdl, nullptr, screen.sdl, &d);
      });
      report("keyed copy, 130x90 half off the left edge", ours, sdl);
    }
    // The menu: five entries in 200x50 boxes and the highlighted one in 300x75, from
    // 200x50 pictures, against SDL's keyed scaled blit into the same boxes.
    {
      Pair entry = makePair(ddraw, 200, 50, spritePixels(200, 50, 9));
      int phase = 0;
      const double ours = timePerCall(500, [&] {
        for (int n = 3; n <= 7; ++n) {
          screen.ours->DrawWave(800 - 100 * n, 50 * n, 200, 50, entry.ours->ClipRect(),
                                entry.ours.get(), true, 2, 80, phase);
        }
        screen.ours->DrawWave(250, 183, 300, 75, entry.ours->ClipRect(), entry.ours.get(), true, 4,
                              80, phase);
        phase += 4;
      });
      const double sdl = timePerCall(500, [&] {
        for (int n = 3; n <= 7; ++n) {
          SDL_Rect d{800 - 100 * n, 50 * n, 200, 50};
          SDL_BlitScaled(entry.sdl, nullptr, screen.sdl, &d);
        }
        SDL_Rect d{250, 183, 300, 75};
        SDL_BlitScaled(entry.sdl, nullptr, screen.sdl, &d);
      });
      report("wave draw of the menu (6 boxes) vs scaled blit", ours, sdl);
    }
  }
  SDL_Quit();
  return 0;
}
