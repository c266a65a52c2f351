#include <algorithm>
#include <stdexcept>

#include "tools/art/art_generator.h"

namespace art {

namespace {

double sheetScale(const Raster& r) {
  if (r.width >= 600) return 0.5;
  if (r.width <= 40 && r.height <= 40) return 2.0;
  return 1.0;
}

}  // namespace

void writeContactSheet(const std::vector<ArtPiece>& pieces, const std::string& pngPath) {
  const int sheetWidth = 1640, margin = 12, label = 14;
  // First pass lays the pieces out in rows; the second draws them.
  struct Place {
    double x, y, scale;
  };
  std::vector<Place> places;
  double x = margin, y = margin, rowHeight = 0;
  for (const ArtPiece& p : pieces) {
    double s = sheetScale(p.raster);
    double w = p.raster.width * s, h = p.raster.height * s + label;
    if (x + w + margin > sheetWidth) {
      x = margin;
      y += rowHeight + margin;
      rowHeight = 0;
    }
    places.push_back({x, y, s});
    x += std::max(w, 90.0) + margin;
    rowHeight = std::max(rowHeight, h);
  }
  int sheetHeight = int(y + rowHeight + margin);

  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, sheetWidth, sheetHeight);
  cairo_t* cr = cairo_create(sheet);
  setColor(cr, kSea);
  cairo_paint(cr);
  for (size_t i = 0; i < pieces.size(); ++i) {
    const ArtPiece& p = pieces[i];
    const Place& at = places[i];
    cairo_surface_t* img = p.key ? keyedSurface(p.raster, *p.key) : rasterSurface(p.raster);
    cairo_save(cr);
    cairo_translate(cr, at.x, at.y + label);
    cairo_scale(cr, at.scale, at.scale);
    cairo_set_source_surface(cr, img, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(img);
    std::string name = p.path.substr(p.path.find_last_of('\\') + 1);
    std::string dir = p.path.substr(0, p.path.find_last_of('\\'));
    drawText(cr, dir.substr(dir.find_last_of('\\') + 1) + "/" + name, 10, rgb255(230, 240, 250),
             at.x, at.y, false, "DejaVu Sans");
  }
  cairo_destroy(cr);
  cairo_status_t status = cairo_surface_write_to_png(sheet, pngPath.c_str());
  cairo_surface_destroy(sheet);
  if (status != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error("Cannot write the contact sheet " + pngPath);
  }
}

}  // namespace art
