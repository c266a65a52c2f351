#include "tools/art/guide_screen.h"

#include <algorithm>
#include <cmath>

#include "tools/art/creatures.h"
#include "tools/art/sea_scene.h"

namespace art {

namespace {

const Rgb kGuideInk = rgb255(20, 22, 34);
const Rgb kText = rgb255(230, 244, 252);
const Rgb kGood = rgb255(130, 240, 120);
const Rgb kBad = rgb255(255, 120, 110);

void heartIcon(cairo_t* cr, double x, double y, double s) {
  cairo_move_to(cr, x, y + s * 0.45);
  cairo_curve_to(cr, x - s * 0.75, y, x - s * 0.5, y - s * 0.6, x, y - s * 0.25);
  cairo_curve_to(cr, x + s * 0.5, y - s * 0.6, x + s * 0.75, y, x, y + s * 0.45);
  cairo_close_path(cr);
  fillRadial(cr, x - s * 0.2, y - s * 0.2, s, rgb255(255, 130, 130), rgb255(190, 20, 40), true);
  strokeWith(cr, kGuideInk, 1);
}

void pearlIcon(cairo_t* cr, double x, double y, double s) {
  ellipsePath(cr, x, y, s * 0.42, s * 0.42);
  fillRadial(cr, x - s * 0.15, y - s * 0.15, s * 0.5, rgb255(252, 252, 246), rgb255(170, 184, 210),
             true);
  strokeWith(cr, kGuideInk, 1);
}

void boneIcon(cairo_t* cr, double x, double y, double s) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, x - s * 0.45, y);
  cairo_line_to(cr, x + s * 0.3, y);
  strokeWith(cr, rgb255(236, 232, 214), s * 0.14);
  for (int i = 0; i < 3; ++i) {
    cairo_move_to(cr, x - s * 0.2 + i * s * 0.18, y - s * 0.25);
    cairo_line_to(cr, x - s * 0.15 + i * s * 0.18, y + s * 0.25);
    strokeWith(cr, rgb255(236, 232, 214), s * 0.1);
  }
  ellipsePath(cr, x - s * 0.5, y, s * 0.2, s * 0.18);
  cairo_move_to(cr, x + s * 0.3, y);
  cairo_line_to(cr, x + s * 0.55, y - s * 0.25);
  cairo_line_to(cr, x + s * 0.55, y + s * 0.25);
  cairo_close_path(cr);
  setColor(cr, rgb255(236, 232, 214));
  cairo_fill(cr);
}

enum class Stat { Points, Life, Hunger };

// One effect: an icon and its change, green when it helps the shark.
double effect(cairo_t* cr, double x, double y, Stat stat, const std::string& change, bool good) {
  switch (stat) {
    case Stat::Life:
      heartIcon(cr, x + 8, y + 10, 16);
      break;
    case Stat::Points:
      pearlIcon(cr, x + 8, y + 10, 16);
      break;
    case Stat::Hunger:
      boneIcon(cr, x + 8, y + 10, 18);
      break;
  }
  double tx = x + (stat == Stat::Hunger ? 22 : 19);
  drawText(cr, change, 16, good ? kGood : kBad, tx, y);
  return tx + textWidth(cr, change, 16) + 10;
}

struct Creature {
  int kind;
  const char* name;
  int points, life, hunger;  // a predator's are how hard it drains: 1 to 3 marks
  bool predator;
};

void thumbnail(cairo_t* cr, int kind, double x, double y, double boxW, double boxH) {
  int w, h;
  monsterSize(kind, &w, &h);
  double scale = std::min({boxW / w, boxH / h, 1.0});
  cairo_save(cr);
  cairo_translate(cr, x + (boxW - w * scale) / 2, y + (boxH - h * scale) / 2);
  cairo_scale(cr, scale, scale);
  drawMonster(cr, kind, 0.15);
  cairo_restore(cr);
}

