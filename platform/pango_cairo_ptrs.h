#pragma once
// Cairo, Pango and fontconfig objects held by std::unique_ptr with the call that frees
// each, so that every way out of a function frees them exactly once. Pango's font maps,
// contexts and layouts are GObjects: GObjectUniquePtr (glib_ptrs.h) holds them. A Cairo
// context goes before the surface it draws on: declare the surface first.

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <memory>

namespace platform {

struct CairoSurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using CairoSurfaceUniquePtr = std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter>;

struct CairoDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using CairoUniquePtr = std::unique_ptr<cairo_t, CairoDeleter>;

struct CairoFontOptionsDeleter {
  void operator()(cairo_font_options_t* options) const { cairo_font_options_destroy(options); }
};
using CairoFontOptionsUniquePtr = std::unique_ptr<cairo_font_options_t, CairoFontOptionsDeleter>;

struct PangoFontDescriptionDeleter {
  void operator()(PangoFontDescription* description) const {
    pango_font_description_free(description);
  }
};
using PangoFontDescriptionUniquePtr =
    std::unique_ptr<PangoFontDescription, PangoFontDescriptionDeleter>;

struct FcPatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using FcPatternUniquePtr = std::unique_ptr<FcPattern, FcPatternDeleter>;

}  // namespace platform
