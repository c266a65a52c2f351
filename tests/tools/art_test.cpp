// The game's art: every picture of the catalogue at its exact path with a usable size
// and depth, colour keys that cut only around figures, the shipped records file, and a
// generator that reproduces the committed bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/graphics/dib.h"
#include "framework/stream.h"
#include "support/temp_folder.h"
#include "tools/art/art_generator.h"
#include "tools/art/bmp_output.h"
#include "tools/art/raster.h"
#include "tools/art/records_file.h"

namespace fs = std::filesystem;
using art::Pixel;

namespace {

const fs::path kRoot = REEFMAW_SOURCE_DIR;

struct Expected {
  std::string path;   // exact spelling, '/' separated, relative to the repository
  int width, height;  // 0: any plausible size
  int bitCount;
  std::optional<Pixel> key;
};

const char* const kStems[13] = {"bomba",  "f",     "Angel", "pirania",   "Pigoplip",
                                "bochka", "guban", "kar",   "Zelenuska", "kol",
                                "ves",    "Glaz",  "kit"};

std::vector<Expected> catalogue() {
  std::vector<Expected> c = {
      {"Data/Fon/3.bmp", 800, 600, 24, std::nullopt},
      {"Data/Fon/panel.bmp", 800, 50, 24, std::nullopt},
      {"Data/Effects/Water/shlak.bmp", 0, 0, 24, art::kGreenKey},
      {"Data/Effects/Water/puzir.bmp", 0, 0, 24, art::kBlueKey},
      {"Data/menu/fon/1.bmp", 800, 600, 24, std::nullopt},
      {"Data/menu/fon/10.bmp", 800, 600, 24, art::kWhiteKey},
      {"Data/menu/fon/11.bmp", 800, 600, 24, art::kWhiteKey},
      {"Data/Monsters/player/akula1.bmp", 185, 110, 24, art::kWhiteKey},
      {"Data/Monsters/player/akula2.bmp", 185, 110, 24, art::kWhiteKey},
      {"Data/Fon/1.bmp", 184, 73, 24, std::nullopt},
      {"Data/Fon/2.bmp", 73, 25, 24, std::nullopt},
      {"resources/mouse.bmp", 50, 50, 24, art::kBlackKey},
      {"resources/other.bmp", 191, 41, 8, art::kWhiteKey},
  };
  for (int n = 2; n <= 9; ++n) {
    c.push_back({"Data/menu/fon/" + std::to_string(n) + ".bmp", 0, 0, 24, art::kWhiteKey});
  }
  for (const char* stem : kStems) {
    for (int n = 1; n <= 4; ++n) {
      c.push_back({"Data/Monsters/Levels/" + std::string(stem) + std::to_string(n) + ".bmp", 0, 0,
                   24, art::kWhiteKey});
    }
  }
  return c;
}

// The pictures with words and their English twins under Data/lang/en.
struct Twin {
  std::string russian;
  std::string english;
};
std::vector<Twin> englishTwins() {
  std::vector<Twin> twins = {{"Data/Fon/1.bmp", "Data/lang/en/Fon/1.bmp"},
                             {"resources/other.bmp", "Data/lang/en/other.bmp"}};
  for (int n : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11}) {
    const std::string file = "menu/fon/" + std::to_string(n) + ".bmp";
    twins.push_back({"Data/" + file, "Data/lang/en/" + file});
  }
  return twins;
}

std::vector<uint8_t> readBytes(const fs::path& p) {
  const std::string bytes = FileBytes(p);
  std::vector<uint8_t> out(bytes.size());
  std::copy(bytes.begin(), bytes.end(), out.begin());
  return out;
}

TDIB loadDib(const fs::path& p) {
  TMemoryStream stream(readBytes(p));
  TDIB dib;
  dib.ReadBitmapFile(stream);
  return dib;
}

