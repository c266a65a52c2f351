#pragma once
// Finished pictures as plain 24-bit pixel grids, and the colour-key rules the game's
// surfaces apply to them: the key is compared after conversion to the 5-6-5 display
// format, so "near" the key is the same as the key.

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/art/paint_kit.h"

namespace art {

struct Pixel {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Pixel&) const = default;
};

constexpr Pixel kWhiteKey{255, 255, 255};
constexpr Pixel kBlackKey{0, 0, 0};
constexpr Pixel kBlueKey{0, 0, 255};
constexpr Pixel kGreenKey{0, 128, 0};

struct Raster {
  int width = 0, height = 0;
  std::vector<Pixel> pixels;  // top row first

  Raster() = default;
  Raster(int w, int h, Pixel fill = {}) : width(w), height(h), pixels(size_t(w) * h, fill) {}
  Pixel& at(int x, int y) { return pixels[size_t(y) * width + x]; }
  const Pixel& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// True when the display would take p for the key: both reduced to 5-6-5 are equal.
bool convertsToKey(Pixel p, Pixel key);

// A new ARGB surface of that size, cleared to transparent.
cairo_surface_t* newCanvas(int w, int h);

// An opaque picture: the surface's colours as they stand.
Raster opaqueRaster(cairo_surface_t* surface);

// A colour-keyed sprite from a drawing on a transparent canvas. Pixels at least half
// covered belong to the figure and are composed over `edge` (the colour the sprite is
// usually seen against), so its rim shows no light halo; the others become the key.
// Figure pixels that would read as the key are moved off it, and key pixels enclosed by
// the figure are filled, so every key pixel reaches the border through key pixels.
Raster keyedSprite(cairo_surface_t* surface, Pixel key, Rgb edge);

// Moves every pixel that reads as the key just off it (for keyed pictures meant to be
// drawn whole, like the full-screen menu pictures).
void keepOffKey(Raster& raster, Pixel key);

// Fills key pixels that are not connected to the border through key pixels with the
// colour of their nearest figure neighbour.
void fillEnclosedKey(Raster& raster, Pixel key);

// A cairo surface showing the raster (opaque), for previews and the contact sheet.
cairo_surface_t* rasterSurface(const Raster& raster);
// The same with the key pixels transparent, as the game draws a keyed picture.
cairo_surface_t* keyedSurface(const Raster& raster, Pixel key);
// The raster as a PNG file; std::runtime_error when it cannot be written.
void writePng(const Raster& raster, const std::string& path);

}  // namespace art
