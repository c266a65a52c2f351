#include "tools/art/paint_kit.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

namespace art {

Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb lighter(Rgb c, double t) { return mix(c, {1, 1, 1}, t); }
Rgb darker(Rgb c, double t) { return mix(c, {0, 0, 0}, t); }

uint32_t ArtRandom::next() {
  // xorshift32: tiny, and the same on every compiler.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}
double ArtRandom::uniform(double lo, double hi) {
  return lo + (hi - lo) * ((next() >> 8) / 16777216.0);
}
int ArtRandom::below(int n) { return static_cast<int>((uint64_t{next()} * uint64_t(n)) >> 32); }

void setColor(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }
void addStop(cairo_pattern_t* p, double offset, Rgb c, double alpha) {
  cairo_pattern_add_color_stop_rgba(p, offset, c.r, c.g, c.b, alpha);
}

static void fillWith(cairo_t* cr, cairo_pattern_t* p, bool preserve) {
  cairo_set_source(cr, p);
  if (preserve) {
    cairo_fill_preserve(cr);
  } else {
    cairo_fill(cr);
  }
  cairo_pattern_destroy(p);
}

void fillLinear(cairo_t* cr, double x0, double y0, Rgb c0, double x1, double y1, Rgb c1,
                bool preserve) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
  addStop(p, 0, c0);
  addStop(p, 1, c1);
  fillWith(cr, p, preserve);
}

void fillRadial(cairo_t* cr, double cx, double cy, double r, Rgb inner, Rgb outer, bool preserve) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  addStop(p, 0, inner);
  addStop(p, 1, outer);
  fillWith(cr, p, preserve);
}

void strokeWith(cairo_t* cr, Rgb c, double width, bool preserve, double alpha) {
  setColor(cr, c, alpha);
  cairo_set_line_width(cr, width);
  if (preserve) {
    cairo_stroke_preserve(cr);
  } else {
    cairo_stroke(cr);
  }
}

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void drawEye(cairo_t* cr, double cx, double cy, double r, Rgb iris, double lookX) {
  ellipsePath(cr, cx, cy, r, r);
  fillRadial(cr, cx - r * 0.3, cy - r * 0.3, r * 1.3, rgb255(244, 246, 240), rgb255(170, 180, 190),
             true);
  strokeWith(cr, rgb255(12, 14, 22), std::max(1.0, r * 0.18));
  double ix = cx + lookX * r * 0.35;
  ellipsePath(cr, ix, cy, r * 0.62, r * 0.62);
  fillRadial(cr, ix, cy, r * 0.62, lighter(iris, 0.3), darker(iris, 0.3));
  ellipsePath(cr, ix + lookX * r * 0.1, cy, r * 0.34, r * 0.34);
  setColor(cr, rgb255(10, 10, 16));
  cairo_fill(cr);
  ellipsePath(cr, ix - r * 0.2, cy - r * 0.25, r * 0.17, r * 0.17);
  setColor(cr, rgb255(240, 246, 250));
  cairo_fill(cr);
}

void drawBubble(cairo_t* cr, double cx, double cy, double r, double alpha) {
  ellipsePath(cr, cx, cy, r, r);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.35, r * 0.1, cx, cy, r);
  addStop(p, 0, rgb255(200, 236, 250), 0.55 * alpha);
  addStop(p, 0.7, rgb255(120, 190, 230), 0.25 * alpha);
  addStop(p, 1, rgb255(210, 240, 255), 0.8 * alpha);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  strokeWith(cr, rgb255(215, 240, 252), std::max(0.8, r * 0.12), false, 0.85 * alpha);
  ellipsePath(cr, cx - r * 0.38, cy - r * 0.4, r * 0.22, r * 0.16);
  setColor(cr, rgb255(246, 250, 252), 0.95 * alpha);
  cairo_fill(cr);
}

