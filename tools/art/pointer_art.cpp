#include "tools/art/pointer_art.h"

#include <cmath>

#include "tools/art/menu_art.h"

namespace art {

namespace {

const Rgb kPointerInk = rgb255(14, 14, 20);

}  // namespace

Raster paintPointer() {
  cairo_surface_t* s = newCanvas(50, 50);
  cairo_t* cr = cairo_create(s);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  // An arrow whose tip is the hot spot at the top-left corner, with a fish-tail end.
  auto arrow = [&] {
    cairo_move_to(cr, 1.5, 1.5);
    cairo_line_to(cr, 1.5, 38);
    cairo_line_to(cr, 11, 29);
    cairo_line_to(cr, 17, 44);
    cairo_line_to(cr, 25, 40);
    cairo_line_to(cr, 19, 26);
    cairo_line_to(cr, 32, 25);
    cairo_close_path(cr);
  };
  arrow();
  fillLinear(cr, 0, 0, rgb255(255, 236, 120), 30, 40, rgb255(240, 120, 20), true);
  strokeWith(cr, kPointerInk, 2.4);
  cairo_move_to(cr, 5, 9);
  cairo_line_to(cr, 5, 26);
  strokeWith(cr, rgb255(255, 250, 220), 1.6, false, 0.8);
  drawBubble(cr, 38, 40, 5);
  drawBubble(cr, 44, 30, 3);
  cairo_destroy(cr);
  Raster r = keyedSprite(s, kBlackKey, kMenuWater);
  cairo_surface_destroy(s);
  return r;
}

Raster paintUnavailable(const Words& words) {
  // Drawn over the continue item in the same box, so it repeats the item's plaque in
  // the item's proportions, greyed, with the caption dimmed and a padlock.
  cairo_surface_t* s = newCanvas(kOtherWidth, kOtherHeight);
  cairo_t* cr = cairo_create(s);
  cairo_save(cr);
  // Half a pixel in from the top and bottom, so the rim stays whole inside 41 rows.
  cairo_translate(cr, 0, 0.5);
  cairo_scale(cr, double(kOtherWidth) / kMenuItemWidth, (kOtherHeight - 1.0) / kMenuItemHeight);
  menuPlaquePath(cr, kMenuItemWidth, kMenuItemHeight);
  fillLinear(cr, 0, 0, rgb255(112, 124, 136), 0, kMenuItemHeight, rgb255(64, 72, 84), true);
  strokeWith(cr, rgb255(36, 40, 48), 5, true);
  strokeWith(cr, rgb255(150, 156, 164), 2.4);
  cairo_restore(cr);
  Caption c{words("Продолжить")};
  c.size = 21;
  c.outlineWidth = 3;
  c.shadow = 0;
  c.fillTop = rgb255(176, 182, 190);
  c.fillBottom = rgb255(140, 146, 156);
  c.outline = rgb255(44, 48, 56);
  drawCaption(cr, c, kOtherWidth / 2.0 - 8, kOtherHeight / 2.0);
  // Padlock at the right end.
  double lx = 170, ly = 22;
  cairo_new_sub_path(cr);
  cairo_arc(cr, lx, ly - 3, 4.5, M_PI, 2 * M_PI);
  strokeWith(cr, rgb255(40, 44, 52), 2.2);
  roundedRectPath(cr, lx - 6.5, ly - 3, 13, 10, 2);
  fillLinear(cr, 0, ly - 3, rgb255(240, 200, 100), 0, ly + 7, rgb255(170, 120, 40), true);
  strokeWith(cr, rgb255(40, 44, 52), 1.2);
  cairo_destroy(cr);
  Raster r = keyedSprite(s, kWhiteKey, kMenuWater);
  cairo_surface_destroy(s);
  // Few colours, so the picture fits an 8-bit colour table: each channel to 16 steps.
  for (Pixel& p : r.pixels) {
    if (p == kWhiteKey) continue;
    p = {uint8_t(p.r & 0xF0), uint8_t(p.g & 0xF0), uint8_t(p.b & 0xF0)};
  }
  return r;
}

}  // namespace art
