#include "tools/art/raster.h"

#include <algorithm>
#include <deque>
#include <stdexcept>
#include <string>

namespace art {

namespace {

uint16_t to565(Pixel p) { return uint16_t(((p.r >> 3) << 11) | ((p.g >> 2) << 5) | (p.b >> 3)); }

Pixel offKey(Pixel p, Pixel key) {
  // Step the channel with the most room one 5-6-5 level away from the key's value.
  if (key.r >= 128) {
    p.r = 240;
  } else {
    p.r = 12;
  }
  if (convertsToKey(p, key)) p.g = key.g >= 128 ? uint8_t(key.g - 8) : uint8_t(key.g + 8);
  return p;
}

uint8_t clampByte(double v) { return uint8_t(std::clamp(v, 0.0, 255.0) + 0.5); }

}  // namespace

bool convertsToKey(Pixel p, Pixel key) { return to565(p) == to565(key); }

cairo_surface_t* newCanvas(int w, int h) {
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
}

Raster opaqueRaster(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  Raster out(w, h);
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
    for (int x = 0; x < w; ++x) {
      uint32_t v = row[x];
      out.at(x, y) = {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    }
  }
  return out;
}

Raster keyedSprite(cairo_surface_t* surface, Pixel key, Rgb edge) {
  cairo_surface_flush(surface);
  int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  Raster out(w, h, key);
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
    for (int x = 0; x < w; ++x) {
      uint32_t v = row[x];
      int a = int(v >> 24);
      if (a < 128) continue;
      double rest = (255 - a) / 255.0;
      // Cairo stores premultiplied colour, so composing over the edge colour is an add.
      Pixel p{clampByte(double((v >> 16) & 255) + rest * edge.r * 255),
              clampByte(double((v >> 8) & 255) + rest * edge.g * 255),
              clampByte(double(v & 255) + rest * edge.b * 255)};
      if (convertsToKey(p, key)) p = offKey(p, key);
      out.at(x, y) = p;
    }
  }
  fillEnclosedKey(out, key);
  return out;
}

void keepOffKey(Raster& raster, Pixel key) {
  for (Pixel& p : raster.pixels) {
    if (convertsToKey(p, key)) p = offKey(p, key);
  }
}

void fillEnclosedKey(Raster& raster, Pixel key) {
  int w = raster.width, h = raster.height;
  std::vector<uint8_t> reached(size_t(w) * h, 0);
  std::deque<int> queue;
  auto seed = [&](int x, int y) {
    size_t i = size_t(y) * w + x;
    if (!reached[i] && convertsToKey(raster.pixels[i], key)) {
      reached[i] = 1;
      queue.push_back(int(i));
    }
  };
  for (int x = 0; x < w; ++x) {
    seed(x, 0);
    seed(x, h - 1);
  }
  for (int y = 0; y < h; ++y) {
    seed(0, y);
    seed(w - 1, y);
  }
  while (!queue.empty()) {
    int i = queue.front();
    queue.pop_front();
    int x = i % w, y = i / w;
    if (x > 0) seed(x - 1, y);
    if (x + 1 < w) seed(x + 1, y);
    if (y > 0) seed(x, y - 1);
    if (y + 1 < h) seed(x, y + 1);
  }
  // Enclosed key pixels take the colour of a figure neighbour; repeat until none is left,
  // so a larger enclosed patch fills in from its rim.
  bool changed = true;
  while (changed) {
    changed = false;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        size_t i = size_t(y) * w + x;
        if (reached[i] || !convertsToKey(raster.pixels[i], key)) continue;
        const int dx[4] = {-1, 1, 0, 0}, dy[4] = {0, 0, -1, 1};
        for (int k = 0; k < 4; ++k) {
          int nx = x + dx[k], ny = y + dy[k];
          if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
          Pixel n = raster.at(nx, ny);
          if (!convertsToKey(n, key)) {
            raster.pixels[i] = n;
            changed = true;
            break;
          }
        }
      }
    }
  }
}

static cairo_surface_t* toSurface(const Raster& raster, const Pixel* key) {
  cairo_surface_t* s = newCanvas(raster.width, raster.height);
  unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < raster.height; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
    for (int x = 0; x < raster.width; ++x) {
      Pixel p = raster.at(x, y);
      row[x] = (key && convertsToKey(p, *key))
                   ? 0u
                   : (0xFF000000u | (uint32_t(p.r) << 16) | (uint32_t(p.g) << 8) | p.b);
    }
  }
  cairo_surface_mark_dirty(s);
  return s;
}

cairo_surface_t* rasterSurface(const Raster& raster) { return toSurface(raster, nullptr); }
cairo_surface_t* keyedSurface(const Raster& raster, Pixel key) { return toSurface(raster, &key); }

void writePng(const Raster& raster, const std::string& path) {
  cairo_surface_t* surface = rasterSurface(raster);
  const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("Cannot write " + path);
}

}  // namespace art
