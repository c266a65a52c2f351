#include "tools/art/shark.h"

#include <cmath>

namespace art {

namespace {

const Rgb kBack = rgb255(78, 100, 134);
const Rgb kFlank = rgb255(128, 150, 178);
const Rgb kBelly = rgb255(236, 240, 242);
const Rgb kSharkInk = rgb255(16, 24, 40);

void tailPath(cairo_t* cr) {
  // Drawn around the tail base at the origin, pointing left.
  cairo_move_to(cr, 6, -7);
  cairo_curve_to(cr, -8, -14, -20, -30, -34, -46);
  cairo_curve_to(cr, -30, -30, -28, -14, -24, -2);
  cairo_curve_to(cr, -28, 8, -30, 20, -28, 30);
  cairo_curve_to(cr, -16, 20, -6, 12, 6, 6);
  cairo_close_path(cr);
}

void bodyPath(cairo_t* cr, double bend) {
  cairo_move_to(cr, 38, 46 + bend);
  cairo_curve_to(cr, 62, 40 + bend * 0.5, 84, 26, 112, 25);
  cairo_curve_to(cr, 146, 24, 170, 34, 180, 48);
  cairo_curve_to(cr, 186, 56, 183, 63, 174, 66);
  cairo_curve_to(cr, 160, 74, 138, 82, 110, 83);
  cairo_curve_to(cr, 80, 83, 58, 66 + bend * 0.5, 38, 58 + bend);
  cairo_close_path(cr);
}

void finPath(cairo_t* cr, double x0, double y0, double x1, double y1, double tipX, double tipY) {
  cairo_move_to(cr, x0, y0);
  cairo_curve_to(cr, x0 - 2, y0 - (y0 - tipY) * 0.6, tipX + 6, tipY + 2, tipX, tipY);
  cairo_curve_to(cr, tipX + 10, tipY + (y1 - tipY) * 0.3, x1 - 4, y1 - 6, x1, y1);
  cairo_close_path(cr);
}

}  // namespace

void drawShark(cairo_t* cr, double stroke, bool openJaw) {
  double bend = stroke * 4;
  cairo_save(cr);
  // Room above and behind for the raised tail.
  cairo_translate(cr, 9, 3);
  cairo_scale(cr, 0.95, 1);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);

  // Far pectoral fin, in shadow behind the body.
  finPath(cr, 112, 74, 130, 76, 100, 96);
  setColor(cr, darker(kBack, 0.35));
  cairo_fill_preserve(cr);
  strokeWith(cr, kSharkInk, 1.6);

  // Tail, swinging about its base.
  cairo_save(cr);
  cairo_translate(cr, 40, 52 + bend);
  cairo_rotate(cr, stroke * 0.32);
  tailPath(cr);
  fillLinear(cr, 0, -46, kBack, 0, 30, darker(kFlank, 0.1), true);
  strokeWith(cr, kSharkInk, 2);
  cairo_move_to(cr, -2, -2);
  cairo_curve_to(cr, -12, -14, -20, -24, -28, -36);
  strokeWith(cr, lighter(kBack, 0.3), 1.2, false, 0.6);
  cairo_restore(cr);

  // Second dorsal and anal fins near the tail.
  finPath(cr, 54, 42 + bend * 0.7, 64, 39 + bend * 0.6, 46, 32 + bend * 0.7);
  setColor(cr, kBack);
  cairo_fill_preserve(cr);
  strokeWith(cr, kSharkInk, 1.5);
  finPath(cr, 60, 66 + bend * 0.6, 70, 70 + bend * 0.5, 50, 74 + bend * 0.7);
  setColor(cr, darker(kFlank, 0.15));
  cairo_fill_preserve(cr);
  strokeWith(cr, kSharkInk, 1.5);

  // Dorsal fin, swept back.
  cairo_move_to(cr, 96, 29);
  cairo_curve_to(cr, 98, 20, 96, 10, 90, 3);
  cairo_curve_to(cr, 104, 6, 120, 16, 132, 27);
  cairo_close_path(cr);
  fillLinear(cr, 0, 3, darker(kBack, 0.15), 0, 30, kBack, true);
  strokeWith(cr, kSharkInk, 2);