void creatureRow(cairo_t* cr, const Creature& c, double x, double y, const Words& words) {
  roundedRectPath(cr, x, y, 240, 56, 10);
  setColor(cr, rgb255(8, 30, 56), 0.55);
  cairo_fill(cr);
  thumbnail(cr, c.kind, x + 4, y + 4, 72, 48);
  drawText(cr, words(c.name), 17, rgb255(255, 230, 140), x + 82, y + 3);
  double ex = x + 82, ey = y + 28;
  if (c.predator) {
    auto marks = [](int n) {
      std::string m;
      for (int i = 0; i < n; ++i) m += "−";
      return m;
    };
    ex = effect(cr, ex, ey, Stat::Points, marks(c.points), false);
    ex = effect(cr, ex, ey, Stat::Life, marks(c.life), false);
    effect(cr, ex, ey, Stat::Hunger, "+", false);
    return;
  }
  auto sign = [](int v) { return (v > 0 ? "+" : "−") + std::to_string(std::abs(v)); };
  if (c.points) ex = effect(cr, ex, ey, Stat::Points, sign(c.points), c.points > 0);
  if (c.life) ex = effect(cr, ex, ey, Stat::Life, sign(c.life), c.life > 0);
  if (c.hunger) effect(cr, ex, ey, Stat::Hunger, sign(c.hunger), c.hunger < 0);
}

void header(cairo_t* cr, const std::string& text, double x, double y, Rgb top, Rgb bottom) {
  Caption c{text};
  c.size = 24;
  c.outlineWidth = 4;
  c.shadow = 1;
  c.fillTop = top;
  c.fillBottom = bottom;
  drawCaptionLeft(cr, c, x, y);
}

void keyCap(cairo_t* cr, double x, double y, const std::string& label, double w = 26) {
  roundedRectPath(cr, x, y, w, 26, 5);
  fillLinear(cr, 0, y, rgb255(236, 240, 244), 0, y + 26, rgb255(170, 180, 196), true);
  strokeWith(cr, kGuideInk, 1.5);
  double tw = textWidth(cr, label, 15, true, "DejaVu Sans");
  drawText(cr, label, 15, kGuideInk, x + (w - tw) / 2, y + 3, true, "DejaVu Sans");
}

void controls(cairo_t* cr, const Words& words) {
  roundedRectPath(cr, 14, 84, 262, 500, 16);
  setColor(cr, rgb255(6, 24, 48), 0.7);
  cairo_fill_preserve(cr);
  strokeWith(cr, rgb255(236, 190, 90), 2);
  header(cr, words("Управление"), 28, 106, rgb255(255, 240, 150), rgb255(255, 170, 40));
  // The arrow cluster.
  keyCap(cr, 66, 124, "↑");
  keyCap(cr, 38, 152, "←");
  keyCap(cr, 66, 152, "↓");
  keyCap(cr, 94, 152, "→");
  drawText(cr, words("или"), 13, kText, 124, 158, false);
  keyCap(cr, 188, 124, "K");
  keyCap(cr, 160, 152, "H");
  keyCap(cr, 188, 152, "J");
  keyCap(cr, 216, 152, "L");
  drawParagraph(cr, words("Стрелки, H J K L, цифры 8 2 4 6 или джойстик."), 15, kText, 28, 184,
                240);
  keyCap(cr, 28, 232, "Esc", 42);
  drawText(cr, words("— пауза и меню"), 15, kText, 76, 234, false);
  keyCap(cr, 28, 264, "Alt", 36);
  drawText(cr, "+", 15, kText, 68, 266);
  keyCap(cr, 80, 264, "Enter", 58);
  drawText(cr, words("— окно"), 15, kText, 144, 266, false);
  drawText(cr, words("Мышь — пункты меню"), 15, kText, 28, 298, false);

  header(cr, words("Правила"), 28, 342, rgb255(190, 250, 255), rgb255(90, 200, 240));
  double y = 360;
  y += drawParagraph(cr, words("Ешь рыбу: растут очки и жизнь, уходит голод."), 14, kText, 28, y,
                     240) +
       4;
  y += drawParagraph(cr, words("Голод растёт сам. Когда он полон, тает жизнь."), 14, kText, 28, y,
                     240) +
       4;
  y += drawParagraph(cr, words("Мины, бочки и колючки ранят, хищники грызут, пока касаются."), 14,
                     kText, 28, y, 240) +
       4;
  y += drawParagraph(
           cr, words("Набери 50 × уровень + 50 очков, и откроется следующий уровень. Всего их 10."),
           14, kText, 28, y, 240) +
       6;
  // Legend of the icons.
  // Each icon stands at its place, or further right when the word before runs long.
  const std::string life = words("жизнь"), points = words("очки"), hunger = words("голод");
  constexpr double kPearlGap = 11, kBoneGap = 20;  // from the word's end to the icon's middle
  heartIcon(cr, 38, y + 10, 16);
  drawText(cr, life, 15, kText, 50, y, false);
  const double pearlX = std::max(116.0, 50 + textWidth(cr, life, 15, false) + kPearlGap);
  pearlIcon(cr, pearlX, y + 10, 16);
  drawText(cr, points, 15, kText, pearlX + 12, y, false);
  const double boneX = std::max(186.0, pearlX + 12 + textWidth(cr, points, 15, false) + kBoneGap);
  boneIcon(cr, boneX, y + 10, 18);
  drawText(cr, hunger, 15, kText, boneX + 14, y, false);
}

}  // namespace

