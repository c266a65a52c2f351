#include "tools/art/menu_art.h"

#include <cmath>

#include "tools/art/creatures.h"
#include "tools/art/guide_screen.h"
#include "tools/art/sea_scene.h"
#include "tools/art/shark.h"

namespace art {

namespace {

const Rgb kMenuInk = rgb255(20, 22, 34);

Raster finishOpaque(cairo_surface_t* s, bool keyed) {
  Raster r = opaqueRaster(s);
  if (keyed) keepOffKey(r, kWhiteKey);
  cairo_surface_destroy(s);
  return r;
}

Raster finishKeyed(cairo_surface_t* s, Rgb edge) {
  Raster r = keyedSprite(s, kWhiteKey, edge);
  cairo_surface_destroy(s);
  return r;
}

void drawMenuTitle(cairo_t* cr, const Words& words) {
  Caption title{"Reefmaw"};
  title.family = "Comic Neue";
  title.size = 110;
  title.outlineWidth = 10;
  title.shadow = 6;
  title.fillTop = rgb255(255, 244, 150);
  title.fillBottom = rgb255(250, 140, 30);
  title.outline = rgb255(40, 16, 6);
  drawCaption(cr, title, 250, 92);
  Caption sub{words("Акулья охота")};
  sub.size = 34;
  sub.outlineWidth = 5;
  sub.fillTop = rgb255(190, 250, 255);
  sub.fillBottom = rgb255(90, 200, 240);
  sub.outline = rgb255(8, 30, 60);
  drawCaption(cr, sub, 250, 158);
}

Raster paintBackdrop(const Words& words) {
  cairo_surface_t* s = newCanvas(800, 600);
  cairo_t* cr = cairo_create(s);
  drawWater(cr, 800, 600, 101);
  drawSeabed(cr, 800, 600, 520, 102, true);
  // The hero, jaws open, after a pair of fleeing fish.
  cairo_save(cr);
  cairo_translate(cr, 330, 376);
  cairo_scale(cr, 1.9, 1.9);
  drawShark(cr, 0.6, true);
  cairo_restore(cr);
  for (int i = 0; i < 6; ++i) {
    drawBubble(cr, 330 + i * 9 - i * i, 460 - i * 22, 3 + i * 0.6);
  }
  cairo_save(cr);
  cairo_translate(cr, 770, 470);
  cairo_scale(cr, -1.3, 1.3);  // the prey flee to the right, ahead of the shark
  drawMonster(cr, 1, 0.2);
  cairo_restore(cr);
  cairo_save(cr);
  cairo_translate(cr, 790, 392);
  cairo_scale(cr, -1.2, 1.2);
  drawMonster(cr, 11, 0.6);
  cairo_restore(cr);
  drawMenuTitle(cr, words);
  cairo_destroy(cr);
  return finishOpaque(s, false);
}

}  // namespace

void menuPlaquePath(cairo_t* cr, double w, double h) {
  roundedRectPath(cr, w * 0.02, h * 0.06, w * 0.96, h * 0.88, h * 0.4);
}

namespace {

void drawPlaque(cairo_t* cr, double w, double h, Rgb top, Rgb bottom) {
  menuPlaquePath(cr, w, h);
  fillLinear(cr, 0, 0, top, 0, h, bottom, true);
  strokeWith(cr, rgb255(40, 24, 8), 5, true);
  strokeWith(cr, rgb255(236, 190, 90), 2.4);
  // Glassy highlight over the upper half.
  roundedRectPath(cr, w * 0.06, h * 0.14, w * 0.88, h * 0.3, h * 0.15);
  setColor(cr, rgb255(230, 250, 255), 0.25);
  cairo_fill(cr);
  // Bubbles on the right end.
  drawBubble(cr, w * 0.9, h * 0.36, h * 0.07);
  drawBubble(cr, w * 0.93, h * 0.58, h * 0.045);
}

Raster paintMenuItem(const std::string& text) {
  const double w = kMenuItemWidth, h = kMenuItemHeight;
  cairo_surface_t* s = newCanvas(int(w), int(h));
  cairo_t* cr = cairo_create(s);
  drawPlaque(cr, w, h, rgb255(40, 150, 190), rgb255(12, 60, 110));
  Caption c{text};
  c.size = 36;
  c.outlineWidth = 6;
  c.shadow = 2;
  drawCaption(cr, c, w / 2, h / 2 + 1);
  cairo_destroy(cr);
  return finishKeyed(s, kMenuWater);
}

Raster paintGameOver(const Words& words) {
  const int w = 250, h = 50;
  cairo_surface_t* s = newCanvas(w, h);
  cairo_t* cr = cairo_create(s);
  // A ribbon with folded ends.
  for (int side = 0; side < 2; ++side) {
    double x = side ? w - 2 : 2, dir = side ? -1 : 1;
    cairo_move_to(cr, x, 12);
    cairo_line_to(cr, x + dir * 34, 12);
    cairo_line_to(cr, x + dir * 34, 46);
    cairo_line_to(cr, x, 46);
    cairo_line_to(cr, x + dir * 10, 29);
    cairo_close_path(cr);
    fillLinear(cr, 0, 12, rgb255(150, 20, 30), 0, 46, rgb255(90, 8, 16), true);
    strokeWith(cr, kMenuInk, 2);
  }
  roundedRectPath(cr, 22, 3, w - 44, 40, 8);
  fillLinear(cr, 0, 3, rgb255(230, 60, 60), 0, 43, rgb255(150, 16, 30), true);
  strokeWith(cr, kMenuInk, 3, true);
  strokeWith(cr, rgb255(255, 200, 120), 1.2);
  Caption c{words("Игра окончена")};
  c.size = 24;
  c.outlineWidth = 5;
  c.shadow = 0;
  c.fillTop = rgb255(255, 250, 220);
  c.fillBottom = rgb255(255, 210, 110);
  drawCaption(cr, c, w / 2.0, 23);
  cairo_destroy(cr);
  return finishKeyed(s, kSea);
}

Raster paintLevelBox(const Words& words) {
  const int w = 350, h = 100;
  cairo_surface_t* s = newCanvas(w, h);
  cairo_t* cr = cairo_create(s);
  roundedRectPath(cr, 4, 8, w - 8, h - 16, 26);
  fillLinear(cr, 0, 8, rgb255(40, 140, 190), 0, h - 8, rgb255(10, 50, 100), true);
  strokeWith(cr, kMenuInk, 5, true);
  strokeWith(cr, rgb255(236, 190, 90), 2.5);
  roundedRectPath(cr, 14, 16, 236, 24, 12);
  setColor(cr, rgb255(230, 250, 255), 0.2);
  cairo_fill(cr);
  Caption c{words("Уровень")};
  c.size = 48;
  c.outlineWidth = 7;
  drawCaption(cr, c, 138, 50);
  // A dark porthole where the game writes the level number.
  ellipsePath(cr, 303, 47, 42, 42);
  fillRadial(cr, 303, 47, 42, rgb255(20, 40, 70), rgb255(60, 90, 130), true);
  strokeWith(cr, kMenuInk, 4, true);
  strokeWith(cr, rgb255(236, 190, 90), 2);
  ellipsePath(cr, 303, 47, 35, 35);
  fillRadial(cr, 297, 39, 35, rgb255(12, 30, 60), rgb255(6, 14, 32), true);
  strokeWith(cr, rgb255(120, 90, 40), 1.5);
  for (int i = 0; i < 8; ++i) {
    double a = i * M_PI / 4;
    ellipsePath(cr, 303 + std::cos(a) * 38.5, 47 + std::sin(a) * 38.5, 1.8, 1.8);
    setColor(cr, rgb255(250, 220, 150));
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  return finishKeyed(s, kSea);
}

Raster paintRecords(const Words& words) {
  cairo_surface_t* s = newCanvas(800, 600);
  cairo_t* cr = cairo_create(s);
  drawWater(cr, 800, 600, 111);
  drawSeabed(cr, 800, 600, 540, 112, true);
  Caption title{words("Рекорды")};
  title.size = 84;
  title.outlineWidth = 9;
  title.shadow = 5;
  drawCaption(cr, title, 400, 78);
  // A stone tablet with a parchment face: calm and light, so the red rows read well.
  roundedRectPath(cr, 88, 132, 624, 368, 24);
  fillLinear(cr, 0, 132, rgb255(120, 130, 136), 0, 500, rgb255(70, 80, 90), true);
  strokeWith(cr, kMenuInk, 4);
  roundedRectPath(cr, 104, 146, 592, 340, 16);
  fillLinear(cr, 0, 146, rgb255(250, 240, 208), 0, 486, rgb255(232, 214, 170), true);
  strokeWith(cr, rgb255(150, 110, 60), 2);
  drawText(cr, words("№"), 18, rgb255(120, 80, 40), 122, 150);
  drawText(cr, words("Имя"), 18, rgb255(120, 80, 40), 175, 150);
  drawText(cr, words("Очки"), 18, rgb255(120, 80, 40), 525, 150);
  for (int k = 1; k <= 10; ++k) {
    double y = 150 + 30 * k + 29;
    cairo_move_to(cr, 118, y);
    cairo_line_to(cr, 682, y);
    strokeWith(cr, rgb255(200, 176, 130), 1, false, 0.7);
  }
  cairo_move_to(cr, 165, 176);
  cairo_line_to(cr, 165, 478);
  cairo_move_to(cr, 512, 176);
  cairo_line_to(cr, 512, 478);
  strokeWith(cr, rgb255(200, 176, 130), 1, false, 0.7);
  // Trophy shells and a curious fish at the sides.
  cairo_save(cr);
  cairo_translate(cr, 712, 250);
  drawMonster(cr, 2, 0.3);
  cairo_restore(cr);
  cairo_save(cr);
  cairo_translate(cr, 18, 330);
  cairo_scale(cr, -1, 1);
  cairo_translate(cr, -64, 0);
  drawMonster(cr, 4, 0.6);
  cairo_restore(cr);
  // The hint in a dark band that fits it, centred under the tablet.
  const std::string hint = words("Щелчок, Enter, Esc или кнопка пада — назад в меню");
  const double hintWidth = textWidth(cr, hint, 18);
  roundedRectPath(cr, 400 - hintWidth / 2 - 16, 508, hintWidth + 32, 30, 15);
  setColor(cr, rgb255(6, 24, 48), 0.7);
  cairo_fill(cr);
  drawText(cr, hint, 18, rgb255(220, 240, 250), 400 - hintWidth / 2, 512);
  cairo_destroy(cr);
  return finishOpaque(s, true);
}

Raster paintUnusedPlaque() {
  const double w = kMenuItemWidth, h = kMenuItemHeight;
  cairo_surface_t* s = newCanvas(int(w), int(h));
  cairo_t* cr = cairo_create(s);
  drawPlaque(cr, w, h, rgb255(200, 120, 40), rgb255(120, 50, 10));
  Caption c{"Reefmaw"};
  c.family = "Comic Neue";
  c.size = 40;
  drawCaption(cr, c, w / 2, h / 2);
  cairo_destroy(cr);
  return finishKeyed(s, kMenuWater);
}

}  // namespace

Raster paintMenuPicture(int n, const Words& words) {
  switch (n) {
    case 1:
      return paintBackdrop(words);
    case 2:
      return paintUnusedPlaque();
    case 3:
      return paintMenuItem(words("Новая игра"));
    case 4:
      return paintMenuItem(words("Продолжить"));
    case 5:
      return paintMenuItem(words("Рекорды"));
    case 6:
      return paintMenuItem(words("Как играть"));
    case 7:
      return paintMenuItem(words("Выход"));
    case 8:
      return paintGameOver(words);
    case 9:
      return paintLevelBox(words);
    case 10:
      return paintGuide(words);
    default:
      return paintRecords(words);
  }
}

}  // namespace art
