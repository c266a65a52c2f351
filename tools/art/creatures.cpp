#include "tools/art/creatures.h"

#include <cmath>

namespace art {

namespace {

const Rgb kCreatureInk = rgb255(20, 22, 34);

struct Size {
  int w, h;
};
constexpr Size kSizes[kMonsterKinds] = {{64, 74},   {52, 34}, {74, 84},  {62, 42}, {74, 52},
                                        {58, 72},   {80, 40}, {150, 92}, {70, 38}, {66, 60},
                                        {168, 120}, {44, 32}, {302, 150}};

// A fish seen from the side, nose to the left, drawn in a box of its own.
struct FishLook {
  double len, height;  // body size
  double cx, cy;       // body centre
  Rgb back, belly, fin;
  Rgb stripe{};
  int stripes = 0;     // vertical bands
  bool lines = false;  // horizontal lines instead
  bool scales = false;
  double dorsal = 0.5;  // fin heights as parts of the body height
  double anal = 0.3;
  double tailSize = 0.45;
  bool forkTail = true;
  double eye = 0.16;  // eye radius as a part of the body height
  Rgb iris = rgb255(40, 60, 30);
  double lips = 0;  // lip thickness
  bool teeth = false;
};

void fishBody(cairo_t* cr, const FishLook& f, double bend) {
  double l = f.len / 2, h = f.height / 2;
  double x0 = f.cx - l, x1 = f.cx + l;
  cairo_move_to(cr, x0, f.cy);
  cairo_curve_to(cr, x0 + l * 0.1, f.cy - h * 0.9, f.cx - l * 0.2, f.cy - h, f.cx + l * 0.1,
                 f.cy - h);
  cairo_curve_to(cr, f.cx + l * 0.6, f.cy - h * 0.95, x1 - l * 0.1, f.cy - h * 0.3 + bend, x1,
                 f.cy - h * 0.18 + bend);
  cairo_line_to(cr, x1, f.cy + h * 0.18 + bend);
  cairo_curve_to(cr, x1 - l * 0.1, f.cy + h * 0.3 + bend, f.cx + l * 0.5, f.cy + h, f.cx, f.cy + h);
  cairo_curve_to(cr, f.cx - l * 0.5, f.cy + h, x0 + l * 0.05, f.cy + h * 0.6, x0, f.cy);
  cairo_close_path(cr);
}

void drawFish(cairo_t* cr, const FishLook& f, double phase) {
  double s = std::sin(2 * M_PI * phase), c = std::cos(2 * M_PI * phase);
  double l = f.len / 2, h = f.height / 2;
  double bend = s * h * 0.12;
  double tailX = f.cx + l - 1, tailY = f.cy + bend;
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  double lw = std::max(1.2, f.height / 22);

  // Tail.
  cairo_save(cr);
  cairo_translate(cr, tailX, tailY);
  cairo_rotate(cr, s * 0.35);
  double ts = f.height * f.tailSize;
  cairo_move_to(cr, 0, -ts * 0.15);
  cairo_curve_to(cr, ts * 0.4, -ts * 0.5, ts * 0.8, -ts * 0.95, ts * 1.05, -ts);
  if (f.forkTail) {
    cairo_curve_to(cr, ts * 0.8, -ts * 0.4, ts * 0.7, -ts * 0.1, ts * 0.6, 0);
    cairo_curve_to(cr, ts * 0.7, ts * 0.1, ts * 0.8, ts * 0.4, ts * 1.05, ts);
  } else {
    cairo_curve_to(cr, ts * 1.3, -ts * 0.5, ts * 1.3, ts * 0.5, ts * 1.05, ts);
  }
  cairo_curve_to(cr, ts * 0.8, ts * 0.95, ts * 0.4, ts * 0.5, 0, ts * 0.15);
  cairo_close_path(cr);
  fillLinear(cr, 0, 0, f.fin, ts, 0, lighter(f.fin, 0.25), true);
  strokeWith(cr, kCreatureInk, lw);
  for (int i = -2; i <= 2; ++i) {
    cairo_move_to(cr, ts * 0.15, i * ts * 0.05);
    cairo_line_to(cr, ts * 0.85, i * ts * 0.38);
    strokeWith(cr, darker(f.fin, 0.3), lw * 0.5, false, 0.7);
  }
  cairo_restore(cr);

  // Dorsal and anal fins, rippling with the stroke.
  if (f.dorsal > 0) {
    double dh = f.height * f.dorsal;
    cairo_move_to(cr, f.cx - l * 0.45, f.cy - h * 0.92);
    cairo_curve_to(cr, f.cx - l * 0.2, f.cy - h - dh * 0.9, f.cx + l * 0.2 + c * 2, f.cy - h - dh,
                   f.cx + l * 0.55 + c * 2, f.cy - h * 0.55 - dh * 0.3);
    cairo_line_to(cr, f.cx + l * 0.5, f.cy - h * 0.6);
    cairo_close_path(cr);
    fillLinear(cr, 0, f.cy - h - dh, lighter(f.fin, 0.2), 0, f.cy - h, f.fin, true);
    strokeWith(cr, kCreatureInk, lw);
  }
  if (f.anal > 0) {
    double ah = f.height * f.anal;
    cairo_move_to(cr, f.cx - l * 0.05, f.cy + h * 0.95);
    cairo_curve_to(cr, f.cx + l * 0.1, f.cy + h + ah, f.cx + l * 0.35 - c * 2, f.cy + h + ah * 0.9,
                   f.cx + l * 0.6 - c * 2, f.cy + h * 0.4 + ah * 0.3);
    cairo_line_to(cr, f.cx + l * 0.55, f.cy + h * 0.5);
    cairo_close_path(cr);
    fillLinear(cr, 0, f.cy + h, f.fin, 0, f.cy + h + ah, lighter(f.fin, 0.2), true);
    strokeWith(cr, kCreatureInk, lw);
  }

  // Body with its pattern.
  fishBody(cr, f, bend);
  fillLinear(cr, 0, f.cy - h, f.back, 0, f.cy + h, f.belly, true);
  cairo_save(cr);
  cairo_clip(cr);
  if (f.stripes > 0) {
    for (int i = 0; i < f.stripes; ++i) {
      double x = f.cx - l * 0.45 + i * f.len * 0.8 / f.stripes;
      cairo_move_to(cr, x, f.cy - h - 2);
      cairo_curve_to(cr, x + 3, f.cy - h * 0.3, x - 2, f.cy + h * 0.3, x + 2, f.cy + h + 2);
      strokeWith(cr, f.stripe, f.len * 0.07);
    }
  }
  if (f.lines) {
    for (int i = -1; i <= 1; ++i) {
      cairo_move_to(cr, f.cx - l * 0.6, f.cy + i * h * 0.4);
      cairo_curve_to(cr, f.cx - l * 0.1, f.cy + i * h * 0.45 - 2, f.cx + l * 0.4,
                     f.cy + i * h * 0.35 + 2, f.cx + l, f.cy + i * h * 0.2 + bend);
      strokeWith(cr, f.stripe, std::max(1.5, f.height * 0.07));
    }
  }
  if (f.scales) {
    double r = std::max(2.5, f.height * 0.11);
    for (double y = f.cy - h; y < f.cy + h; y += r * 1.2) {
      int row = int((y - f.cy) / r);
      for (double x = f.cx - l * 0.2 + (row % 2) * r; x < f.cx + l; x += r * 1.6) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, r, M_PI * 0.6, M_PI * 1.4);
        strokeWith(cr, darker(f.back, 0.3), 0.9, false, 0.55);
      }
    }
  }
  // Light on the back, shade under the belly.
  ellipsePath(cr, f.cx - l * 0.1, f.cy - h * 0.55, l * 0.6, h * 0.22);
  setColor(cr, rgb255(250, 250, 246), 0.35);
  cairo_fill(cr);
  cairo_restore(cr);
  fishBody(cr, f, bend);
  strokeWith(cr, kCreatureInk, lw * 1.1);

