// Text drawn with Pango and Cairo straight into the caller's pixels, the family names of
// the game (Windows fonts) resolved through fontconfig to faces this machine has.

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {
namespace {

constexpr double kScreenDpi = 96.0;

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// What fontconfig gives for a family name: whether the machine has that family itself,
// and whether its face covers Russian.
struct FamilyMatch {
  bool installed = false;
  bool russian = false;
};

FamilyMatch matchFamily(const std::string& family) {
  FamilyMatch result;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  if (pattern == nullptr) return result;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult status = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &status);
  if (match != nullptr) {
    FcChar8* found = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &found) == FcResultMatch; ++i) {
      if (lower(reinterpret_cast<const char*>(found)) == lower(family)) result.installed = true;
    }
    FcLangSet* langs = nullptr;
    if (FcPatternGetLangSet(match, FC_LANG, 0, &langs) == FcResultMatch) {
      result.russian =
          FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ru")) == FcLangEqual;
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return result;
}

// Faces that stand in for the Windows fonts the game names, best first. The game writes
// Russian, so a stand-in that covers it wins over one that would leave Russian letters
// to another face.
const std::map<std::string, std::vector<std::string>>& standIns() {
  static const std::map<std::string, std::vector<std::string>> kTable = {
      {"comic sans ms", {"Comic Neue", "Comfortaa", "DejaVu Sans"}},
      {"ms sans serif", {"DejaVu Sans", "Liberation Sans"}},
      {"microsoft sans serif", {"DejaVu Sans", "Liberation Sans"}},
      {"arial", {"Liberation Sans", "DejaVu Sans"}},
      {"tahoma", {"DejaVu Sans", "Liberation Sans"}},
      {"verdana", {"DejaVu Sans", "Liberation Sans"}},
      {"times new roman", {"Liberation Serif", "DejaVu Serif"}},
      {"courier new", {"Liberation Mono", "DejaVu Sans Mono"}},
  };
  return kTable;
}

std::string resolveFamily(const std::string& requested) {
  const FamilyMatch own = matchFamily(requested);
  if (own.installed && own.russian) return requested;
  auto it = standIns().find(lower(requested));
  if (it == standIns().end()) return requested;
  for (const std::string& candidate : it->second) {
    const FamilyMatch m = matchFamily(candidate);
    if (m.installed && m.russian) return candidate;
  }
  if (own.installed) return requested;
  for (const std::string& candidate : it->second) {
    if (matchFamily(candidate).installed) return candidate;
  }
  return requested;
}

// Text that is not valid UTF-8 has its bad bytes replaced, so Pango never sees them.
std::string validUtf8(const std::string& text) {
  if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return text;
  gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
  std::string out(valid);
  g_free(valid);
  return out;
}

class PangoTextRenderer final : public TextRenderer {
 public:
  PangoTextRenderer() {
    fontMap_ = pango_cairo_font_map_new();
    context_ = pango_font_map_create_context(fontMap_);
    pango_cairo_context_set_resolution(context_, kScreenDpi);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);
  }
  ~PangoTextRenderer() override {
    for (auto& [key, description] : fonts_) pango_font_description_free(description);
    g_object_unref(context_);
    g_object_unref(fontMap_);
  }
  PangoTextRenderer(const PangoTextRenderer&) = delete;
  PangoTextRenderer& operator=(const PangoTextRenderer&) = delete;

  void drawText(void* pixels, int width, int height, int pitch, PixelFormat format, int x, int y,
                const std::string& text, const FontSpec& font) override {
    if (pixels == nullptr || width <= 0 || height <= 0 || text.empty()) return;
    const cairo_format_t cairoFormat =
        format == PixelFormat::RGB565 ? CAIRO_FORMAT_RGB16_565 : CAIRO_FORMAT_RGB24;
    const int stride = cairo_format_stride_for_width(cairoFormat, width);
    if (stride <= 0) return;
    // Cairo wants its own row alignment; rows laid out otherwise go through a copy.
    const int bytesPerPixel = format == PixelFormat::RGB565 ? 2 : 4;
    if (pitch < width * bytesPerPixel) return;
    std::vector<uint8_t> copy;
    uint8_t* target = static_cast<uint8_t*>(pixels);
    if (pitch != stride && (pitch % 4 != 0)) {
      copy.resize(static_cast<size_t>(stride) * static_cast<size_t>(height));
      for (int row = 0; row < height; ++row) {
        std::memcpy(copy.data() + static_cast<size_t>(row) * stride,
                    target + static_cast<size_t>(row) * pitch,
                    static_cast<size_t>(width) * bytesPerPixel);
      }
    }
    uint8_t* data = copy.empty() ? target : copy.data();
    const int dataStride = copy.empty() ? pitch : stride;
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(data, cairoFormat, width, height, dataStride);
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
      cairo_t* cr = cairo_create(surface);
      const double red = (font.color & 0xFF) / 255.0;
      const double green = ((font.color >> 8) & 0xFF) / 255.0;
      const double blue = ((font.color >> 16) & 0xFF) / 255.0;
      cairo_set_source_rgb(cr, red, green, blue);
      PangoLayout* layout = makeLayout(cr, text, font);
      cairo_move_to(cr, x, y);
      pango_cairo_show_layout(cr, layout);
      g_object_unref(layout);
      cairo_destroy(cr);
      cairo_surface_flush(surface);
    }
    cairo_surface_destroy(surface);
    if (!copy.empty()) {
      for (int row = 0; row < height; ++row) {
        std::memcpy(target + static_cast<size_t>(row) * pitch,
                    copy.data() + static_cast<size_t>(row) * stride,
                    static_cast<size_t>(width) * bytesPerPixel);
      }
    }
  }

  void textExtent(const std::string& text, const FontSpec& font, int& width, int& height) override {
    PangoLayout* layout = makeLayout(nullptr, text.empty() ? std::string(" ") : text, font);
    pango_layout_get_pixel_size(layout, &width, &height);
    if (text.empty()) width = 0;
    g_object_unref(layout);
  }

 private:
  PangoLayout* makeLayout(cairo_t* cr, const std::string& text, const FontSpec& font) {
    if (cr != nullptr) {
      pango_cairo_update_context(cr, context_);
      pango_cairo_context_set_resolution(context_, kScreenDpi);
    }
    PangoLayout* layout = pango_layout_new(context_);
    pango_layout_set_font_description(layout, description(font));
    const std::string valid = validUtf8(text);
    pango_layout_set_text(layout, valid.data(), static_cast<int>(valid.size()));
    return layout;
  }

  const PangoFontDescription* description(const FontSpec& font) {
    const std::string key = font.family + '\n' + std::to_string(font.sizePoints) + '\n' +
                            (font.bold ? "b" : "") + (font.italic ? "i" : "");
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    auto family = families_.find(font.family);
    if (family == families_.end()) {
      family = families_.emplace(font.family, resolveFamily(font.family)).first;
    }
    PangoFontDescription* d = pango_font_description_new();
    pango_font_description_set_family(d, family->second.c_str());
    const double points = font.sizePoints > 0 ? font.sizePoints : 8.0;
    pango_font_description_set_size(d, static_cast<gint>(points * PANGO_SCALE));
    pango_font_description_set_weight(d, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(d, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    fonts_.emplace(key, d);
    return d;
  }

  PangoFontMap* fontMap_ = nullptr;
  PangoContext* context_ = nullptr;
  std::map<std::string, std::string> families_;
  std::map<std::string, PangoFontDescription*> fonts_;
};

}  // namespace

std::unique_ptr<TextRenderer> createTextRenderer() { return std::make_unique<PangoTextRenderer>(); }

}  // namespace platform

// Fontconfig keeps a block of its parsed configuration for the life of the process with no
// pointer to it left; the leak checker of sanitized builds is told that this one is not
// ours, so that it still reports every leak that is. Weak: a program may name its own.
// NOLINTNEXTLINE(readability-identifier-naming): the name the leak checker looks for.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
