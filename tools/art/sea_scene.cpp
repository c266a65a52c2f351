#include "tools/art/sea_scene.h"

#include <cmath>

namespace art {

namespace {

const Rgb kSceneInk = rgb255(20, 22, 34);

void rays(cairo_t* cr, int w, int h, ArtRandom& rnd) {
  for (int i = 0; i < 7; ++i) {
    double x = rnd.uniform(-60, w - 40), spread = rnd.uniform(30, 90);
    double slant = rnd.uniform(60, 180);
    cairo_move_to(cr, x, 0);
    cairo_line_to(cr, x + spread, 0);
    cairo_line_to(cr, x + spread * 2.2 + slant, h * 0.85);
    cairo_line_to(cr, x + slant, h * 0.85);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h * 0.85);
    addStop(p, 0, rgb255(200, 240, 255), rnd.uniform(0.10, 0.18));
    addStop(p, 1, rgb255(200, 240, 255), 0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
}

void farReef(cairo_t* cr, int w, double y, Rgb colour, ArtRandom& rnd) {
  cairo_move_to(cr, 0, y + 200);
  cairo_line_to(cr, 0, y);
  double x = 0;
  while (x < w) {
    double step = rnd.uniform(30, 80), top = y - rnd.uniform(0, 60);
    cairo_curve_to(cr, x + step * 0.2, top, x + step * 0.8, top, x + step, y - rnd.uniform(0, 20));
    x += step;
  }
  cairo_line_to(cr, w, y + 200);
  cairo_close_path(cr);
  setColor(cr, colour);
  cairo_fill(cr);
}

void rock(cairo_t* cr, double cx, double cy, double rx, double ry, ArtRandom& rnd) {
  cairo_move_to(cr, cx - rx, cy);
  cairo_curve_to(cr, cx - rx, cy - ry * rnd.uniform(0.7, 1.1), cx - rx * 0.3, cy - ry,
                 cx + rx * 0.1, cy - ry);
  cairo_curve_to(cr, cx + rx * 0.6, cy - ry * rnd.uniform(0.8, 1.1), cx + rx, cy - ry * 0.5,
                 cx + rx, cy);
  cairo_close_path(cr);
  fillRadial(cr, cx - rx * 0.3, cy - ry * 0.8, rx * 1.4, rgb255(120, 128, 120), rgb255(46, 56, 62),
             true);
  strokeWith(cr, rgb255(26, 34, 40), 1.5);
  // Moss on top.
  cairo_move_to(cr, cx - rx * 0.7, cy - ry * 0.6);
  cairo_curve_to(cr, cx - rx * 0.3, cy - ry * 1.05, cx + rx * 0.3, cy - ry * 1.05, cx + rx * 0.7,
                 cy - ry * 0.55);
  strokeWith(cr, rgb255(70, 130, 80), ry * 0.12, false, 0.8);
}

void coral(cairo_t* cr, double x, double y, double len, double angle, int depth, Rgb colour) {
  double x2 = x + std::cos(angle) * len, y2 = y + std::sin(angle) * len;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x2, y2);
  strokeWith(cr, darker(colour, 0.45), depth * 2.2 + 3);
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x2, y2);
  strokeWith(cr, colour, depth * 2.2 + 1);
  if (depth == 0) {
    ellipsePath(cr, x2, y2, 2.6, 2.6);
    setColor(cr, lighter(colour, 0.35));
    cairo_fill(cr);
    return;
  }
  coral(cr, x2, y2, len * 0.75, angle - 0.45, depth - 1, colour);
  coral(cr, x2, y2, len * 0.7, angle + 0.4, depth - 1, colour);
}

void starfish(cairo_t* cr, double cx, double cy, double r, Rgb colour) {
  cairo_move_to(cr, cx + r * std::cos(-M_PI / 2), cy + r * std::sin(-M_PI / 2));
  for (int i = 1; i <= 10; ++i) {
    double a = -M_PI / 2 + i * M_PI / 5, rr = i % 2 ? r * 0.42 : r;
    cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a) * 0.6);
  }
  cairo_close_path(cr);
  fillRadial(cr, cx, cy, r, lighter(colour, 0.3), colour, true);
  strokeWith(cr, darker(colour, 0.5), 1.2);
}