  // Gill line and pectoral fin.
  cairo_move_to(cr, f.cx - l * 0.42, f.cy - h * 0.6);
  cairo_curve_to(cr, f.cx - l * 0.3, f.cy - h * 0.2, f.cx - l * 0.3, f.cy + h * 0.2,
                 f.cx - l * 0.42, f.cy + h * 0.6);
  strokeWith(cr, darker(f.back, 0.4), lw * 0.8, false, 0.8);
  cairo_move_to(cr, f.cx - l * 0.25, f.cy + h * 0.15);
  cairo_curve_to(cr, f.cx - l * 0.05, f.cy + h * (0.1 + 0.2 * s), f.cx + l * 0.15,
                 f.cy + h * (0.45 + 0.25 * s), f.cx + l * 0.05, f.cy + h * (0.6 + 0.2 * s));
  cairo_curve_to(cr, f.cx - l * 0.1, f.cy + h * 0.5, f.cx - l * 0.2, f.cy + h * 0.35,
                 f.cx - l * 0.25, f.cy + h * 0.15);
  setColor(cr, lighter(f.fin, 0.15), 0.95);
  cairo_fill_preserve(cr);
  strokeWith(cr, kCreatureInk, lw * 0.8);

  // Mouth.
  double mx = f.cx - l, my = f.cy + h * 0.12;
  if (f.lips > 0) {
    ellipsePath(cr, mx + f.lips * 0.5, my - f.lips * 0.45, f.lips * 0.9, f.lips * 0.5);
    ellipsePath(cr, mx + f.lips * 0.5, my + f.lips * 0.45, f.lips * 0.9, f.lips * 0.5);
    fillLinear(cr, 0, my - f.lips, rgb255(240, 110, 130), 0, my + f.lips, rgb255(190, 50, 80),
               true);
    strokeWith(cr, kCreatureInk, lw * 0.8);
  } else {
    cairo_move_to(cr, mx + 1, my);
    cairo_curve_to(cr, mx + l * 0.12, my + h * 0.05, mx + l * 0.2, my + h * 0.02, mx + l * 0.24,
                   my - h * 0.05);
    strokeWith(cr, kCreatureInk, lw);
  }
  if (f.teeth) {
    for (int i = 0; i < 4; ++i) {
      double x = mx + 2 + i * l * 0.07;
      cairo_move_to(cr, x, my - 0.5);
      cairo_line_to(cr, x + l * 0.03, my - h * 0.22);
      cairo_line_to(cr, x + l * 0.06, my - 0.5);
      cairo_close_path(cr);
      setColor(cr, rgb255(240, 240, 230));
      cairo_fill_preserve(cr);
      strokeWith(cr, kCreatureInk, 0.6);
    }
  }
  drawEye(cr, f.cx - l * 0.62, f.cy - h * 0.3, f.height * f.eye, f.iris, -0.5);
}

