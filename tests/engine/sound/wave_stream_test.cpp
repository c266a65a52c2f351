#include "engine/sound/wave_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void putChunk(Bytes& b, const char* id, const Bytes& body, bool pad = true) {
  b.insert(b.end(), id, id + 4);
  put32(b, static_cast<uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (pad && body.size() % 2 == 1) b.push_back(0);
}

Bytes riffHeader() {
  Bytes b = {'R', 'I', 'F', 'F'};
  put32(b, 0);  // the length field is not trusted
  b.insert(b.end(), {'W', 'A', 'V', 'E'});
  return b;
}

const Bytes kFormat = {1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x22, 0x56, 0, 0, 2, 0, 16, 0};

Bytes readSamples(TWaveStream& wave) {
  Bytes out(static_cast<size_t>(wave.WaveSize()));
  wave.ReadBuffer(out.data(), static_cast<int64_t>(out.size()));
  return out;
}

std::string errorOf(const Bytes& image) {
  TReadOnlyMemoryStream stream(image.data(), static_cast<int64_t>(image.size()));
  TWaveStream wave(stream);
  try {
    wave.OpenRead();
    readSamples(wave);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

}  // namespace

TEST(WaveStreamRead, FindsChunksInAnyOrderAndSkipsOthers) {
  Bytes image = riffHeader();
  putChunk(image, "data", {1, 2, 3, 4});
  putChunk(image, "LIST", {9, 9, 9});  // odd: a pad byte follows
  putChunk(image, "fmt ", kFormat);
  TMemoryStream stream(image);
  TWaveStream wave(stream);
  wave.OpenRead();
  EXPECT_EQ(wave.FormatSize(), 16);
  EXPECT_EQ(0, std::memcmp(wave.FormatData(), kFormat.data(), kFormat.size()));
  EXPECT_EQ(readSamples(wave), (Bytes{1, 2, 3, 4}));
}

TEST(WaveStreamRead, SkipsThePadByteOfAnOddChunkBeforeData) {
  Bytes image = riffHeader();
  putChunk(image, "fmt ", kFormat);
  putChunk(image, "LIST", {'I', 'N', 'F', 'O', 'x'});
  putChunk(image, "data", {5, 6});
  TMemoryStream stream(image);
  TWaveStream wave(stream);
  wave.OpenRead();
  EXPECT_EQ(readSamples(wave), (Bytes{5, 6}));
}

TEST(WaveStreamRead, LaterFormatAndDataChunksReplaceEarlierOnes) {
  Bytes image = riffHeader();
  putChunk(image, "fmt ", Bytes(18, 7));
  putChunk(image, "data", {1});
  putChunk(image, "fmt ", kFormat);
  putChunk(image, "data", {2, 3});
  TMemoryStream stream(image);
  TWaveStream wave(stream);
  wave.OpenRead();
  EXPECT_EQ(wave.FormatSize(), 16);
  EXPECT_EQ(readSamples(wave), (Bytes{2, 3}));
}

TEST(WaveStreamRead, NoDataChunkMeansNoSamplesAndAZeroIdEndsTheWalk) {
  Bytes image = riffHeader();
  putChunk(image, "fmt ", kFormat);
  image.insert(image.end(), 8, 0);  // a chunk of four zero bytes
  putChunk(image, "data", {1, 2});
  TMemoryStream stream(image);
  TWaveStream wave(stream);
  wave.OpenRead();
  EXPECT_EQ(wave.WaveSize(), 0);
}

TEST(WaveStreamRead, ReadsAnImageThatStartsInsideALargerStream) {
  Bytes image = {0xAA, 0xBB, 0xCC};
  Bytes riff = riffHeader();
  putChunk(riff, "fmt ", kFormat);
  putChunk(riff, "data", {4, 5, 6});
  image.insert(image.end(), riff.begin(), riff.end());
  TMemoryStream stream(image);
  stream.SetPosition(3);
  TWaveStream wave(stream);
  wave.OpenRead();
  EXPECT_EQ(readSamples(wave), (Bytes{4, 5, 6}));
}

TEST(WaveStreamRead, DamagedImagesFailWithTheirMessages) {
  EXPECT_EQ(errorOf({}), "Stream read error");
  EXPECT_EQ(errorOf({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'}), "Stream read error");
  EXPECT_EQ(errorOf({'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}), "Wave is invalid");
  EXPECT_EQ(errorOf({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}), "Wave is invalid");

  Bytes shortFormat = riffHeader();
  putChunk(shortFormat, "fmt ", kFormat);
  shortFormat.resize(shortFormat.size() - 3);
  EXPECT_EQ(errorOf(shortFormat), "Stream read error");

  Bytes shortData = riffHeader();
  putChunk(shortData, "fmt ", kFormat);
  putChunk(shortData, "data", Bytes(100, 1));
  shortData.resize(shortData.size() - 1);
  EXPECT_EQ(errorOf(shortData), "Stream read error");
}

TEST(WaveStreamRead, HugeOrNegativeLengthsNeitherHangNorAllocate) {
  // 0xFFFFFFF8 read as a signed length would step back onto the same header for ever.
  Bytes backwards = riffHeader();
  backwards.insert(backwards.end(), {'J', 'U', 'N', 'K', 0xF8, 0xFF, 0xFF, 0xFF});
  putChunk(backwards, "fmt ", kFormat);
  EXPECT_EQ(errorOf(backwards), "");

  Bytes hugeFormat = riffHeader();
  hugeFormat.insert(hugeFormat.end(), {'f', 'm', 't', ' ', 0xFF, 0xFF, 0xFF, 0x7F});
  EXPECT_EQ(errorOf(hugeFormat), "Stream read error");

  Bytes hugeData = riffHeader();
  putChunk(hugeData, "fmt ", kFormat);
  hugeData.insert(hugeData.end(), {'d', 'a', 't', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 1, 2});
  EXPECT_EQ(errorOf(hugeData), "Stream read error");
}

TEST(WaveStreamRead, OpeningTwiceAndReadingUnopenedFail) {
  Bytes image = riffHeader();
  putChunk(image, "data", {1, 2});
  TMemoryStream stream(image);
  TWaveStream unopened(stream);
  uint8_t byte;
  EXPECT_EQ(unopened.WaveSize(), 0);
  TWaveStream wave(stream);
  wave.OpenRead();
  EXPECT_THROW(
      {
        try {
          wave.OpenRead();
        } catch (const EWaveStreamError& e) {
          EXPECT_EQ(e.Message(), "Stream has already been opened");
          throw;
        }
      },
      EWaveStreamError);
  EXPECT_EQ(wave.Read(&byte, 1), 1);
}

TEST(WaveStreamPositions, ReadsSeeksAndWritesStayWithinTheSamples) {
  Bytes image = riffHeader();
  putChunk(image, "data", {10, 11, 12, 13, 14, 15});
  putChunk(image, "LIST", {0, 0});
  TMemoryStream stream(image);
  TWaveStream wave(stream);
  wave.OpenRead();

  EXPECT_EQ(wave.Seek(-2, TSeekOrigin::soEnd), 4);
  uint8_t buffer[8] = {};
  EXPECT_EQ(wave.Read(buffer, 8), 2);  // shortened to end at the samples' end
  EXPECT_EQ(buffer[0], 14);
  EXPECT_EQ(wave.Seek(100, TSeekOrigin::soBeginning), 6);
  EXPECT_EQ(wave.Seek(-100, TSeekOrigin::soCurrent), 0);

  // A write into a stream opened for reading stops at the samples' end, so the chunk
  // after them is untouched.
  wave.Seek(5, TSeekOrigin::soBeginning);
  const uint8_t patch[3] = {7, 7, 7};
  EXPECT_EQ(wave.Write(patch, 3), 1);
  EXPECT_EQ(stream.Bytes()[12 + 8 + 5], 7);
  EXPECT_EQ(std::string(stream.Bytes().begin() + 26, stream.Bytes().begin() + 30), "LIST");
}

TEST(WaveStreamWrite, WritesHeadersSamplesAndAPadByte) {
  TMemoryStream stream;
  {
    TWaveStream wave(stream);
    wave.SetFormatSize(16);
    std::memcpy(wave.FormatData(), kFormat.data(), 16);
    wave.OpenWrite();
    const uint8_t samples[3] = {1, 2, 3};
    wave.WriteBuffer(samples, 3);
    EXPECT_EQ(wave.WaveSize(), 3);
  }  // destroying the stream finishes the image
  Bytes expected = {'R', 'I', 'F', 'F'};
  put32(expected, 4 + 8 + 16 + 8 + 4);
  expected.insert(expected.end(), {'W', 'A', 'V', 'E'});
  putChunk(expected, "fmt ", kFormat);
  putChunk(expected, "data", {1, 2, 3});
  EXPECT_EQ(stream.Bytes(), expected);
  EXPECT_EQ(stream.Position(), static_cast<int64_t>(expected.size()));
}

TEST(WaveStreamWrite, RefusesAnEmptyFormatAndASecondOpening) {
  TMemoryStream stream;
  TWaveStream wave(stream);
  try {
    wave.OpenWrite();
    FAIL();
  } catch (const EWaveStreamError& e) {
    EXPECT_EQ(e.Message(), "Format is invalid");
  }
  EXPECT_EQ(stream.Bytes().size(), 0u);
  const uint8_t byte = 0;
  try {
    wave.Write(&byte, 1);
    FAIL();
  } catch (const EWaveStreamError& e) {
    EXPECT_EQ(e.Message(), "Stream not opend");
  }
  wave.SetFormatSize(16);
  wave.OpenWrite();
  EXPECT_THROW(wave.OpenWrite(), EWaveStreamError);
}