Raster paintGuide(const Words& words) {
  const int w = 800, h = 600;
  cairo_surface_t* s = newCanvas(w, h);
  cairo_t* cr = cairo_create(s);
  drawWater(cr, w, h, 121);
  drawSeabed(cr, w, h, 574, 122, false);
  Caption title{words("Как играть")};
  title.size = 60;
  title.outlineWidth = 8;
  title.shadow = 4;
  drawCaption(cr, title, 400, 42);
  controls(cr, words);

  const Creature food[] = {
      {11, Wording("Глазастик"), 1, 1, -1, false}, {1, Wording("Рыбка"), 2, 2, -2, false},
      {3, Wording("Пиранья"), 3, 3, -3, false},    {4, Wording("Пиголип"), 6, 6, -6, false},
      {6, Wording("Губан"), 7, 7, -7, false},      {2, Wording("Рыба-ангел"), 9, 9, -9, false},
      {8, Wording("Зеленушка"), 9, 9, -9, false}};
  const Creature harm[] = {{0, Wording("Мина"), 0, -7, 7, false},
                           {9, Wording("Колючка"), -2, -7, 7, false},
                           {5, Wording("Бочка"), 0, -12, 12, false}};
  const Creature predators[] = {{7, Wording("Каракатица"), 1, 2, 1, true},
                                {10, Wording("Удильщик"), 1, 3, 1, true},
                                {12, Wording("Кит"), 2, 4, 1, true}};
  header(cr, words("Еда"), 290, 100, rgb255(190, 255, 150), rgb255(70, 200, 60));
  for (int i = 0; i < 7; ++i) creatureRow(cr, food[i], 290, 118 + i * 62, words);
  header(cr, words("Опасно"), 546, 100, rgb255(255, 220, 140), rgb255(250, 120, 40));
  for (int i = 0; i < 3; ++i) creatureRow(cr, harm[i], 546, 118 + i * 62, words);
  header(cr, words("Хищники"), 546, 316, rgb255(255, 170, 160), rgb255(220, 40, 40));
  for (int i = 0; i < 3; ++i) creatureRow(cr, predators[i], 546, 334 + i * 62, words);
  drawText(cr, words("Щёлкни — назад в меню"), 14, rgb255(220, 240, 250), 570, 534, false);
  cairo_destroy(cr);
  Raster r = opaqueRaster(s);
  keepOffKey(r, kWhiteKey);
  cairo_surface_destroy(s);
  return r;
}

}  // namespace art