  // Body: a dark back shading into the flank, a pale belly below a wavy line.
  bodyPath(cr, bend);
  fillLinear(cr, 0, 24, kBack, 0, 70, kFlank, true);
  cairo_save(cr);
  cairo_clip(cr);
  cairo_move_to(cr, 30, 60 + bend);
  cairo_curve_to(cr, 70, 66, 96, 58, 120, 62);
  cairo_curve_to(cr, 140, 64, 156, 58, 176, 56);
  cairo_line_to(cr, 190, 100);
  cairo_line_to(cr, 30, 100);
  cairo_close_path(cr);
  fillLinear(cr, 0, 58, kBelly, 0, 84, rgb255(196, 206, 216));
  // Soft light along the back.
  cairo_move_to(cr, 60, 42 + bend * 0.5);
  cairo_curve_to(cr, 90, 30, 130, 27, 168, 42);
  strokeWith(cr, rgb255(200, 216, 234), 4, false, 0.45);
  cairo_restore(cr);
  bodyPath(cr, bend);
  strokeWith(cr, kSharkInk, 2.2);

  // Gill slits.
  for (int i = 0; i < 4; ++i) {
    double x = 128 + i * 5;
    cairo_move_to(cr, x, 46 + i * 0.5);
    cairo_curve_to(cr, x - 3, 52, x - 3, 58, x, 64 - i * 0.5);
    strokeWith(cr, darker(kBack, 0.45), 1.4);
  }

  // Mouth with teeth; the jaw drops open for the menu illustration.
  double drop = openJaw ? 9 : 0;
  if (openJaw) {
    cairo_move_to(cr, 178, 64);
    cairo_curve_to(cr, 168, 70, 156, 70, 146, 70);
    cairo_curve_to(cr, 156, 78 + drop, 168, 78 + drop, 176, 72 + drop);
    cairo_close_path(cr);
    fillLinear(cr, 0, 64, rgb255(120, 20, 34), 0, 80 + drop, rgb255(70, 8, 20), true);
    strokeWith(cr, kSharkInk, 1.6);
  }
  cairo_move_to(cr, 178, 64);
  cairo_curve_to(cr, 168, 70, 156, 71, 146, 70);
  strokeWith(cr, kSharkInk, 2);
  for (int i = 0; i < 5; ++i) {
    double x = 150 + i * 5.4;
    double y = 70.5 - i * 0.9;
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + 2.2, y + 4.2);
    cairo_line_to(cr, x + 4.2, y - 0.3);
    cairo_close_path(cr);
    setColor(cr, rgb255(244, 244, 236));
    cairo_fill_preserve(cr);
    strokeWith(cr, kSharkInk, 0.7);
  }
  if (openJaw) {
    for (int i = 0; i < 4; ++i) {
      double x = 152 + i * 5.6, y = 77 + drop - i * 1.2;
      cairo_move_to(cr, x, y);
      cairo_line_to(cr, x + 2.2, y - 4);
      cairo_line_to(cr, x + 4.4, y);
      cairo_close_path(cr);
      setColor(cr, rgb255(244, 244, 236));
      cairo_fill_preserve(cr);
      strokeWith(cr, kSharkInk, 0.7);
    }
  }

  // Eye under a stern brow.
  drawEye(cr, 160, 47, 5.2, rgb255(40, 60, 90), 0.6);
  cairo_move_to(cr, 151, 40);
  cairo_curve_to(cr, 157, 37, 163, 38, 168, 42);
  strokeWith(cr, kSharkInk, 2.2);
  // Nostril.
  ellipsePath(cr, 176, 52, 1.4, 1);
  setColor(cr, kSharkInk);
  cairo_fill(cr);

  // Near pectoral fin.
  finPath(cr, 118, 72, 138, 76, 98 - stroke * 2, 104 + stroke);
  fillLinear(cr, 0, 72, kFlank, 0, 104, darker(kBack, 0.1), true);
  strokeWith(cr, kSharkInk, 2);
  cairo_restore(cr);
}

Raster paintShark(int frame) {
  cairo_surface_t* s = newCanvas(kSharkWidth, kSharkHeight);
  cairo_t* cr = cairo_create(s);
  drawShark(cr, frame == 0 ? -1.0 : 1.0);
  cairo_destroy(cr);
  Raster r = keyedSprite(s, kWhiteKey, kSea);
  cairo_surface_destroy(s);
  return r;
}

}  // namespace art