void shell(cairo_t* cr, double cx, double cy, double r) {
  cairo_move_to(cr, cx - r, cy);
  cairo_curve_to(cr, cx - r, cy - r * 1.3, cx + r, cy - r * 1.3, cx + r, cy);
  cairo_close_path(cr);
  fillLinear(cr, 0, cy - r, rgb255(250, 220, 200), 0, cy, rgb255(220, 150, 130), true);
  strokeWith(cr, rgb255(120, 70, 60), 1);
  for (int i = -2; i <= 2; ++i) {
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx + i * r * 0.4, cy - r * 0.9 + std::abs(i) * r * 0.15);
    strokeWith(cr, rgb255(170, 100, 90), 0.8);
  }
}

// A sunken sailing ship far off, only a shade darker than the water around it.
void farWreck(cairo_t* cr, double x, double y, double scale) {
  const Rgb hull = rgb255(18, 56, 86), edge = rgb255(40, 96, 130);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, scale, scale);
  cairo_rotate(cr, -0.12);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_move_to(cr, -110, -30);
  cairo_line_to(cr, 96, -38);
  cairo_curve_to(cr, 110, -38, 118, -48, 124, -56);
  cairo_line_to(cr, 120, -20);
  cairo_curve_to(cr, 100, 10, 40, 24, -60, 20);
  cairo_curve_to(cr, -90, 16, -104, 0, -110, -30);
  cairo_close_path(cr);
  setColor(cr, hull);
  cairo_fill_preserve(cr);
  strokeWith(cr, edge, 1.5, false, 0.7);
  // Broken masts and a torn yard.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, -30, -32);
  cairo_line_to(cr, -36, -120);
  cairo_move_to(cr, 40, -36);
  cairo_line_to(cr, 48, -84);
  cairo_move_to(cr, -66, -96);
  cairo_line_to(cr, -4, -108);
  strokeWith(cr, hull, 5);
  // Portholes catching a little light.
  for (int i = 0; i < 5; ++i) {
    ellipsePath(cr, -70 + i * 34, -14 + i * 0.5, 4, 4);
    setColor(cr, edge, 0.8);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

// A distant school of small fish, seen as silhouettes.
void farSchool(cairo_t* cr, double x, double y, ArtRandom& rnd) {
  for (int i = 0; i < 14; ++i) {
    double fx = x + rnd.uniform(-60, 60), fy = y + rnd.uniform(-22, 22), s = rnd.uniform(0.7, 1.1);
    cairo_save(cr);
    cairo_translate(cr, fx, fy);
    cairo_scale(cr, s, s);
    ellipsePath(cr, 0, 0, 7, 2.6);
    cairo_move_to(cr, 6, 0);
    cairo_line_to(cr, 11, -3);
    cairo_line_to(cr, 11, 3);
    cairo_close_path(cr);
    setColor(cr, rgb255(20, 70, 110), 0.8);
    cairo_fill(cr);
    cairo_restore(cr);
  }
}

}  // namespace

void drawWater(cairo_t* cr, int w, int h, uint32_t seed) {
  ArtRandom rnd(seed);
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h);
  addStop(p, 0, rgb255(64, 164, 196));
  addStop(p, 0.08, rgb255(40, 128, 176));
  addStop(p, 0.5, rgb255(22, 80, 130));
  addStop(p, 1, rgb255(10, 36, 74));
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // The rippled surface seen from below.
  for (int row = 0; row < 4; ++row) {
    double y = 6 + row * 9;
    cairo_move_to(cr, 0, y);
    for (double x = 0; x <= w; x += 20) {
      cairo_curve_to(cr, x + 5, y - 4 + rnd.uniform(-1, 1), x + 15, y + 4, x + 20, y);
    }
    strokeWith(cr, rgb255(190, 236, 250), 2.5 - row * 0.5, false, 0.35 - row * 0.07);
  }
  rays(cr, w, h, rnd);
  farSchool(cr, w * 0.22, h * 0.3, rnd);
  farReef(cr, w, h * 0.72, rgb255(24, 70, 104), rnd);
  farWreck(cr, w * 0.56, h * 0.71, w / 800.0);
  farReef(cr, w, h * 0.8, rgb255(22, 62, 90), rnd);
  // Drifting motes.
  for (int i = 0; i < 140; ++i) {
    double x = rnd.uniform(0, w), y = rnd.uniform(0, h), r = rnd.uniform(0.6, 1.8);
    ellipsePath(cr, x, y, r, r);
    setColor(cr, rgb255(200, 235, 245), rnd.uniform(0.15, 0.45));
    cairo_fill(cr);
  }
}

