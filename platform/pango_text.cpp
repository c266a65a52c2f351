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

#include "platform/glib_ptrs.h"
#include "platform/pango_cairo_ptrs.h"
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
  const FcPatternUniquePtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str())));
  if (pattern == nullptr) return result;
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult status = FcResultNoMatch;
  const FcPatternUniquePtr match(FcFontMatch(nullptr, pattern.get(), &status));
  if (match == nullptr) return result;
  FcChar8* found = nullptr;
  for (int i = 0; FcPatternGetString(match.get(), FC_FAMILY, i, &found) == FcResultMatch; ++i) {
    if (lower(reinterpret_cast<const char*>(found)) == lower(family)) result.installed = true;
  }
  FcLangSet* langs = nullptr;
  if (FcPatternGetLangSet(match.get(), FC_LANG, 0, &langs) == FcResultMatch) {
    result.russian = FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ru")) == FcLangEqual;
  }
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
  const GCharUniquePtr valid(g_utf8_make_valid(text.data(), static_cast<gssize>(text.size())));
  return std::string(valid.get());
}

class PangoTextRenderer final : public TextRenderer {
 public:
  PangoTextRenderer()
      : fontMap_(pango_cairo_font_map_new()),
        context_(pango_font_map_create_context(fontMap_.get())) {
    pango_cairo_context_set_resolution(context_.get(), kScreenDpi);
    const CairoFontOptionsUniquePtr options(cairo_font_options_create());
    cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_SLIGHT);
    pango_cairo_context_set_font_options(context_.get(), options.get());
  }

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
    draw(data, cairoFormat, width, height, dataStride, x, y, text, font);
    if (!copy.empty()) {
      for (int row = 0; row < height; ++row) {
        std::memcpy(target + static_cast<size_t>(row) * pitch,
                    copy.data() + static_cast<size_t>(row) * stride,
                    static_cast<size_t>(width) * bytesPerPixel);
      }
    }
  }

  void textExtent(const std::string& text, const FontSpec& font, int& width, int& height) override {
    const GObjectUniquePtr<PangoLayout> layout =
        makeLayout(nullptr, text.empty() ? std::string(" ") : text, font);
    pango_layout_get_pixel_size(layout.get(), &width, &height);
    if (text.empty()) width = 0;
  }

 private:
  // Draws the text into pixels Cairo can take as they are; everything Cairo and Pango
  // made for it is gone on return.
  void draw(uint8_t* data, cairo_format_t cairoFormat, int width, int height, int stride, int x,
            int y, const std::string& text, const FontSpec& font) {
    const CairoSurfaceUniquePtr surface(
        cairo_image_surface_create_for_data(data, cairoFormat, width, height, stride));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return;
    {
      const CairoUniquePtr cr(cairo_create(surface.get()));
      const double red = (font.color & 0xFF) / 255.0;
      const double green = ((font.color >> 8) & 0xFF) / 255.0;
      const double blue = ((font.color >> 16) & 0xFF) / 255.0;
      cairo_set_source_rgb(cr.get(), red, green, blue);
      const GObjectUniquePtr<PangoLayout> layout = makeLayout(cr.get(), text, font);
      cairo_move_to(cr.get(), x, y);
      pango_cairo_show_layout(cr.get(), layout.get());
    }
    cairo_surface_flush(surface.get());
  }

  GObjectUniquePtr<PangoLayout> makeLayout(cairo_t* cr, const std::string& text,
                                           const FontSpec& font) {
    if (cr != nullptr) {
      pango_cairo_update_context(cr, context_.get());
      pango_cairo_context_set_resolution(context_.get(), kScreenDpi);
    }
    GObjectUniquePtr<PangoLayout> layout(pango_layout_new(context_.get()));
    pango_layout_set_font_description(layout.get(), description(font));
    const std::string valid = validUtf8(text);
    pango_layout_set_text(layout.get(), valid.data(), static_cast<int>(valid.size()));
    return layout;
  }

  const PangoFontDescription* description(const FontSpec& font) {
    const std::string key = font.family + '\n' + std::to_string(font.sizePoints) + '\n' +
                            (font.bold ? "b" : "") + (font.italic ? "i" : "");
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second.get();
    auto family = families_.find(font.family);
    if (family == families_.end()) {
      family = families_.emplace(font.family, resolveFamily(font.family)).first;
    }
    PangoFontDescriptionUniquePtr owned(pango_font_description_new());
    PangoFontDescription* d = owned.get();
    pango_font_description_set_family(d, family->second.c_str());
    const double points = font.sizePoints > 0 ? font.sizePoints : 8.0;
    pango_font_description_set_size(d, static_cast<gint>(points * PANGO_SCALE));
    pango_font_description_set_weight(d, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(d, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    fonts_.emplace(key, std::move(owned));
    return d;
  }

  // Members go last to first: the descriptions and the context before the font map.
  GObjectUniquePtr<PangoFontMap> fontMap_;
  GObjectUniquePtr<PangoContext> context_;
  std::map<std::string, std::string> families_;
  std::map<std::string, PangoFontDescriptionUniquePtr> fonts_;
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
