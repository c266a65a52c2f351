#include "framework/bitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/graphics/bmp_samples.h"

namespace bs = bmp_samples;

namespace {

TBitmap readBitmap(const std::vector<uint8_t>& bytes) {
  TBitmap bitmap;
  TMemoryStream stream(bytes);
  bitmap.LoadFromStream(stream);
  return bitmap;
}

void expectInvalid(const std::vector<uint8_t>& bytes) {
  TBitmap bitmap;
  bitmap.SetSize(2, 2);
  bitmap.SetPixel(1, 1, 0x123456);
  TMemoryStream stream(bytes);
  try {
    bitmap.LoadFromStream(stream);
    FAIL() << "no error";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Bitmap image is not valid");
  }
  EXPECT_EQ(bitmap.Pixel(1, 1), 0x123456u);
}

class TempDir {
 public:
  TempDir() {
    path_ = std::filesystem::temp_directory_path() /
            ("reefmaw_bitmap_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(path_);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A 32-bit picture with alpha, as today's editors write it.
bs::BmpLayout editorSpec(uint32_t headerSize) {
  bs::BmpLayout layout;
  layout.headerSize = headerSize;
  layout.width = 2;
  layout.height = -2;
  layout.bitCount = 32;
  layout.compression = 3;
  layout.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  layout.pixels = {0x10, 0x20, 0x30, 0xFF, 0x40, 0x50, 0x60, 0x80,
                   0x70, 0x80, 0x90, 0x00, 0xA0, 0xB0, 0xC0, 0xFF};
  return layout;
}

}  // namespace

TEST(BitmapReader, ReadsTheLongHeadersOfTodaysEditors) {
  for (uint32_t header : {108u, 124u, 56u, 52u}) {
    SCOPED_TRACE(header);
    const TBitmap bitmap = readBitmap(bs::bmpFile(editorSpec(header)));
    ASSERT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.Pixel(0, 0), 0x302010u);  // top-down: the first stored row is the top
    EXPECT_EQ(bitmap.Pixel(1, 1), 0xC0B0A0u);
  }
}

TEST(BitmapReader, ReadsEveryDepthTheGameMayMeet) {
  bs::BmpLayout mono;
  mono.width = 3;
  mono.height = 1;
  mono.bitCount = 1;
  mono.palette = {0, 0, 0, 0, 255, 255, 255, 0};
  mono.pixels = {0xA0, 0, 0, 0};
  const TBitmap m = readBitmap(bs::bmpFile(mono));
  EXPECT_EQ(m.Pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(m.Pixel(1, 0), 0u);
  EXPECT_EQ(m.Palette().size(), 2u);

  bs::BmpLayout rgb555;
  rgb555.width = 1;
  rgb555.height = 1;
  rgb555.bitCount = 16;
  rgb555.pixels = {0xFF, 0x7F, 0, 0};
  EXPECT_EQ(readBitmap(bs::bmpFile(rgb555)).Pixel(0, 0), 0xFFFFFFu);  // full stays full

  for (int bitCount : {8, 4}) {
    const auto rows = bs::indexRows(21, 6, 1 << bitCount, 3u);
    bs::BmpLayout plain;
    plain.width = 21;
    plain.height = 6;
    plain.bitCount = bitCount;
    plain.palette = bs::palette(1 << bitCount);
    plain.pixels = bs::packRows(rows, 21, bitCount);
    bs::BmpLayout rle = plain;
    rle.compression = bitCount == 8 ? 1 : 2;
    rle.pixels = bs::encodeRle(rows, bitCount);
    rle.sizeImage = 0;  // some writers leave it out: the rest of the file is the data
    const TBitmap a = readBitmap(bs::bmpFile(plain));
    const TBitmap b = readBitmap(bs::bmpFile(rle));
    std::vector<uint32_t> pa, pb;
    a.ToRGB32(pa);
    b.ToRGB32(pb);
    EXPECT_EQ(pa, pb) << bitCount;
  }
}

TEST(BitmapReader, HonoursThePixelOffsetOfTheFileHeader) {
  bs::BmpLayout layout;
  layout.width = 1;
  layout.height = 1;
  layout.bitCount = 24;
  layout.pixels = {1, 2, 3, 0};
  layout.gapBeforePixels = 6;
  EXPECT_EQ(readBitmap(bs::bmpFile(layout)).Pixel(0, 0), 0x030201u);
}

TEST(BitmapReader, RefusesBrokenFilesWithItsOwnError) {
  bs::BmpLayout good;
  good.width = 4;
  good.height = 2;
  good.bitCount = 24;
  good.pixels.assign(24, 9);
  const std::vector<uint8_t> file = bs::bmpFile(good);
  expectInvalid({});
  expectInvalid({'B', 'M'});
  expectInvalid(std::vector<uint8_t>(file.begin(), file.end() - 3));
  std::vector<uint8_t> badSignature = file;
  badSignature[1] = 'A';
  expectInvalid(badSignature);
  bs::BmpLayout odd = good;
  odd.bitCount = 2;
  expectInvalid(bs::bmpFile(odd));
  odd = good;
  odd.width = 0;
  expectInvalid(bs::bmpFile(odd));
  odd = good;
  odd.compression = 1;  // 8-bit coding on 24-bit pixels
  expectInvalid(bs::bmpFile(odd));
  odd = good;
  odd.headerSize = 20;
  expectInvalid(bs::bmpFile(odd));
  odd = good;
  odd.width = 70000;
  odd.height = 70000;
  TMemoryStream huge(bs::bmpFile(odd));
  TBitmap bitmap;
  EXPECT_THROW(bitmap.LoadFromStream(huge), EOutOfResources);
}

TEST(BitmapFile, SavesAsTwentyFourBitsAndReadsBack) {
  TempDir dir;
  TBitmap bitmap;
  bitmap.SetSize(3, 2);
  bitmap.SetPixel(2, 0, 0xABCDEF);
  bitmap.SetPixel(0, 1, 0x010203);
  bitmap.SaveToFile(dir.file("x.bmp"));
  TBitmap back;
  back.LoadFromFile(dir.file("x.bmp"));
  EXPECT_EQ(back.BitCount(), 24);
  EXPECT_EQ(back.Pixel(2, 0), 0xABCDEFu);
  EXPECT_EQ(back.Pixel(0, 1), 0x010203u);
}

TEST(PictureHolder, LoadsByExtensionAndKeepsTheOldGraphicOnFailure) {
  TempDir dir;
  TBitmap bitmap;
  bitmap.SetSize(2, 2);
  bitmap.SaveToFile(dir.file("Pic.BMP"));
  TPicture picture;
  picture.LoadFromFile(dir.file("Pic.BMP"));
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_EQ(picture.Graphic()->ClassName(), "TBitmap");
  EXPECT_EQ(picture.Width(), 2);

  try {
    picture.LoadFromFile(dir.file("missing.bmp"));
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find("missing.bmp"), std::string::npos);  // names the path
  }
  writeFile(dir.file("broken.bmp"), {'B', 'M', 1, 2, 3});
  EXPECT_THROW(picture.LoadFromFile(dir.file("broken.bmp")), EInvalidGraphic);
  EXPECT_EQ(picture.Width(), 2);  // still the old picture
  try {
    picture.LoadFromFile(dir.file("x.gif"));
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Unknown picture file extension (.gif)");
  }

  TPicture copy;
  copy.Assign(picture);
  EXPECT_NE(copy.Graphic(), picture.Graphic());
  EXPECT_EQ(copy.Width(), 2);
  TPicture none;
  copy.Assign(none);
  EXPECT_EQ(copy.Graphic(), nullptr);
}