art::Raster toRaster(const TDIB& dib) {
  art::Raster r(dib.Width(), dib.Height());
  for (int y = 0; y < dib.Height(); ++y) {
    for (int x = 0; x < dib.Width(); ++x) {
      uint32_t v = dib.PixelRGB(x, y);
      r.at(x, y) = {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    }
  }
  return r;
}

// Key pixels that cannot reach the border through key pixels: holes in a figure.
int enclosedKeyPixels(const art::Raster& r, Pixel key) {
  std::vector<uint8_t> seen(r.pixels.size(), 0);
  std::deque<int> queue;
  auto visit = [&](int x, int y) {
    size_t i = size_t(y) * r.width + x;
    if (seen[i] || !art::convertsToKey(r.pixels[i], key)) return;
    seen[i] = 1;
    queue.push_back(int(i));
  };
  for (int x = 0; x < r.width; ++x) visit(x, 0), visit(x, r.height - 1);
  for (int y = 0; y < r.height; ++y) visit(0, y), visit(r.width - 1, y);
  while (!queue.empty()) {
    int i = queue.front(), x = i % r.width, y = i / r.width;
    queue.pop_front();
    if (x > 0) visit(x - 1, y);
    if (x + 1 < r.width) visit(x + 1, y);
    if (y > 0) visit(x, y - 1);
    if (y + 1 < r.height) visit(x, y + 1);
  }
  int holes = 0;
  for (size_t i = 0; i < r.pixels.size(); ++i) {
    if (!seen[i] && art::convertsToKey(r.pixels[i], key)) ++holes;
  }
  return holes;
}

int keyPixels(const art::Raster& r, Pixel key) {
  int n = 0;
  for (const Pixel& p : r.pixels) n += art::convertsToKey(p, key);
  return n;
}

}  // namespace

TEST(ArtCatalogue, EveryPictureWithWordsHasAnEnglishTwinOfItsSizeDepthAndKey) {
  std::vector<Expected> all = catalogue();
  for (const Twin& twin : englishTwins()) {
    SCOPED_TRACE(twin.english);
    ASSERT_TRUE(fs::is_regular_file(kRoot / twin.english));
    const TDIB russian = loadDib(kRoot / twin.russian);
    const TDIB english = loadDib(kRoot / twin.english);
    EXPECT_EQ(english.Width(), russian.Width());
    EXPECT_EQ(english.Height(), russian.Height());
    EXPECT_EQ(english.BitCount(), russian.BitCount());
    EXPECT_NE(readBytes(kRoot / twin.english), readBytes(kRoot / twin.russian));  // other words
    const auto expected = std::find_if(all.begin(), all.end(),
                                       [&](const Expected& e) { return e.path == twin.russian; });
    ASSERT_NE(expected, all.end());
    if (expected->key) {
      // Keyed as its Russian twin: only around figures, never inside them.
      const art::Raster r = toRaster(english);
      EXPECT_EQ(enclosedKeyPixels(r, *expected->key), 0);
      if (r.width == 800) {
        EXPECT_EQ(keyPixels(r, *expected->key), 0);  // drawn whole
      } else {
        EXPECT_TRUE(art::convertsToKey(r.at(0, r.height - 1), *expected->key));
      }
    }
  }
}

TEST(ArtCatalogue, EveryPictureIsAtItsExactPathWithItsSizeAndDepth) {
  for (const Expected& e : catalogue()) {
    SCOPED_TRACE(e.path);
    // Exact spelling: the game's lookup is case-insensitive, the repository's files are not.
    ASSERT_TRUE(fs::is_regular_file(kRoot / e.path));
    TDIB dib = loadDib(kRoot / e.path);
    EXPECT_EQ(dib.BitCount(), e.bitCount);
    if (e.width) {
      EXPECT_EQ(dib.Width(), e.width);
      EXPECT_EQ(dib.Height(), e.height);
    } else {
      EXPECT_GE(dib.Width(), 16);
      EXPECT_LE(dib.Width(), 360);
      EXPECT_GE(dib.Height(), 16);
      EXPECT_LE(dib.Height(), 160);
    }
  }
}