void drawSeaweed(cairo_t* cr, double x, double baseY, double height, double sway, Rgb colour,
                 uint32_t seed) {
  ArtRandom rnd(seed);
  const int steps = 16;
  double phase = rnd.uniform(0, 6.28), width = rnd.uniform(5, 8);
  double left[steps + 1][2], right[steps + 1][2];
  for (int i = 0; i <= steps; ++i) {
    double t = double(i) / steps;
    double cx = x + std::sin(phase + t * 5) * sway * t + sway * 0.4 * t * t;
    double cy = baseY - height * t;
    double half = width * (1 - t * 0.85) * (0.8 + 0.2 * std::sin(t * 9 + phase));
    left[i][0] = cx - half;
    left[i][1] = cy;
    right[i][0] = cx + half;
    right[i][1] = cy;
  }
  cairo_move_to(cr, left[0][0], left[0][1]);
  for (int i = 1; i <= steps; ++i) cairo_line_to(cr, left[i][0], left[i][1]);
  for (int i = steps; i >= 0; --i) cairo_line_to(cr, right[i][0], right[i][1]);
  cairo_close_path(cr);
  fillLinear(cr, x - 10, 0, darker(colour, 0.25), x + 10, 0, lighter(colour, 0.2), true);
  strokeWith(cr, darker(colour, 0.55), 1.2);
  // Midrib.
  cairo_move_to(cr, (left[0][0] + right[0][0]) / 2, baseY);
  for (int i = 1; i < steps; ++i) {
    cairo_line_to(cr, (left[i][0] + right[i][0]) / 2, left[i][1]);
  }
  strokeWith(cr, lighter(colour, 0.35), 1, false, 0.6);
}

void drawSeabed(cairo_t* cr, int w, int h, double y, uint32_t seed, bool rich) {
  ArtRandom rnd(seed);
  // Weed behind the sand line.
  const Rgb weeds[3] = {rgb255(40, 130, 70), rgb255(70, 150, 60), rgb255(30, 110, 90)};
  for (int i = 0; i < (rich ? 16 : 8); ++i) {
    double x = rnd.uniform(0, w);
    for (int k = 0; k < 3; ++k) {
      drawSeaweed(cr, x + k * 8, y + 14, rnd.uniform(50, rich ? 150 : 90), rnd.uniform(6, 16),
                  weeds[(i + k) % 3], rnd.next());
    }
  }
  if (rich) {
    const Rgb corals[3] = {rgb255(230, 110, 120), rgb255(240, 150, 70), rgb255(190, 100, 200)};
    for (int i = 0; i < 5; ++i) {
      coral(cr, rnd.uniform(20, w - 20), y + 16, rnd.uniform(16, 26),
            -M_PI / 2 + rnd.uniform(-0.2, 0.2), 3, corals[i % 3]);
    }
  }
  // Sand in gentle dunes.
  cairo_move_to(cr, 0, h);
  cairo_line_to(cr, 0, y + 10);
  for (double x = 0; x < w; x += 100) {
    cairo_curve_to(cr, x + 30, y - rnd.uniform(0, 12), x + 70, y + rnd.uniform(6, 18), x + 100,
                   y + rnd.uniform(0, 12));
  }
  cairo_line_to(cr, w, h);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y - 10, 0, h);
  addStop(p, 0, rgb255(196, 184, 130));
  addStop(p, 0.3, rgb255(168, 150, 100));
  addStop(p, 1, rgb255(110, 100, 80));
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  cairo_save(cr);
  cairo_clip(cr);
  // Ripples and grains.
  for (int i = 0; i < 30; ++i) {
    double x = rnd.uniform(0, w), yy = rnd.uniform(y + 10, h);
    cairo_move_to(cr, x, yy);
    cairo_curve_to(cr, x + 10, yy - 3, x + 20, yy - 3, x + 30, yy);
    strokeWith(cr, rgb255(120, 104, 70), 1.2, false, 0.5);
  }
  for (int i = 0; i < w * 2; ++i) {
    double x = rnd.uniform(0, w), yy = rnd.uniform(y, h);
    ellipsePath(cr, x, yy, 0.9, 0.7);
    setColor(cr, i % 3 ? rgb255(130, 112, 76) : rgb255(230, 220, 180), 0.6);
    cairo_fill(cr);
  }
  cairo_restore(cr);
  // Rocks, shells and a starfish resting on the sand.
  for (int i = 0; i < (rich ? 4 : 2); ++i) {
    rock(cr, rnd.uniform(40, w - 40), y + rnd.uniform(18, 30), rnd.uniform(22, 40),
         rnd.uniform(14, 24), rnd);
  }
  for (int i = 0; i < (rich ? 5 : 2); ++i)
    shell(cr, rnd.uniform(10, w - 10), y + rnd.uniform(26, 60), rnd.uniform(4, 7));
  starfish(cr, rnd.uniform(w * 0.2, w * 0.8), y + rnd.uniform(30, 50), 10, rgb255(236, 120, 70));
  // Short weed in front of the sand.
  for (int i = 0; i < (rich ? 10 : 5); ++i) {
    drawSeaweed(cr, rnd.uniform(0, w), h + 6, rnd.uniform(30, 60), rnd.uniform(4, 10), weeds[i % 3],
                rnd.next());
  }
}