// Kind 0: a horned sea mine with a blinking lamp.
void drawMine(cairo_t* cr, double phase) {
  double s = std::sin(2 * M_PI * phase);
  double cx = 32, cy = 30, r = 19;
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  // Mooring chain below.
  for (int i = 0; i < 3; ++i) {
    double y = cy + r + 4 + i * 7, x = cx + s * (i + 1) * 0.8;
    ellipsePath(cr, x, y, i % 2 ? 2.2 : 3.2, i % 2 ? 3.8 : 3.2);
    strokeWith(cr, rgb255(70, 64, 58), 2.2, true);
    strokeWith(cr, kCreatureInk, 0.8);
  }
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, s * 0.07);
  // Horns.
  for (int i = 0; i < 8; ++i) {
    double a = i * M_PI / 4 + M_PI / 8;
    double ca = std::cos(a), sa = std::sin(a);
    double bx = ca * (r - 2), by = sa * (r - 2), tx = ca * (r + 8), ty = sa * (r + 8);
    cairo_move_to(cr, bx - sa * 3.5, by + ca * 3.5);
    cairo_line_to(cr, tx - sa * 1.6, ty + ca * 1.6);
    cairo_line_to(cr, tx + sa * 1.6, ty - ca * 1.6);
    cairo_line_to(cr, bx + sa * 3.5, by - ca * 3.5);
    cairo_close_path(cr);
    fillLinear(cr, bx, by, rgb255(90, 96, 104), tx, ty, rgb255(150, 156, 164), true);
    strokeWith(cr, kCreatureInk, 1.2);
    ellipsePath(cr, tx, ty, 2.6, 2.6);
    setColor(cr, rgb255(196, 150, 60));
    cairo_fill_preserve(cr);
    strokeWith(cr, kCreatureInk, 1);
  }
  // Shell.
  ellipsePath(cr, 0, 0, r, r);
  fillRadial(cr, -r * 0.4, -r * 0.45, r * 1.5, rgb255(150, 160, 172), rgb255(34, 40, 50), true);
  strokeWith(cr, kCreatureInk, 1.8);
  // Welded band with rivets.
  cairo_save(cr);
  ellipsePath(cr, 0, 0, r, r);
  cairo_clip(cr);
  cairo_rectangle(cr, -r, -3, 2 * r, 6);
  setColor(cr, rgb255(60, 66, 76));
  cairo_fill(cr);
  for (int i = -3; i <= 3; ++i) {
    ellipsePath(cr, i * 5.5, 0, 1.3, 1.3);
    setColor(cr, rgb255(170, 176, 186));
    cairo_fill(cr);
  }
  cairo_restore(cr);
  // Lamp, pulsing red.
  double glow = 0.5 + 0.5 * std::cos(2 * M_PI * phase);
  ellipsePath(cr, 0, -r * 0.45, 4.2, 4.2);
  fillRadial(cr, -1, -r * 0.45 - 1, 4.5, mix(rgb255(150, 20, 20), rgb255(255, 210, 190), glow),
             mix(rgb255(90, 10, 10), rgb255(230, 30, 30), glow), true);
  strokeWith(cr, kCreatureInk, 1);
  // Skull stencil.
  ellipsePath(cr, 0, 6.5, 4.2, 3.6);
  setColor(cr, rgb255(226, 220, 200));
  cairo_fill(cr);
  cairo_rectangle(cr, -2.5, 8.5, 5, 3);
  cairo_fill(cr);
  ellipsePath(cr, -1.6, 6.3, 1.1, 1.2);
  ellipsePath(cr, 1.6, 6.3, 1.1, 1.2);
  setColor(cr, rgb255(30, 30, 36));
  cairo_fill(cr);
  cairo_restore(cr);
}

// Kind 5: a leaking barrel of toxic waste, tumbling slowly.
void drawBarrel(cairo_t* cr, double phase) {
  double s = std::sin(2 * M_PI * phase);
  cairo_save(cr);
  cairo_translate(cr, 29, 34);
  cairo_rotate(cr, -0.3 + s * 0.08);
  double w = 17, h = 25;
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  // Ooze from the lid.
  double drip = 6 + 3 * (0.5 + 0.5 * s);
  cairo_move_to(cr, -6, -h);
  cairo_curve_to(cr, -8, -h - 4, -13, -h - 2, -12, -h + drip);
  cairo_curve_to(cr, -11, -h + drip + 4, -8, -h + drip + 3, -8, -h + drip - 1);
  cairo_curve_to(cr, -8, -h + 4, -4, -h + 2, -3, -h);
  cairo_close_path(cr);
  fillLinear(cr, 0, -h - 4, rgb255(170, 240, 60), 0, -h + drip + 4, rgb255(80, 170, 30), true);
  strokeWith(cr, rgb255(20, 60, 10), 1);
  // Body: a rusty yellow drum.
  cairo_move_to(cr, -w, -h + 3);
  cairo_curve_to(cr, -w - 2, -h / 2, -w - 2, h / 2, -w, h - 3);
  cairo_curve_to(cr, -w / 2, h + 1, w / 2, h + 1, w, h - 3);
  cairo_curve_to(cr, w + 2, h / 2, w + 2, -h / 2, w, -h + 3);
  cairo_curve_to(cr, w / 2, -h + 6, -w / 2, -h + 6, -w, -h + 3);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(-w, 0, w, 0);
  addStop(p, 0, rgb255(150, 104, 20));
  addStop(p, 0.35, rgb255(240, 196, 60));
  addStop(p, 0.55, rgb255(250, 214, 90));
  addStop(p, 1, rgb255(130, 84, 16));
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  // Rust streaks.
  for (int i = 0; i < 4; ++i) {
    double x = -w + 5 + i * 8.5;
    cairo_move_to(cr, x, -h + 6);
    cairo_curve_to(cr, x + 1, -h + 12, x - 1, -h + 16, x + 0.5, -h + 14 + i * 3);
    strokeWith(cr, rgb255(140, 70, 20), 1.6, false, 0.7);
  }
  // Ribs.
  for (double y : {-h * 0.45, h * 0.45}) {
    cairo_move_to(cr, -w - 2, y);
    cairo_curve_to(cr, -w / 2, y + 3, w / 2, y + 3, w + 2, y);
    strokeWith(cr, rgb255(90, 56, 10), 2.4);
  }
  cairo_restore(cr);
  strokeWith(cr, kCreatureInk, 1.6);
  // Lid.
  ellipsePath(cr, 0, -h + 3, w, 3.2);
  fillLinear(cr, 0, -h, rgb255(200, 160, 50), 0, -h + 6, rgb255(120, 80, 14), true);
  strokeWith(cr, kCreatureInk, 1.4);
  // Hazard sign: a black trefoil on a yellow disc.
  ellipsePath(cr, 0, 3, 8.5, 8.5);
  setColor(cr, rgb255(252, 226, 40));
  cairo_fill_preserve(cr);
  strokeWith(cr, kCreatureInk, 1.3);
  for (int i = 0; i < 3; ++i) {
    double a = -M_PI / 2 + i * 2 * M_PI / 3;
    cairo_move_to(cr, 0, 3);
    cairo_arc(cr, 0, 3, 7, a - 0.5, a + 0.5);
    cairo_close_path(cr);
    setColor(cr, rgb255(24, 20, 16));
    cairo_fill(cr);
  }
  ellipsePath(cr, 0, 3, 1.8, 1.8);
  setColor(cr, rgb255(24, 20, 16));
  cairo_fill(cr);
  cairo_restore(cr);
}