TEST(ArtCatalogue, MonsterSizesTellTheKindsApart) {
  auto width = [](int kind) {
    return loadDib(kRoot / ("Data/Monsters/Levels/" + std::string(kStems[kind]) + "1.bmp")).Width();
  };
  for (int food : {1, 2, 3, 4, 6, 8, 11}) {
    EXPECT_GE(width(food), 40) << kStems[food];
    EXPECT_LE(width(food), 80) << kStems[food];
  }
  for (int predator : {7, 10}) EXPECT_GT(width(predator), 120) << kStems[predator];
  for (int kind = 0; kind < 12; ++kind) EXPECT_GT(width(12), width(kind)) << kStems[kind];
  // All frames of a kind share a size, and frames 1 to 3 really move.
  for (const char* stem : kStems) {
    SCOPED_TRACE(stem);
    std::vector<TDIB> frames;
    for (int n = 1; n <= 4; ++n) {
      frames.push_back(loadDib(
          kRoot / ("Data/Monsters/Levels/" + std::string(stem) + std::to_string(n) + ".bmp")));
      EXPECT_EQ(frames.back().Width(), frames[0].Width());
      EXPECT_EQ(frames.back().Height(), frames[0].Height());
    }
    EXPECT_NE(readBytes(kRoot / ("Data/Monsters/Levels/" + std::string(stem) + "1.bmp")),
              readBytes(kRoot / ("Data/Monsters/Levels/" + std::string(stem) + "2.bmp")));
  }
}

TEST(ArtCatalogue, KeysCutOnlyAroundFigures) {
  for (const Expected& e : catalogue()) {
    if (!e.key) continue;
    SCOPED_TRACE(e.path);
    art::Raster r = toRaster(loadDib(kRoot / e.path));
    EXPECT_EQ(enclosedKeyPixels(r, *e.key), 0);
    if (e.width == 800) {
      // Full-screen pictures are drawn whole: nothing of them may vanish.
      EXPECT_EQ(keyPixels(r, *e.key), 0);
    } else {
      // A sprite is keyed round its figure, which is whole: no part of it is cut off
      // by the picture's border (only the pointer's tip reaches its corner).
      int cut = 0;
      for (int x = 0; x < r.width; ++x) {
        cut += !art::convertsToKey(r.at(x, 0), *e.key) +
               !art::convertsToKey(r.at(x, r.height - 1), *e.key);
      }
      for (int y = 0; y < r.height; ++y) {
        cut += !art::convertsToKey(r.at(0, y), *e.key) +
               !art::convertsToKey(r.at(r.width - 1, y), *e.key);
      }
      if (e.path != "resources/mouse.bmp") {
        EXPECT_EQ(cut, 0);
      }
      EXPECT_TRUE(art::convertsToKey(r.at(0, r.height - 1), *e.key));
      EXPECT_GT(keyPixels(r, *e.key), 0);
      EXPECT_LT(keyPixels(r, *e.key), r.width * r.height);
    }
  }
}

TEST(ArtCatalogue, PointerHotSpotIsAtItsTopLeftCorner) {
  art::Raster r = toRaster(loadDib(kRoot / "resources/mouse.bmp"));
  bool tipDrawn = false;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) tipDrawn |= !art::convertsToKey(r.at(x, y), art::kBlackKey);
  }
  EXPECT_TRUE(tipDrawn);
}

// Twelve megabytes for the game's own pictures, and room for the English ones with words.
TEST(ArtCatalogue, DataStaysUnderFourteenMegabytes) {
  uintmax_t total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kRoot / "Data")) {
    if (entry.is_regular_file()) total += entry.file_size();
  }
  EXPECT_LT(total, 14u * 1024 * 1024);
}

TEST(ShippedRecords, TenEntriesBestFirstInWindows1251WithCrLf) {
  std::vector<uint8_t> bytes = readBytes(kRoot / "Data/rec.rmw");
  EXPECT_EQ(bytes, art::shippedRecordsFile());
  std::string text(bytes.begin(), bytes.end());
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "every line, the last too, ends in CR LF";
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  ASSERT_EQ(lines.size(), 20u);
  int previous = INT32_MAX;
  bool cyrillic = false, latin = false;
  for (int k = 0; k < 10; ++k) {
    const std::string& name = lines[size_t(2 * k)];
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find('\n'), std::string::npos);
    for (unsigned char c : name) {
      cyrillic |= c >= 0xC0;
      latin |= (c >= 'A' && c <= 'z');
    }
    int score = std::stoi(lines[size_t(2 * k + 1)]);
    EXPECT_EQ(std::to_string(score), lines[size_t(2 * k + 1)]);
    EXPECT_LE(score, previous);
    previous = score;
  }
  EXPECT_TRUE(cyrillic);
  EXPECT_TRUE(latin);
}