Raster paintBackground() {
  const int w = 800, h = 600;
  cairo_surface_t* s = newCanvas(w, h);
  cairo_t* cr = cairo_create(s);
  drawWater(cr, w, h, 11);
  // Bubble columns rising from the weed.
  ArtRandom rnd(12);
  for (int c = 0; c < 3; ++c) {
    double x = rnd.uniform(80, 720);
    for (double y = 470; y > 30; y -= rnd.uniform(18, 40)) {
      drawBubble(cr, x + std::sin(y * 0.05 + c) * 6, y, rnd.uniform(2, 5), 0.7);
    }
  }
  drawSeabed(cr, w, h, 478, 13, true);
  cairo_destroy(cr);
  Raster r = opaqueRaster(s);
  cairo_surface_destroy(s);
  return r;
}

Raster paintPanel() {
  const int w = 800, h = 50;
  cairo_surface_t* s = newCanvas(w, h);
  cairo_t* cr = cairo_create(s);
  cairo_rectangle(cr, 0, 0, w, h);
  fillLinear(cr, 0, 0, rgb255(26, 46, 72), 0, h, rgb255(8, 16, 30));
  // Brass rim along the top edge, where the panel meets the water.
  cairo_rectangle(cr, 0, 0, w, 4);
  fillLinear(cr, 0, 0, rgb255(236, 196, 110), 0, 4, rgb255(140, 96, 40));
  cairo_rectangle(cr, 0, h - 2, w, 2);
  setColor(cr, rgb255(70, 50, 24));
  cairo_fill(cr);
  // Three recessed slots behind the life, points and hunger readings.
  const double slots[3][2] = {{30, 232}, {246, 502}, {516, 784}};
  for (auto& sl : slots) {
    roundedRectPath(cr, sl[0], 8, sl[1] - sl[0], 36, 10);
    fillLinear(cr, 0, 8, rgb255(4, 10, 20), 0, 44, rgb255(14, 28, 46), true);
    strokeWith(cr, rgb255(90, 120, 150), 1.2, false, 0.6);
  }
  // Rivets between the slots.
  for (double x : {15.0, 239.0, 509.0, 792.0}) {
    ellipsePath(cr, x, 26, 3.2, 3.2);
    fillRadial(cr, x - 1, 25, 3.5, rgb255(240, 210, 140), rgb255(120, 80, 30), true);
    strokeWith(cr, rgb255(40, 26, 10), 0.8);
  }
  // Icons in front of each reading: a heart, a pearl shell, a fish bone.
  double hx = 52, hy = 26;
  cairo_move_to(cr, hx, hy + 9);
  cairo_curve_to(cr, hx - 14, hy, hx - 10, hy - 12, hx, hy - 5);
  cairo_curve_to(cr, hx + 10, hy - 12, hx + 14, hy, hx, hy + 9);
  cairo_close_path(cr);
  fillRadial(cr, hx - 4, hy - 5, 14, rgb255(255, 130, 130), rgb255(180, 10, 30), true);
  strokeWith(cr, rgb255(60, 4, 10), 1.4);
  ellipsePath(cr, hx - 4, hy - 3, 2.5, 1.8);
  setColor(cr, rgb255(255, 220, 220), 0.8);
  cairo_fill(cr);
  double px = 268, py = 26;
  shell(cr, px, py + 7, 12);
  ellipsePath(cr, px, py + 2, 5, 5);
  fillRadial(cr, px - 2, py, 6, rgb255(250, 250, 246), rgb255(170, 180, 200), true);
  strokeWith(cr, rgb255(60, 60, 80), 0.8);
  double fx = 538, fy = 26;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, fx - 10, fy);
  cairo_line_to(cr, fx + 8, fy);
  strokeWith(cr, rgb255(230, 226, 210), 2.2);
  for (int i = 0; i < 3; ++i) {
    double x = fx - 5 + i * 5;
    cairo_move_to(cr, x, fy - 6);
    cairo_line_to(cr, x + 1.5, fy + 6);
    strokeWith(cr, rgb255(230, 226, 210), 1.6);
  }
  cairo_move_to(cr, fx + 8, fy);
  cairo_line_to(cr, fx + 14, fy - 6);
  cairo_line_to(cr, fx + 14, fy + 6);
  cairo_close_path(cr);
  setColor(cr, rgb255(230, 226, 210));
  cairo_fill(cr);
  ellipsePath(cr, fx - 13, fy, 5, 4.5);
  setColor(cr, rgb255(230, 226, 210));
  cairo_fill(cr);
  ellipsePath(cr, fx - 14, fy - 1, 1.3, 1.3);
  setColor(cr, rgb255(20, 20, 30));
  cairo_fill(cr);
  cairo_destroy(cr);
  Raster r = opaqueRaster(s);
  cairo_surface_destroy(s);
  return r;
}

