#include "engine/graphics/dib.h"

#include <gtest/gtest.h>

#include "engine/graphics/bmp_samples.h"

namespace bs = bmp_samples;

namespace {

TMemoryStream streamOf(const std::vector<uint8_t>& bytes) { return TMemoryStream(bytes); }

TDIB readFile(const std::vector<uint8_t>& bytes) {
  TDIB dib;
  TMemoryStream stream = streamOf(bytes);
  dib.LoadFromStream(stream);
  return dib;
}

std::vector<uint8_t> saved(const TDIB& dib) {
  TMemoryStream stream;
  dib.SaveToStream(stream);
  return stream.Bytes();
}

void expectSamePixels(const TDIB& a, const TDIB& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << "at " << x << "," << y;
      ASSERT_EQ(a.PixelRGB(x, y), b.PixelRGB(x, y)) << "at " << x << "," << y;
    }
  }
}

template <typename E>
void expectError(const std::vector<uint8_t>& bytes, const std::string& message) {
  TDIB dib;
  dib.SetSize(3, 2, 8);
  dib.SetPixel(1, 1, 77);
  TMemoryStream stream = streamOf(bytes);
  try {
    dib.LoadFromStream(stream);
    FAIL() << "no error, expected " << message;
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), message);
  }
  // A failed read leaves the bitmap as it was.
  EXPECT_EQ(dib.Width(), 3);
  EXPECT_EQ(dib.Pixel(1, 1), 77u);
}

}  // namespace

TEST(DIBLayout, RowSizesAndHeadersOfTheStoredPictures) {
  TDIB mouse;
  mouse.SetSize(50, 50, 24);
  EXPECT_EQ(mouse.WidthBytes(), 152);
  EXPECT_EQ(mouse.Size(), 7600);
  TMemoryStream stream;
  mouse.WriteBitmapData(stream);
  EXPECT_EQ(stream.Bytes().size(), 40u + 7600u);  // 7645 with the 5-byte class prefix

  TDIB other;
  other.SetSize(191, 41, 8);
  EXPECT_EQ(other.WidthBytes(), 192);
  EXPECT_EQ(other.Size(), 7872);
  EXPECT_EQ(other.HeaderAndTableSize(), 40 + 1024);
  TMemoryStream otherStream;
  other.WriteBitmapData(otherStream);
  EXPECT_EQ(otherStream.Bytes().size(), 8936u);  // 8941 with the prefix

  const std::vector<uint8_t> file = saved(other);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(file.size(), 14u + 8936u);
  EXPECT_EQ(file[10] | (file[11] << 8), 14 + 40 + 1024);  // pixel offset
}

TEST(DIBLayout, EveryDepthSurvivesWritingAndReading) {
  struct Case {
    int bitCount;
    TDIBPixelFormat format;
    uint32_t maxValue;
  };
  const Case cases[] = {
      {1, MakeDIBPixelFormat(8, 8, 8), 1},          {4, MakeDIBPixelFormat(8, 8, 8), 15},
      {8, MakeDIBPixelFormat(8, 8, 8), 255},        {16, MakeDIBPixelFormat(5, 6, 5), 0xFFFF},
      {16, MakeDIBPixelFormat(5, 5, 5), 0x7FFF},    {24, MakeDIBPixelFormat(8, 8, 8), 0xFFFFFF},
      {32, MakeDIBPixelFormat(8, 8, 8), 0xFFFFFFFF}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bitCount);
    TDIB dib;
    dib.NewImage(13, 5, c.bitCount, c.format, GreyColorTable(), false, false);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 13; ++x) {
        dib.SetPixel(x, y, static_cast<uint32_t>(x * 2654435761u + y * 40503u) & c.maxValue);
      }
    }
    const TDIB back = readFile(saved(dib));
    EXPECT_EQ(back.BitCount(), c.bitCount);
    EXPECT_EQ(back.PixelFormat(), c.format);
    EXPECT_EQ(back.Compression(), (c.bitCount == 16 || c.bitCount == 32) ? 3u : 0u);
    expectSamePixels(dib, back);
  }
}

