#include "tools/art/name_entry_art.h"

#include "tools/art/sea_scene.h"

namespace art {

namespace {

constexpr int kWidth = 184, kHeight = 73;
constexpr int kButtonX = 96, kButtonY = 45, kButtonW = 73, kButtonH = 25;

void drawWindowBackground(cairo_t* cr, const Words& words) {
  cairo_rectangle(cr, 0, 0, kWidth, kHeight);
  fillLinear(cr, 0, 0, rgb255(40, 130, 180), 0, kHeight, rgb255(12, 50, 96));
  ArtRandom rnd(31);
  for (int i = 0; i < 7; ++i) {
    drawBubble(cr, rnd.uniform(4, 180), rnd.uniform(4, 70), rnd.uniform(1.5, 3.5), 0.8);
  }
  roundedRectPath(cr, 2, 2, kWidth - 4, kHeight - 4, 8);
  strokeWith(cr, rgb255(236, 190, 90), 2);
  // A gold frame round the place of the name field.
  roundedRectPath(cr, 12, 12, 161, 29, 5);
  setColor(cr, rgb255(6, 24, 48), 0.6);
  cairo_fill_preserve(cr);
  strokeWith(cr, rgb255(236, 190, 90), 1.5);
  Caption c{words("Рекорд!")};
  c.size = 22;
  c.outlineWidth = 4;
  c.shadow = 1;
  drawCaption(cr, c, 48, 57);
}

void drawOkButton(cairo_t* cr) {
  double x = kButtonX + 1, y = kButtonY + 1, w = kButtonW - 2, h = kButtonH - 2;
  roundedRectPath(cr, x, y, w, h, 10);
  fillLinear(cr, 0, y, rgb255(120, 220, 110), 0, y + h, rgb255(30, 130, 50), true);
  strokeWith(cr, rgb255(12, 40, 16), 2, true);
  strokeWith(cr, rgb255(200, 250, 190), 0.8);
  roundedRectPath(cr, x + 4, y + 3, w - 8, h * 0.35, 5);
  setColor(cr, rgb255(240, 255, 236), 0.35);
  cairo_fill(cr);
  Caption c{"ОК"};
  c.size = 18;
  c.outlineWidth = 3;
  c.shadow = 0;
  c.fillTop = rgb255(255, 255, 240);
  c.fillBottom = rgb255(240, 240, 200);
  c.outline = rgb255(12, 50, 20);
  drawCaption(cr, c, kButtonX + kButtonW / 2.0, kButtonY + kButtonH / 2.0);
}

}  // namespace

Raster paintNameEntryBackground(const Words& words) {
  cairo_surface_t* s = newCanvas(kWidth, kHeight);
  cairo_t* cr = cairo_create(s);
  drawWindowBackground(cr, words);
  cairo_destroy(cr);
  Raster r = opaqueRaster(s);
  cairo_surface_destroy(s);
  return r;
}

Raster paintOkButton() {
  // Painted over the window's background and cut out, so its rounded corners show the
  // same water as the picture behind it.
  cairo_surface_t* s = newCanvas(kWidth, kHeight);
  cairo_t* cr = cairo_create(s);
  drawWindowBackground(cr, RussianWords);
  drawOkButton(cr);
  cairo_destroy(cr);
  Raster whole = opaqueRaster(s);
  cairo_surface_destroy(s);
  Raster r(kButtonW, kButtonH);
  for (int y = 0; y < kButtonH; ++y) {
    for (int x = 0; x < kButtonW; ++x) r.at(x, y) = whole.at(kButtonX + x, kButtonY + y);
  }
  return r;
}

}  // namespace art