// Kind 9: a puffed-up porcupine fish bristling with spines.
void drawSpiky(cairo_t* cr, double phase) {
  double s = std::sin(2 * M_PI * phase);
  double cx = 30, cy = 30, r = 17;
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  // Tail.
  cairo_save(cr);
  cairo_translate(cr, cx + r - 1, cy);
  cairo_rotate(cr, s * 0.35);
  cairo_move_to(cr, 0, -3);
  cairo_curve_to(cr, 6, -8, 12, -11, 15, -10);
  cairo_curve_to(cr, 13, -3, 13, 3, 15, 10);
  cairo_curve_to(cr, 12, 11, 6, 8, 0, 3);
  cairo_close_path(cr);
  fillLinear(cr, 0, 0, rgb255(200, 150, 60), 15, 0, rgb255(236, 190, 100), true);
  strokeWith(cr, kCreatureInk, 1.2);
  cairo_restore(cr);
  // Spines all round.
  for (int i = 0; i < 22; ++i) {
    double a = i * 2 * M_PI / 22 + 0.1;
    double len = (std::fabs(std::cos(a)) > 0.9 && std::cos(a) > 0) ? 5 : 9 + (i % 2) * 2;
    double ca = std::cos(a), sa = std::sin(a);
    double bx = cx + ca * (r - 2), by = cy + sa * (r - 2);
    double tx = cx + ca * (r + len), ty = cy + sa * (r + len);
    cairo_move_to(cr, bx - sa * 2.6, by + ca * 2.6);
    cairo_line_to(cr, tx, ty);
    cairo_line_to(cr, bx + sa * 2.6, by - ca * 2.6);
    cairo_close_path(cr);
    fillLinear(cr, bx, by, rgb255(120, 70, 140), tx, ty, rgb255(214, 190, 230), true);
    strokeWith(cr, kCreatureInk, 0.9);
  }
  // Body.
  ellipsePath(cr, cx, cy, r, r);
  fillRadial(cr, cx - 5, cy - 6, r * 1.4, rgb255(250, 222, 140), rgb255(196, 130, 40), true);
  strokeWith(cr, kCreatureInk, 1.6);
  cairo_save(cr);
  ellipsePath(cr, cx, cy, r, r);
  cairo_clip(cr);
  ellipsePath(cr, cx, cy + r * 0.8, r * 1.1, r * 0.55);
  setColor(cr, rgb255(250, 240, 210), 0.85);
  cairo_fill(cr);
  const double spots[][2] = {{4, -10}, {10, -3}, {-2, -13}, {12, 6}, {6, 2}, {-6, -5}};
  for (auto& sp : spots) {
    ellipsePath(cr, cx + sp[0], cy + sp[1], 1.8, 1.8);
    setColor(cr, rgb255(110, 60, 20));
    cairo_fill(cr);
  }
  cairo_restore(cr);
  // Fin, angry eye, pouting mouth.
  cairo_move_to(cr, cx + 1, cy + 4);
  cairo_curve_to(cr, cx + 8, cy + 2 + s * 3, cx + 10, cy + 8 + s * 3, cx + 4, cy + 10);
  cairo_close_path(cr);
  setColor(cr, rgb255(236, 180, 90));
  cairo_fill_preserve(cr);
  strokeWith(cr, kCreatureInk, 1);
  drawEye(cr, cx - 7, cy - 4, 5, rgb255(160, 30, 30), -0.5);
  cairo_move_to(cr, cx - 13, cy - 11);
  cairo_line_to(cr, cx - 3, cy - 8);
  strokeWith(cr, kCreatureInk, 2);
  ellipsePath(cr, cx - r + 1, cy + 5, 3, 2.4);
  setColor(cr, rgb255(200, 70, 70));
  cairo_fill_preserve(cr);
  strokeWith(cr, kCreatureInk, 1);
}

