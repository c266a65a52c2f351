#include "tools/art/icon_art.h"

#include <cairo-svg.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

#include "tools/art/paint_kit.h"
#include "tools/art/shark.h"

namespace art {
namespace {

const Rgb kShallow = rgb255(72, 168, 214);
const Rgb kRim = rgb255(10, 36, 64);

cairo_status_t appendTo(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

const std::vector<int>& iconSizes() {
  static const std::vector<int> sizes = {48, 128, 256};
  return sizes;
}

std::string iconPngName(int size) { return "reefmaw_" + std::to_string(size) + ".png"; }

void drawIcon(cairo_t* cr, double size) {
  cairo_save(cr);
  cairo_scale(cr, size / 256.0, size / 256.0);
  // The sea: a rounded square, light near the surface.
  roundedRectPath(cr, 8, 8, 240, 240, 48);
  fillLinear(cr, 0, 8, kShallow, 0, 248, darker(kSea, 0.25), true);
  strokeWith(cr, kRim, 6);
  roundedRectPath(cr, 8, 8, 240, 240, 48);
  cairo_clip(cr);
  drawBubble(cr, 196, 66, 14);
  drawBubble(cr, 218, 104, 9);
  drawBubble(cr, 178, 36, 7);
  // The shark fills the square's width, nose up toward the bubbles.
  cairo_translate(cr, 128, 140);
  cairo_rotate(cr, -0.3);
  cairo_scale(cr, 1.3, 1.3);
  cairo_translate(cr, -kSharkWidth / 2.0, -kSharkHeight / 2.0);
  drawShark(cr, 0.5, true);
  cairo_restore(cr);
}

void writeIcons(const std::string& dir) {
  std::filesystem::create_directories(dir);
  for (int size : iconSizes()) {
    const std::string path = (std::filesystem::path(dir) / iconPngName(size)).string();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    drawIcon(cr, size);
    cairo_destroy(cr);
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("Cannot write " + path);
  }
  const std::string svgPath = (std::filesystem::path(dir) / kIconSvgName).string();
  std::string svg;
  cairo_surface_t* surface = cairo_svg_surface_create_for_stream(appendTo, &svg, 256, 256);
  cairo_svg_surface_restrict_to_version(surface, CAIRO_SVG_VERSION_1_1);
  cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
  cairo_t* cr = cairo_create(surface);
  drawIcon(cr, 256);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const cairo_status_t status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("Cannot write " + svgPath);
  // Cairo names the drawing after a counter of every surface the process has made; a
  // fixed name keeps the file the same from any run.
  svg = std::regex_replace(svg, std::regex("id=\"surface[0-9]+\""), "id=\"icon\"");
  std::ofstream out(svgPath, std::ios::binary | std::ios::trunc);
  out << svg;
  if (!out.flush()) throw std::runtime_error("Cannot write " + svgPath);
}

}  // namespace art