// Text outlines must not depend on the machine's font settings, so every layout gets
// the same explicit options.
static PangoLayout* makeLayout(cairo_t* cr, const std::string& text, double size, bool bold,
                               const std::string& family) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  cairo_font_options_t* opts = cairo_font_options_create();
  cairo_font_options_set_antialias(opts, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_OFF);
  PangoContext* ctx = pango_layout_get_context(layout);
  pango_cairo_context_set_font_options(ctx, opts);
  pango_cairo_context_set_resolution(ctx, 96);
  cairo_font_options_destroy(opts);
  pango_layout_context_changed(layout);
  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, family.c_str());
  pango_font_description_set_weight(desc, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_absolute_size(desc, size * PANGO_SCALE);
  pango_layout_set_font_description(layout, desc);
  pango_font_description_free(desc);
  pango_layout_set_text(layout, text.c_str(), -1);
  return layout;
}

static PangoRectangle inkBox(PangoLayout* layout) {
  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  return ink;
}

void captionSize(cairo_t* cr, const Caption& c, double* w, double* h) {
  PangoLayout* layout = makeLayout(cr, c.text, c.size, c.bold, c.family);
  PangoRectangle ink = inkBox(layout);
  *w = ink.width;
  *h = ink.height;
  g_object_unref(layout);
}

static void drawCaptionAt(cairo_t* cr, const Caption& c, PangoLayout* layout, double ox, double oy,
                          const PangoRectangle& ink) {
  cairo_save(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  if (c.shadow > 0) {
    cairo_move_to(cr, ox + c.shadow, oy + c.shadow);
    pango_cairo_layout_path(cr, layout);
    setColor(cr, rgb255(6, 14, 30), 0.55);
    cairo_set_line_width(cr, c.outlineWidth);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
  }
  cairo_move_to(cr, ox, oy);
  pango_cairo_layout_path(cr, layout);
  if (c.outlineWidth > 0) strokeWith(cr, c.outline, c.outlineWidth, true);
  double top = oy + ink.y, bottom = oy + ink.y + ink.height;
  fillLinear(cr, 0, top, c.fillTop, 0, bottom, c.fillBottom);
  cairo_restore(cr);
}

void drawCaption(cairo_t* cr, const Caption& c, double cx, double cy) {
  PangoLayout* layout = makeLayout(cr, c.text, c.size, c.bold, c.family);
  PangoRectangle ink = inkBox(layout);
  double ox = cx - ink.width / 2.0 - ink.x, oy = cy - ink.height / 2.0 - ink.y;
  drawCaptionAt(cr, c, layout, ox, oy, ink);
  g_object_unref(layout);
}

void drawCaptionLeft(cairo_t* cr, const Caption& c, double x, double cy) {
  PangoLayout* layout = makeLayout(cr, c.text, c.size, c.bold, c.family);
  PangoRectangle ink = inkBox(layout);
  drawCaptionAt(cr, c, layout, x - ink.x, cy - ink.height / 2.0 - ink.y, ink);
  g_object_unref(layout);
}

void drawText(cairo_t* cr, const std::string& text, double size, Rgb color, double x, double y,
              bool bold, const std::string& family) {
  PangoLayout* layout = makeLayout(cr, text, size, bold, family);
  setColor(cr, color);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
}

double drawParagraph(cairo_t* cr, const std::string& text, double size, Rgb color, double x,
                     double y, double width, bool bold, const std::string& family) {
  PangoLayout* layout = makeLayout(cr, text, size, bold, family);
  pango_layout_set_width(layout, int(width * PANGO_SCALE));
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
  setColor(cr, color);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  g_object_unref(layout);
  return logical.height;
}

double textWidth(cairo_t* cr, const std::string& text, double size, bool bold,
                 const std::string& family) {
  PangoLayout* layout = makeLayout(cr, text, size, bold, family);
  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  g_object_unref(layout);
  return logical.width;
}

}  // namespace art

// Fontconfig, under Pango, keeps its pattern caches for the life of the process and
// never frees them; the leak checker of sanitized builds should not count them. Weak,
// like the platform layer's, so a program may name its own.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}