// Kind 2: an angelfish, a tall disc with swept-back sail fins and dark bands.
void drawAngelfish(cairo_t* cr, double phase) {
  cairo_translate(cr, 1, 1);  // room for the fin tips
  double s = std::sin(2 * M_PI * phase), c = std::cos(2 * M_PI * phase);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const Rgb body = rgb255(240, 232, 176), fin = rgb255(250, 210, 70);
  // Tail fan.
  cairo_save(cr);
  cairo_translate(cr, 48, 41);
  cairo_rotate(cr, s * 0.3);
  cairo_move_to(cr, 0, -3);
  cairo_curve_to(cr, 8, -10, 14, -14, 19, -13);
  cairo_curve_to(cr, 17, -4, 17, 4, 19, 13);
  cairo_curve_to(cr, 14, 14, 8, 10, 0, 3);
  cairo_close_path(cr);
  fillLinear(cr, 0, 0, fin, 19, 0, rgb255(255, 240, 170), true);
  strokeWith(cr, kCreatureInk, 1.3);
  cairo_restore(cr);
  // Trailing pelvic threads.
  cairo_move_to(cr, 24, 52);
  cairo_curve_to(cr, 26, 62, 30 + c * 2, 70, 36 + c * 3, 77);
  strokeWith(cr, rgb255(250, 220, 90), 1.6);
  auto shape = [&] {
    cairo_move_to(cr, 8, 40);
    cairo_curve_to(cr, 10, 32, 16, 26, 24, 24);
    cairo_curve_to(cr, 30, 14, 40, 6, 54 + c * 2, 2);
    cairo_curve_to(cr, 50, 14, 50, 24, 50, 36);
    cairo_line_to(cr, 50, 46);
    cairo_curve_to(cr, 50, 58, 50, 68, 54 - c * 2, 80);
    cairo_curve_to(cr, 40, 76, 30, 68, 24, 58);
    cairo_curve_to(cr, 16, 56, 10, 50, 8, 44);
    cairo_close_path(cr);
  };
  shape();
  fillLinear(cr, 0, 2, fin, 0, 80, fin, true);
  cairo_save(cr);
  cairo_clip(cr);
  // The disc of the body, lighter than the sails.
  ellipsePath(cr, 30, 41, 20, 17);
  fillRadial(cr, 24, 34, 24, rgb255(252, 250, 230), body);
  for (int i = 0; i < 3; ++i) {
    double x = 20 + i * 11;
    cairo_move_to(cr, x - 2, 0);
    cairo_curve_to(cr, x + 3, 30, x - 3, 52, x + 2, 82);
    strokeWith(cr, rgb255(34, 32, 40), 4.5);
  }
  ellipsePath(cr, 28, 32, 14, 4);
  setColor(cr, rgb255(255, 255, 246), 0.35);
  cairo_fill(cr);
  cairo_restore(cr);
  shape();
  strokeWith(cr, kCreatureInk, 1.5);
  // Pectoral fin, mouth and eye.
  cairo_move_to(cr, 24, 42);
  cairo_curve_to(cr, 30, 40 + s * 2, 34, 44 + s * 2, 32, 48 + s);
  cairo_curve_to(cr, 28, 48, 25, 46, 24, 42);
  setColor(cr, rgb255(255, 236, 150), 0.9);
  cairo_fill_preserve(cr);
  strokeWith(cr, kCreatureInk, 0.9);
  cairo_move_to(cr, 9, 42);
  cairo_line_to(cr, 13, 42.5);
  strokeWith(cr, kCreatureInk, 1.3);
  drawEye(cr, 16, 36, 3.6, rgb255(190, 60, 40), -0.5);
}