TEST(ShippedRecords, Windows1251Conversion) {
  EXPECT_EQ(art::toCp1251("Ёжик ё"), std::string("\xA8\xE6\xE8\xEA \xB8"));
  EXPECT_EQ(art::toCp1251("Яя Аа"), std::string("\xDF\xFF \xC0\xE0"));
  EXPECT_THROW(art::toCp1251("€"), std::invalid_argument);
  EXPECT_THROW(art::toCp1251("\xD0"), std::invalid_argument);
}

TEST(ColourKeys, ComparisonIsInTheDisplayFormat) {
  EXPECT_TRUE(art::convertsToKey({250, 253, 249}, art::kWhiteKey));
  EXPECT_FALSE(art::convertsToKey({247, 255, 255}, art::kWhiteKey));
  EXPECT_TRUE(art::convertsToKey({1, 1, 1}, art::kBlackKey));
  EXPECT_TRUE(art::convertsToKey({3, 130, 5}, art::kGreenKey));
  EXPECT_FALSE(art::convertsToKey({0, 124, 0}, art::kGreenKey));
}

TEST(ColourKeys, KeyedSpriteKeepsFiguresWholeAndOffTheKey) {
  // A near-white ring round a transparent middle: the ring must not read as the key and
  // the middle must not become a hole punched into the figure.
  cairo_surface_t* s = art::newCanvas(20, 20);
  cairo_t* cr = cairo_create(s);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_rectangle(cr, 4, 4, 12, 12);
  cairo_rectangle(cr, 8, 8, 4, 4);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  cairo_destroy(cr);
  art::Raster r = art::keyedSprite(s, art::kWhiteKey, art::kSea);
  cairo_surface_destroy(s);
  EXPECT_TRUE(art::convertsToKey(r.at(0, 0), art::kWhiteKey));
  EXPECT_FALSE(art::convertsToKey(r.at(5, 5), art::kWhiteKey));
  EXPECT_FALSE(art::convertsToKey(r.at(10, 10), art::kWhiteKey));
  EXPECT_EQ(enclosedKeyPixels(r, art::kWhiteKey), 0);
}

TEST(ColourKeys, HalfCoveredRimBlendsTowardTheSea) {
  cairo_surface_t* s = art::newCanvas(4, 1);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.6);  // a light rim pixel, 60 % covered
  cairo_rectangle(cr, 1, 0, 1, 1);
  cairo_fill(cr);
  cairo_destroy(cr);
  art::Raster r = art::keyedSprite(s, art::kWhiteKey, art::rgb255(0, 0, 0));
  cairo_surface_destroy(s);
  Pixel rim = r.at(1, 0);
  EXPECT_NEAR(rim.r, 153, 2);  // 60 % white over the (black) edge colour, not over white
  EXPECT_TRUE(art::convertsToKey(r.at(0, 0), art::kWhiteKey));
}

TEST(ArtGenerator, RegeneratingReproducesTheCommittedFiles) {
  // A folder of its own, so runs from several build trees at once do not meet.
  fs::path dir =
      fs::temp_directory_path() / ("reefmaw_art_" + std::to_string(std::random_device{}()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::vector<art::ArtPiece> pieces = art::paintAll();
  art::writeAll(pieces, dir.string());
  for (const Expected& e : catalogue()) {
    SCOPED_TRACE(e.path);
    EXPECT_TRUE(readBytes(dir / e.path) == readBytes(kRoot / e.path));
  }
  for (const Twin& twin : englishTwins()) {
    SCOPED_TRACE(twin.english);
    EXPECT_TRUE(readBytes(dir / twin.english) == readBytes(kRoot / twin.english));
  }
  EXPECT_TRUE(readBytes(dir / "Data/rec.rmw") == readBytes(kRoot / "Data/rec.rmw"));
  fs::remove_all(dir);
}
