#pragma once
// Small drawing vocabulary shared by every painter of the game's art: colours, a seeded
// random source, gradients, rounded shapes and outlined Pango captions.

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>

namespace art {

struct Rgb {
  double r = 0, g = 0, b = 0;  // 0..1
};

// 0..255 components, as the picture files hold them.
constexpr Rgb rgb255(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
Rgb mix(Rgb a, Rgb b, double t);
Rgb lighter(Rgb c, double t);  // toward white by t
Rgb darker(Rgb c, double t);   // toward black by t

// The colour of open water behind the sprites; sprite edges blend toward it.
constexpr Rgb kSea = rgb255(22, 78, 124);
// The menu's water: the menu's pictures and the pointer that moves over them blend toward it.
constexpr Rgb kMenuWater = rgb255(30, 100, 150);

// Deterministic random numbers: the same seed gives the same pictures on every machine
// (the standard distributions are implementation-defined, so this does its own scaling).
class ArtRandom {
 public:
  explicit ArtRandom(uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
  uint32_t next();
  double uniform(double lo, double hi);  // [lo, hi)
  int below(int n);                      // 0..n-1

 private:
  uint32_t state_;
};

void setColor(cairo_t* cr, Rgb c, double alpha = 1.0);
void addStop(cairo_pattern_t* p, double offset, Rgb c, double alpha = 1.0);
// Fills the current path with a linear gradient from c0 at (x0,y0) to c1 at (x1,y1).
void fillLinear(cairo_t* cr, double x0, double y0, Rgb c0, double x1, double y1, Rgb c1,
                bool preserve = false);
// Fills the current path with a radial gradient centred at (cx,cy).
void fillRadial(cairo_t* cr, double cx, double cy, double r, Rgb inner, Rgb outer,
                bool preserve = false);
void strokeWith(cairo_t* cr, Rgb c, double width, bool preserve = false, double alpha = 1.0);

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);
void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r);

// A round eye with iris, pupil and highlight, looking toward dx (-1 left .. 1 right).
void drawEye(cairo_t* cr, double cx, double cy, double r, Rgb iris, double lookX = -0.3);
// A glassy bubble with a rim and a highlight.
void drawBubble(cairo_t* cr, double cx, double cy, double r, double alpha = 1.0);

// The words painted into a picture in one language, each asked for by its Russian wording
// (the message id of the game's catalogues).
using Words = std::function<std::string(const std::string&)>;
// Marks a wording kept in a table and painted later through Words, so that the check of
// the catalogues finds it as it finds the words("...") calls.
constexpr const char* Wording(const char* russian) { return russian; }
// The game's own words: the wordings themselves.
inline std::string RussianWords(const std::string& wording) { return wording; }

// Text drawn with Pango in a bold playful face.
struct Caption {
  std::string text;  // UTF-8
  std::string family = "Comfortaa";
  double size = 24;  // pixels
  bool bold = true;
  Rgb fillTop = rgb255(255, 236, 120);
  Rgb fillBottom = rgb255(255, 170, 40);
  Rgb outline = rgb255(40, 20, 10);
  double outlineWidth = 4;
  double shadow = 2;  // drop-shadow offset, 0 for none
};
// Measures the caption's ink box (width, height) in pixels.
void captionSize(cairo_t* cr, const Caption& c, double* w, double* h);
// Draws the caption with its ink box centred at (cx, cy).
void drawCaption(cairo_t* cr, const Caption& c, double cx, double cy);
// Draws the caption with the left edge of its ink box at x, centred vertically at cy.
void drawCaptionLeft(cairo_t* cr, const Caption& c, double x, double cy);
// Plain one-colour text; (x, y) is the top-left of the logical box.
void drawText(cairo_t* cr, const std::string& text, double size, Rgb color, double x, double y,
              bool bold = true, const std::string& family = "Comfortaa");
// Text wrapped to width; returns the height it took.
double drawParagraph(cairo_t* cr, const std::string& text, double size, Rgb color, double x,
                     double y, double width, bool bold = false,
                     const std::string& family = "Comfortaa");
double textWidth(cairo_t* cr, const std::string& text, double size, bool bold = true,
                 const std::string& family = "Comfortaa");

}  // namespace art