// Kind 7: a big cuttlefish with rippling fins and reaching arms.
void drawCuttlefish(cairo_t* cr, double phase) {
  double s = std::sin(2 * M_PI * phase);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const Rgb body = rgb255(150, 40, 92), dark = rgb255(80, 16, 56);
  // Arms, reaching forward (left) and waving.
  for (int i = 0; i < 6; ++i) {
    double y0 = 40 + i * 3.2, spread = (i - 2.5) * 4;
    double w = std::sin(2 * M_PI * phase + i * 0.9) * 5;
    cairo_move_to(cr, 46, y0);
    cairo_curve_to(cr, 32, y0 + spread * 0.4 + w, 20, y0 + spread + w, 8 + (i % 3) * 3,
                   y0 + spread * 1.4 - w);
    strokeWith(cr, kCreatureInk, 7.5);
    cairo_move_to(cr, 46, y0);
    cairo_curve_to(cr, 32, y0 + spread * 0.4 + w, 20, y0 + spread + w, 8 + (i % 3) * 3,
                   y0 + spread * 1.4 - w);
    strokeWith(cr, i % 2 ? rgb255(196, 70, 120) : rgb255(176, 56, 108), 5);
  }
  // Mantle fin skirt, undulating.
  cairo_move_to(cr, 62, 24);
  for (int i = 0; i <= 10; ++i) {
    double x = 62 + i * 7.6, y = 22 - 5 - 3 * std::sin(2 * M_PI * phase + i * 0.9);
    cairo_line_to(cr, x, y);
  }
  cairo_line_to(cr, 142, 46);
  for (int i = 10; i >= 0; --i) {
    double x = 62 + i * 7.6, y = 70 + 5 + 3 * std::sin(2 * M_PI * phase + i * 0.9 + 1);
    cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
  setColor(cr, rgb255(210, 110, 160), 0.95);
  cairo_fill_preserve(cr);
  strokeWith(cr, kCreatureInk, 1.4);
  // Mantle.
  auto mantle = [&] {
    cairo_move_to(cr, 50, 46);
    cairo_curve_to(cr, 52, 22, 90, 18, 120, 24);
    cairo_curve_to(cr, 140, 28, 146, 40, 144, 46 + s);
    cairo_curve_to(cr, 146, 54, 140, 66, 120, 70);
    cairo_curve_to(cr, 90, 76, 52, 72, 50, 46);
    cairo_close_path(cr);
  };
  mantle();
  fillLinear(cr, 0, 20, lighter(body, 0.1), 0, 74, dark, true);
  cairo_save(cr);
  cairo_clip(cr);
  // Zebra bands of a cuttlefish in hunting colours.
  for (int i = 0; i < 9; ++i) {
    double x = 66 + i * 9 + s * 2;
    cairo_move_to(cr, x, 18);
    cairo_curve_to(cr, x + 6, 32, x - 4, 46, x + 3, 56);
    strokeWith(cr, rgb255(60, 10, 40), 3, false, 0.7);
  }
  ellipsePath(cr, 96, 32, 34, 6);
  setColor(cr, rgb255(250, 200, 230), 0.3);
  cairo_fill(cr);
  cairo_restore(cr);
  mantle();
  strokeWith(cr, kCreatureInk, 2);
  // Head with the W-shaped pupil glowing yellow.
  ellipsePath(cr, 52, 46, 11, 14);
  fillRadial(cr, 48, 40, 16, rgb255(200, 80, 130), dark, true);
  strokeWith(cr, kCreatureInk, 1.6);
  ellipsePath(cr, 54, 40, 7, 6);
  fillRadial(cr, 53, 39, 7, rgb255(255, 236, 90), rgb255(220, 140, 10), true);
  strokeWith(cr, kCreatureInk, 1.2);
  cairo_move_to(cr, 49, 38.5);
  cairo_curve_to(cr, 51, 42.5, 53, 42, 54, 39.5);
  cairo_curve_to(cr, 55, 42, 57, 42.5, 59, 38.5);
  strokeWith(cr, kCreatureInk, 2);
  cairo_move_to(cr, 44, 31);
  cairo_line_to(cr, 60, 35);
  strokeWith(cr, kCreatureInk, 2.4);
}

// Kind 10: an anglerfish, all jaw and needle teeth, with its glowing lure.
void drawAngler(cairo_t* cr, double phase) {
  cairo_translate(cr, 2, 3);  // room for the lure and the tail
  double s = std::sin(2 * M_PI * phase);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const Rgb skin = rgb255(88, 74, 60), dark = rgb255(40, 32, 28);
  // Tail.
  cairo_save(cr);
  cairo_translate(cr, 128, 62);
  cairo_rotate(cr, s * 0.3);
  cairo_move_to(cr, 0, -8);
  cairo_curve_to(cr, 12, -20, 24, -28, 30, -26);
  cairo_curve_to(cr, 26, -8, 26, 8, 30, 26);
  cairo_curve_to(cr, 24, 28, 12, 20, 0, 8);
  cairo_close_path(cr);
  fillLinear(cr, 0, 0, skin, 30, 0, rgb255(130, 110, 90), true);
  strokeWith(cr, kCreatureInk, 1.6);
  cairo_restore(cr);
  // Body: a huge round head tapering to the tail.
  auto bodyPath = [&] {
    cairo_move_to(cr, 22, 50);
    cairo_curve_to(cr, 24, 22, 58, 12, 86, 20);
    cairo_curve_to(cr, 110, 28, 126, 46, 132, 58);
    cairo_curve_to(cr, 128, 74, 110, 90, 84, 96);
    cairo_curve_to(cr, 56, 100, 30, 92, 22, 78);
    cairo_close_path(cr);
  };
  bodyPath();
  fillLinear(cr, 0, 14, rgb255(120, 102, 82), 0, 98, dark, true);
  cairo_save(cr);
  cairo_clip(cr);
  ArtRandom rnd(77);
  for (int i = 0; i < 26; ++i) {
    ellipsePath(cr, rnd.uniform(40, 128), rnd.uniform(20, 90), rnd.uniform(1.2, 2.8),
                rnd.uniform(1, 2.2));
    setColor(cr, rgb255(60, 48, 40), 0.6);
    cairo_fill(cr);
  }
  cairo_restore(cr);
  bodyPath();
  strokeWith(cr, kCreatureInk, 2.2);
  // Spiny dorsal fin.
  for (int i = 0; i < 4; ++i) {
    double x = 82 + i * 9;
    cairo_move_to(cr, x, 20 + i * 3);
    cairo_line_to(cr, x + 6 + s, 8 + i * 4);
    cairo_line_to(cr, x + 8, 24 + i * 4);
    setColor(cr, rgb255(110, 90, 70));
    cairo_fill_preserve(cr);
    strokeWith(cr, kCreatureInk, 1.1);
  }
  // Gaping mouth with needle teeth.
  cairo_move_to(cr, 18, 52);
  cairo_curve_to(cr, 34, 58, 56, 62, 70, 66);
  cairo_curve_to(cr, 56, 80, 34, 88, 14, 84);
  cairo_curve_to(cr, 10, 72, 12, 60, 18, 52);
  cairo_close_path(cr);
  fillLinear(cr, 0, 52, rgb255(90, 10, 24), 0, 86, rgb255(30, 4, 10), true);
  strokeWith(cr, kCreatureInk, 2);
  for (int i = 0; i < 7; ++i) {
    double x = 20 + i * 7;
    double yTop = 53.5 + i * 1.8;
    cairo_move_to(cr, x - 2, yTop);
    cairo_line_to(cr, x, yTop + 9 - (i % 2) * 3);
    cairo_line_to(cr, x + 2, yTop);
    cairo_close_path(cr);
    setColor(cr, rgb255(236, 232, 214));
    cairo_fill_preserve(cr);
    strokeWith(cr, kCreatureInk, 0.6);
    double yBot = 84 - i * 2.6;
    cairo_move_to(cr, x - 2, yBot);
    cairo_line_to(cr, x + 1, yBot - 10 + (i % 2) * 3);
    cairo_line_to(cr, x + 3, yBot);
    cairo_close_path(cr);
    cairo_fill_preserve(cr);
    strokeWith(cr, kCreatureInk, 0.6);
  }
  // Small mean eye.
  drawEye(cr, 46, 38, 6.5, rgb255(200, 180, 40), -0.6);
  cairo_move_to(cr, 36, 29);
  cairo_line_to(cr, 56, 34);
  strokeWith(cr, kCreatureInk, 2.6);
  // Lure on its stalk, glowing.
  double lx = 12 + s * 3, ly = 14 - s * 2;
  cairo_move_to(cr, 58, 18);
  cairo_curve_to(cr, 48, 2, 24, 2, lx, ly);
  strokeWith(cr, kCreatureInk, 3.4);
  cairo_move_to(cr, 58, 18);
  cairo_curve_to(cr, 48, 2, 24, 2, lx, ly);
  strokeWith(cr, rgb255(120, 100, 80), 1.8);
  cairo_pattern_t* glow = cairo_pattern_create_radial(lx, ly, 0, lx, ly, 11);
  addStop(glow, 0, rgb255(250, 255, 200), 0.95);
  addStop(glow, 0.4, rgb255(190, 255, 120), 0.6);
  addStop(glow, 1, rgb255(120, 255, 120), 0);
  cairo_set_source(cr, glow);
  ellipsePath(cr, lx, ly, 11, 11);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
  ellipsePath(cr, lx, ly, 4, 4);
  fillRadial(cr, lx - 1, ly - 1, 4, rgb255(250, 255, 220), rgb255(150, 230, 60), true);
  strokeWith(cr, rgb255(40, 60, 20), 1);
  // Pectoral fin.
  cairo_move_to(cr, 84, 76);
  cairo_curve_to(cr, 92, 84 + s * 3, 100, 96 + s * 3, 92, 102);
  cairo_curve_to(cr, 86, 96, 80, 88, 76, 80);
  cairo_close_path(cr);
  setColor(cr, rgb255(110, 94, 76));
  cairo_fill_preserve(cr);
  strokeWith(cr, kCreatureInk, 1.4);
}

// Kind 12: a sperm whale, the largest creature of the sea.
void drawWhale(cairo_t* cr, double phase) {
  cairo_translate(cr, 0, 5);  // room above for the raised flukes
  double s = std::sin(2 * M_PI * phase);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const Rgb back = rgb255(54, 70, 104), belly = rgb255(120, 138, 168);
  // Flukes.
  cairo_save(cr);
  cairo_translate(cr, 246, 70 + s * 10);
  cairo_rotate(cr, s * 0.45);
  cairo_move_to(cr, 0, -4);
  cairo_curve_to(cr, 14, -14, 30, -40, 40, -44);
  cairo_curve_to(cr, 44, -36, 36, -14, 30, -2);
  cairo_curve_to(cr, 36, 10, 44, 32, 40, 42);
  cairo_curve_to(cr, 30, 38, 14, 14, 0, 6);
  cairo_close_path(cr);
  fillLinear(cr, 0, -44, back, 0, 42, darker(back, 0.25), true);
  strokeWith(cr, kCreatureInk, 2.4);
  cairo_restore(cr);
  auto bodyPath = [&] {
    // The square head is at the left; the body narrows to the tail stock.
    cairo_move_to(cr, 12, 40);
    cairo_curve_to(cr, 14, 24, 30, 20, 70, 20);
    cairo_curve_to(cr, 130, 20, 170, 28, 210, 46 + s * 4);
    cairo_curve_to(cr, 232, 56 + s * 7, 244, 62 + s * 9, 250, 66 + s * 10);
    cairo_line_to(cr, 250, 76 + s * 10);
    cairo_curve_to(cr, 232, 86 + s * 8, 210, 100 + s * 4, 180, 108);
    cairo_curve_to(cr, 140, 118, 90, 120, 56, 112);
    cairo_curve_to(cr, 34, 106, 14, 94, 12, 78);
    cairo_close_path(cr);
  };
  // Far flipper.
  cairo_move_to(cr, 96, 104);
  cairo_curve_to(cr, 104, 116, 110, 126 + s * 3, 104, 132 + s * 3);
  cairo_curve_to(cr, 96, 124, 90, 116, 88, 106);
  setColor(cr, darker(back, 0.35));
  cairo_fill_preserve(cr);
  strokeWith(cr, kCreatureInk, 1.8);
  bodyPath();
  fillLinear(cr, 0, 20, lighter(back, 0.08), 0, 118, belly, true);
  cairo_save(cr);
  cairo_clip(cr);
  // Wrinkled skin and old scars.
  for (int i = 0; i < 12; ++i) {
    double x = 70 + i * 13;
    cairo_move_to(cr, x, 30);
    cairo_curve_to(cr, x + 3, 40, x - 3, 50, x, 60);
    strokeWith(cr, darker(back, 0.35), 1.2, false, 0.45);
  }
  cairo_move_to(cr, 40, 36);
  cairo_line_to(cr, 64, 46);
  cairo_move_to(cr, 50, 32);
  cairo_line_to(cr, 70, 40);
  cairo_move_to(cr, 120, 34);
  cairo_line_to(cr, 136, 30);
  strokeWith(cr, rgb255(196, 206, 220), 1.4, false, 0.8);
  ellipsePath(cr, 100, 28, 70, 7);
  setColor(cr, rgb255(200, 214, 236), 0.25);
  cairo_fill(cr);
  // Pale underside with throat grooves.
  cairo_move_to(cr, 12, 92);
  cairo_curve_to(cr, 60, 120, 150, 118, 200, 100);
  cairo_line_to(cr, 200, 130);
  cairo_line_to(cr, 0, 130);
  cairo_close_path(cr);
  setColor(cr, rgb255(176, 186, 206), 0.9);
  cairo_fill(cr);
  for (int i = 0; i < 5; ++i) {
    cairo_move_to(cr, 30 + i * 4, 98 + i * 3.2);
    cairo_curve_to(cr, 70, 110 + i * 2.5, 120, 112 + i * 1.5, 170, 104 + i * 2);
    strokeWith(cr, rgb255(120, 130, 156), 1, false, 0.8);
  }
  cairo_restore(cr);
  bodyPath();
  strokeWith(cr, kCreatureInk, 2.8);
  // Long lower jaw with a row of teeth.
  cairo_move_to(cr, 16, 84);
  cairo_curve_to(cr, 40, 90, 80, 92, 104, 88);
  strokeWith(cr, kCreatureInk, 2.4);
  for (int i = 0; i < 8; ++i) {
    double x = 26 + i * 9, y = 87 + i * 0.4;
    cairo_move_to(cr, x - 2.4, y);
    cairo_line_to(cr, x, y - 6);
    cairo_line_to(cr, x + 2.4, y);
    cairo_close_path(cr);
    setColor(cr, rgb255(238, 234, 220));
    cairo_fill_preserve(cr);
    strokeWith(cr, kCreatureInk, 0.8);
  }
  // Small eye set far back, with a heavy lid.
  drawEye(cr, 112, 74, 6, rgb255(120, 40, 30), -0.6);
  cairo_move_to(cr, 102, 68);
  cairo_curve_to(cr, 108, 64, 116, 64, 122, 69);
  strokeWith(cr, kCreatureInk, 2.6);
  // Blowhole.
  ellipsePath(cr, 24, 24, 4, 1.6);
  setColor(cr, kCreatureInk);
  cairo_fill(cr);
  // Near flipper.
  cairo_move_to(cr, 122, 98);
  cairo_curve_to(cr, 136, 110, 146, 124 + s * 4, 138, 136 + s * 4);
  cairo_curve_to(cr, 126, 128, 116, 114, 112, 100);
  cairo_close_path(cr);
  fillLinear(cr, 0, 98, back, 0, 136, darker(back, 0.3), true);
  strokeWith(cr, kCreatureInk, 2);
}

FishLook lookFor(int kind) {
  FishLook f{};
  switch (kind) {
    case 1:  // a little yellow reef fish
      f = {36, 20, 22, 17, rgb255(250, 200, 40), rgb255(250, 236, 150), rgb255(240, 150, 30)};
      f.stripe = rgb255(40, 110, 210);
      f.lines = true;
      f.dorsal = 0.35;
      f.anal = 0.25;
      f.eye = 0.2;
      f.iris = rgb255(30, 90, 170);
      break;
    case 3:  // piranha: slate back, red belly, underbite
      f = {42, 26, 24, 21, rgb255(96, 112, 120), rgb255(226, 70, 50), rgb255(120, 130, 136)};
      f.scales = true;
      f.dorsal = 0.35;
      f.anal = 0.3;
      f.teeth = true;
      f.eye = 0.16;
      f.iris = rgb255(200, 40, 30);
      break;
    case 4:  // pigoplip: a plump pink fish with big lips
      f = {44, 36, 28, 27, rgb255(236, 120, 170), rgb255(252, 210, 220), rgb255(200, 90, 200)};
      f.stripe = rgb255(255, 240, 120);
      f.stripes = 0;
      f.dorsal = 0.3;
      f.anal = 0.25;
      f.lips = 5;
      f.forkTail = false;
      f.eye = 0.17;
      f.iris = rgb255(60, 140, 60);
      break;
    case 6:  // wrasse: orange with turquoise lines, fleshy lips
      f = {58, 24, 34, 21, rgb255(240, 130, 40), rgb255(252, 200, 120), rgb255(40, 170, 170)};
      f.stripe = rgb255(40, 190, 200);
      f.lines = true;
      f.dorsal = 0.3;
      f.anal = 0.25;
      f.lips = 3.5;
      f.forkTail = false;
      f.eye = 0.16;
      f.iris = rgb255(40, 120, 60);
      break;
    case 8:  // green wrasse with a scaly coat
      f = {50, 24, 30, 20, rgb255(60, 170, 70), rgb255(210, 236, 110), rgb255(40, 140, 120)};
      f.scales = true;
      f.dorsal = 0.3;
      f.anal = 0.25;
      f.eye = 0.17;
      f.iris = rgb255(170, 120, 20);
      break;
    case 11:  // tiny fish that is mostly eye
      f = {28, 18, 18, 16, rgb255(90, 170, 230), rgb255(200, 236, 250), rgb255(120, 200, 240)};
      f.dorsal = 0.3;
      f.anal = 0.2;
      f.eye = 0.34;
      f.iris = rgb255(40, 150, 60);
      break;
  }
  return f;
}

}  // namespace