Raster paintBubble() {
  const int size = 20;
  cairo_surface_t* s = newCanvas(size, size);
  cairo_t* cr = cairo_create(s);
  // A keyed picture has no see-through pixels, so the bubble's body is a light glassy
  // blue rather than a hole.
  ellipsePath(cr, 10, 10, 8.6, 8.6);
  fillRadial(cr, 8, 7, 11, rgb255(120, 196, 230), rgb255(44, 120, 176));
  drawBubble(cr, 10, 10, 8.6);
  cairo_destroy(cr);
  Raster r = keyedSprite(s, kBlueKey, kSea);
  cairo_surface_destroy(s);
  return r;
}

Raster paintDebris() {
  const int w = 44, h = 32;
  cairo_surface_t* s = newCanvas(w, h);
  cairo_t* cr = cairo_create(s);
  ArtRandom rnd(21);
  // A clot of toxic sludge with flakes of rust drifting from it.
  cairo_move_to(cr, 8, 18);
  cairo_curve_to(cr, 6, 8, 18, 4, 24, 8);
  cairo_curve_to(cr, 32, 4, 40, 12, 36, 20);
  cairo_curve_to(cr, 38, 28, 24, 30, 18, 26);
  cairo_curve_to(cr, 10, 30, 4, 24, 8, 18);
  cairo_close_path(cr);
  fillRadial(cr, 18, 12, 22, rgb255(150, 170, 40), rgb255(60, 64, 30), true);
  strokeWith(cr, rgb255(30, 34, 12), 1.4);
  for (int i = 0; i < 5; ++i) {
    ellipsePath(cr, rnd.uniform(12, 32), rnd.uniform(10, 24), rnd.uniform(1.5, 3),
                rnd.uniform(1.2, 2.4));
    setColor(cr, rgb255(200, 230, 60), 0.9);
    cairo_fill(cr);
  }
  ellipsePath(cr, 16, 12, 4, 2);
  setColor(cr, rgb255(230, 246, 160), 0.8);
  cairo_fill(cr);
  const double flakes[][2] = {{4, 6}, {38, 4}, {40, 28}, {3, 29}};
  for (auto& f : flakes) {
    cairo_move_to(cr, f[0] - 2, f[1] - 1.5);
    cairo_line_to(cr, f[0] + 2.5, f[1] - 2);
    cairo_line_to(cr, f[0] + 1.5, f[1] + 2);
    cairo_close_path(cr);
    setColor(cr, rgb255(150, 80, 30));
    cairo_fill_preserve(cr);
    strokeWith(cr, kSceneInk, 0.8);
  }
  cairo_destroy(cr);
  Raster r = keyedSprite(s, kGreenKey, kSea);
  cairo_surface_destroy(s);
  return r;
}

}  // namespace art