TEST(DIBLayout, PixelAddressingFollowsTheBitOrderOfEachDepth) {
  TDIB one;
  one.SetSize(9, 1, 1);
  one.SetPixel(0, 0, 1);
  one.SetPixel(8, 0, 1);
  EXPECT_EQ(one.ScanLine(0)[0], 0x80);  // the leftmost pixel is the top bit
  EXPECT_EQ(one.ScanLine(0)[1], 0x80);
  TDIB four;
  four.SetSize(3, 2, 4);
  four.SetPixel(0, 0, 0xA);
  four.SetPixel(1, 0, 0x5);
  EXPECT_EQ(four.ScanLine(0)[0], 0xA5);  // even column in the high nibble
  // Row 0 is the top of the picture and the last row in memory.
  EXPECT_EQ(four.ScanLine(0), four.PBits() + four.WidthBytes());
  EXPECT_EQ(four.Pixel(3, 0), 0u);  // outside
  four.SetPixel(-1, 0, 3);          // outside: nothing happens
}

TEST(DIBReading, ATopDownFileLoadsAsItsBottomUpTwin) {
  bs::BmpLayout layout;
  layout.width = 5;
  layout.height = 3;
  layout.bitCount = 24;
  for (int i = 0; i < 3 * bs::rowBytes(5, 24); ++i)
    layout.pixels.push_back(static_cast<uint8_t>(i * 11));
  const TDIB bottomUp = readFile(bs::bmpFile(layout));
  // The same picture top-down: the stored rows in the other order.
  bs::BmpLayout flipped = layout;
  flipped.height = -3;
  const int stride = bs::rowBytes(5, 24);
  flipped.pixels.clear();
  for (int row = 2; row >= 0; --row) {
    flipped.pixels.insert(flipped.pixels.end(), layout.pixels.begin() + row * stride,
                          layout.pixels.begin() + (row + 1) * stride);
  }
  const TDIB topDown = readFile(bs::bmpFile(flipped));
  EXPECT_EQ(topDown.Height(), 3);
  EXPECT_TRUE(std::equal(bottomUp.PBits(), bottomUp.PBits() + bottomUp.Size(), topDown.PBits()));
}

TEST(DIBReading, SixteenBitMasksChooseOrRefuseTheFormat) {
  bs::BmpLayout layout;
  layout.width = 2;
  layout.height = 1;
  layout.bitCount = 16;
  layout.pixels = {0x1F, 0x00, 0xE0, 0x07};
  EXPECT_EQ(readFile(bs::bmpFile(layout)).PixelFormat(), MakeDIBPixelFormat(5, 5, 5));

  layout.compression = 3;
  layout.masks = {0xF800, 0x7E0, 0x1F};
  const TDIB dib565 = readFile(bs::bmpFile(layout));
  EXPECT_EQ(dib565.PixelFormat(), MakeDIBPixelFormat(5, 6, 5));
  EXPECT_EQ(dib565.PixelRGB(1, 0), 0x00FC00u);  // 0x07E0 is full green, top bits kept

  layout.masks = {0x1F, 0x7E0, 0xF800};  // right widths, wrong places
  expectError<EInvalidGraphicOperation>(bs::bmpFile(layout), "PixelFormat in invalid");
  layout.masks = {0xF00, 0xF0, 0xF};
  expectError<EInvalidGraphicOperation>(bs::bmpFile(layout), "PixelFormat in invalid");

  bs::BmpLayout wide;
  wide.width = 1;
  wide.height = 1;
  wide.bitCount = 32;
  wide.compression = 3;
  wide.pixels = {1, 2, 3, 4};
  wide.masks = {0xFF0000, 0xFF00, 0xFF};
  EXPECT_EQ(readFile(bs::bmpFile(wide)).PixelRGB(0, 0), 0x030201u);
  wide.masks = {0xFF, 0xFF00, 0xFF0000};
  expectError<EInvalidGraphicOperation>(bs::bmpFile(wide), "PixelFormat in invalid");
  // Masks wider than a pixel together (found by the fuzz target) are refused the same way.
  wide.masks = {0xFFFFFF00, 0xFFFFFF, 0xFFFF};
  expectError<EInvalidGraphicOperation>(bs::bmpFile(wide), "PixelFormat in invalid");
}

