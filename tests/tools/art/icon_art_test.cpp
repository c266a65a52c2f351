// The desktop icon: every size the desktop entry ships, drawn again the same as the
// committed files, with a transparent outside so it sits on any menu's background.
#include "tools/art/icon_art.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

const fs::path kIcons = fs::path(REEFMAW_SOURCE_DIR) / "desktop" / "icons";

// A PNG's pixels; null surface when it cannot be read.
struct Png {
  cairo_surface_t* surface;
  explicit Png(const fs::path& p) : surface(cairo_image_surface_create_from_png(p.c_str())) {}
  ~Png() { cairo_surface_destroy(surface); }
  bool ok() const { return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS; }
  int size() const { return cairo_image_surface_get_width(surface); }
  uint32_t at(int x, int y) const {
    const auto* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    uint32_t v;
    std::memcpy(&v, row + x * 4, 4);
    return v;
  }
  bool samePixels(const Png& other) const {
    if (size() != other.size()) return false;
    for (int y = 0; y < size(); ++y) {
      for (int x = 0; x < size(); ++x) {
        if (at(x, y) != other.at(x, y)) return false;
      }
    }
    return true;
  }
};

class IconArtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / "reefmaw_icon_art";
    fs::remove_all(dir_);
    art::writeIcons(dir_.string());
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(IconArtTest, EverySizeIsASquareIconOpaqueInsideAndClearOutside) {
  ASSERT_EQ(art::iconSizes(), (std::vector<int>{48, 128, 256}));
  for (int size : art::iconSizes()) {
    Png png(dir_ / art::iconPngName(size));
    ASSERT_TRUE(png.ok()) << size;
    EXPECT_EQ(png.size(), size);
    EXPECT_EQ(cairo_image_surface_get_height(png.surface), size);
    EXPECT_EQ(png.at(0, 0) >> 24, 0u) << "corner of " << size;
    EXPECT_EQ(png.at(size - 1, size - 1) >> 24, 0u) << "corner of " << size;
    EXPECT_EQ(png.at(size / 2, size / 2) >> 24, 255u) << "middle of " << size;
  }
  const std::string svg = FileBytes(dir_ / art::kIconSvgName);
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("viewBox=\"0 0 256 256\""), std::string::npos);
  EXPECT_EQ(svg.find("<image"), std::string::npos) << "the SVG should hold vectors only";
}

TEST_F(IconArtTest, TheGeneratorReproducesTheCommittedIcons) {
  for (int size : art::iconSizes()) {
    Png fresh(dir_ / art::iconPngName(size));
    Png committed(kIcons / art::iconPngName(size));
    ASSERT_TRUE(committed.ok()) << "missing " << art::iconPngName(size);
    EXPECT_TRUE(fresh.samePixels(committed)) << art::iconPngName(size) << " is stale: run make_art";
  }
  EXPECT_EQ(FileBytes(dir_ / art::kIconSvgName), FileBytes(kIcons / art::kIconSvgName));
}

}  // namespace