void monsterSize(int kind, int* w, int* h) {
  *w = kSizes[kind].w;
  *h = kSizes[kind].h;
}

void drawMonster(cairo_t* cr, int kind, double phase) {
  switch (kind) {
    case 0:
      drawMine(cr, phase);
      break;
    case 2:
      drawAngelfish(cr, phase);
      break;
    case 5:
      drawBarrel(cr, phase);
      break;
    case 7:
      drawCuttlefish(cr, phase);
      break;
    case 9:
      drawSpiky(cr, phase);
      break;
    case 10:
      drawAngler(cr, phase);
      break;
    case 12:
      drawWhale(cr, phase);
      break;
    default:
      drawFish(cr, lookFor(kind), phase);
      break;
  }
}

Raster paintMonster(int kind, int frame) {
  // Frames 1..3 step a third of the cycle each, so 3 -> 1 continues smoothly.
  double phase = frame == 4 ? 0.5 : (frame - 1) / 3.0;
  cairo_surface_t* s = newCanvas(kSizes[kind].w, kSizes[kind].h);
  cairo_t* cr = cairo_create(s);
  drawMonster(cr, kind, phase);
  cairo_destroy(cr);
  Raster r = keyedSprite(s, kWhiteKey, kSea);
  cairo_surface_destroy(s);
  return r;
}

}  // namespace art