TEST(DIBReading, RunLengthDataDecodesToItsUncompressedTwin) {
  for (int bitCount : {8, 4}) {
    SCOPED_TRACE(bitCount);
    const int width = 37;
    const int height = 9;
    const auto rows = bs::indexRows(width, height, 1 << bitCount, 7u + bitCount);
    bs::BmpLayout plain;
    plain.width = width;
    plain.height = height;
    plain.bitCount = bitCount;
    plain.palette = bs::palette(1 << bitCount);
    plain.pixels = bs::packRows(rows, width, bitCount);
    bs::BmpLayout packed = plain;
    packed.compression = bitCount == 8 ? 1 : 2;
    packed.pixels = bs::encodeRle(rows, bitCount);

    const TDIB expected = readFile(bs::bmpFile(plain));
    TDIB rle = readFile(bs::bmpFile(packed));
    EXPECT_TRUE(rle.Compressed());
    // Stored again unchanged while nothing writes its pixels.
    TMemoryStream data;
    rle.WriteBitmapData(data);
    const std::vector<uint8_t> expectedData = bs::dibData(packed);
    EXPECT_EQ(data.Bytes()[16], packed.compression);
    EXPECT_TRUE(std::equal(data.Bytes().begin() + 40, data.Bytes().end(), expectedData.begin() + 40,
                           expectedData.end()));
    expectSamePixels(expected, rle);
    EXPECT_TRUE(rle.Compressed());
    rle.SetPixel(0, 0, 1);  // writing expands it for good
    EXPECT_FALSE(rle.Compressed());
    EXPECT_EQ(rle.Compression(), 0u);
  }
}

TEST(DIBReading, RunLengthDeltasRowEndsAndStrayRunsStayInsideThePicture) {
  bs::BmpLayout layout;
  layout.width = 4;
  layout.height = 3;
  layout.bitCount = 8;
  layout.compression = 1;
  layout.palette = bs::palette(256);
  layout.pixels = {2,   9,               // two pixels of 9 at the bottom row
                   0,   2, 1, 1,         // delta: one right, one up
                   200, 5,               // a run far past the row's end is cut at the edge
                   0,   0,               // row end
                   0,   3, 1, 2,  3, 0,  // three literal pixels, padded to an even count
                   0,   2, 0, 40,        // a delta out of the picture ends the drawing
                   7,   7};
  const TDIB dib = readFile(bs::bmpFile(layout));
  EXPECT_EQ(dib.Pixel(0, 2), 9u);
  EXPECT_EQ(dib.Pixel(1, 2), 9u);
  EXPECT_EQ(dib.Pixel(2, 2), 0u);
  EXPECT_EQ(dib.Pixel(3, 1), 5u);
  EXPECT_EQ(dib.Pixel(2, 1), 0u);
  EXPECT_EQ(dib.Pixel(3, 1), 5u);
  EXPECT_EQ(dib.Pixel(0, 0), 1u);
  EXPECT_EQ(dib.Pixel(2, 0), 3u);

  layout.pixels = {0, 200, 1};  // a literal group cut short by the end of the data
  EXPECT_EQ(readFile(bs::bmpFile(layout)).Pixel(0, 2), 1u);
}

TEST(DIBReading, TheOldCoreHeaderHasThreeByteColours) {
  bs::BmpLayout layout;
  layout.headerSize = 12;
  layout.width = 2;
  layout.height = 1;
  layout.bitCount = 1;
  layout.palette = {10, 20, 30, 40, 50, 60};
  layout.pixels = {0x40, 0, 0, 0};
  const TDIB dib = readFile(bs::bmpFile(layout));
  EXPECT_EQ(dib.PixelRGB(0, 0), 0x1E140Au);
  EXPECT_EQ(dib.PixelRGB(1, 0), 0x3C3228u);
}

TEST(DIBReading, MalformedDataGetsTheDIBErrorsAndChangesNothing) {
  bs::BmpLayout good;
  good.width = 2;
  good.height = 2;
  good.bitCount = 8;
  good.palette = bs::palette(256);
  good.pixels.assign(8, 1);
  const std::vector<uint8_t> file = bs::bmpFile(good);

  expectError<EInvalidGraphic>({'B', 'M', 0, 0}, "DIB is invalid");
  std::vector<uint8_t> wrong = file;
  wrong[0] = 'P';
  expectError<EInvalidGraphic>(wrong, "DIB is invalid");
  expectError<EInvalidGraphic>(std::vector<uint8_t>(file.begin(), file.begin() + 16),
                               "DIB is invalid");
  bs::BmpLayout odd = good;
  odd.headerSize = 64;
  expectError<EInvalidGraphic>(bs::bmpFile(odd), "DIB is invalid");
  odd = good;
  odd.compression = 4;
  expectError<EInvalidGraphic>(bs::bmpFile(odd), "DIB is invalid");
  odd = good;
  odd.compression = 2;  // 4-bit coding on 8-bit pixels
  expectError<EInvalidGraphic>(bs::bmpFile(odd), "DIB is invalid");
  odd = good;
  odd.bitCount = 3;
  odd.palette = bs::palette(8);
  expectError<EInvalidGraphicOperation>(bs::bmpFile(odd), "Bitcount in invalid (3)");
  expectError<EReadError>(std::vector<uint8_t>(file.begin(), file.end() - 1), "Stream read error");
  odd = good;
  odd.width = 100000;
  odd.height = 100000;
  expectError<EOutOfResources>(bs::bmpFile(odd), "DIB cannot be made");
}

TEST(DIBReading, NoBytesAtAllAreNotAnError) {
  TDIB dib;
  dib.SetSize(4, 4, 8);
  TMemoryStream empty;
  dib.LoadFromStream(empty);
  EXPECT_EQ(dib.Width(), 4);  // an empty file changes nothing
  TMemoryStream noData;
  dib.ReadBitmapData(noData);
  EXPECT_EQ(dib.Width(), 0);  // empty DIB data is the empty bitmap
  TMemoryStream out;
  dib.SaveToStream(out);
  EXPECT_EQ(out.Bytes().size(), 0u);
}

TEST(DIBSharing, CopiesShareUntilOneChanges) {
  TDIB a;
  a.SetSize(4, 4, 8);
  a.SetPixel(1, 1, 5);
  TDIB b = a;
  EXPECT_EQ(static_cast<const TDIB&>(a).PBits(), static_cast<const TDIB&>(b).PBits());
  b.SetPixel(1, 1, 6);
  EXPECT_EQ(a.Pixel(1, 1), 5u);
  EXPECT_EQ(b.Pixel(1, 1), 6u);
  TRGBQuads table = a.ColorTable();
  table[5] = TRGBQuad{1, 2, 3, 0};
  b.SetColorTable(table);
  EXPECT_EQ(a.ColorTable()[5], (TRGBQuad{5, 5, 5, 0}));  // the grey ramp stays
  EXPECT_TRUE(b.PaletteModified());
}

TEST(DIBStoredPicture, PictureDataHoldsTheClassNameThenTheDIBData) {
  TDIB dib;
  dib.SetSize(3, 2, 24);
  dib.SetPixel(2, 1, 0x123456);
  TPicture picture({BitmapGraphicFormat(), DIBGraphicFormat()});
  picture.SetGraphic(dib.Clone());
  const std::vector<uint8_t> data = picture.WriteData();
  ASSERT_GT(data.size(), 5u);
  EXPECT_EQ(std::string(data.begin(), data.begin() + 5), "\x04TDIB");
  EXPECT_EQ(data[5], 40);  // DIB data, no file header
  EXPECT_EQ(data.size(), 5u + 40u + 2u * 12u);

  TPicture back({BitmapGraphicFormat(), DIBGraphicFormat()});
  back.ReadData(data);
  auto* read = dynamic_cast<TDIB*>(back.Graphic());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Pixel(2, 1), 0x123456u);

  // A whole file stored under the class name reads the same.
  TMemoryStream file;
  dib.SaveToStream(file);
  std::vector<uint8_t> withFile(data.begin(), data.begin() + 5);
  withFile.insert(withFile.end(), file.Bytes().begin(), file.Bytes().end());
  back.ReadData(withFile);
  EXPECT_EQ(dynamic_cast<TDIB*>(back.Graphic())->Pixel(2, 1), 0x123456u);

  EXPECT_THROW(back.ReadData({4, 'T', 'D'}), EReadError);
  EXPECT_THROW(back.ReadData({3, 'T', 'X', 'Y', 40}), EInvalidGraphic);
}
