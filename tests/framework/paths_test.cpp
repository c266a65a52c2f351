#include "framework/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/exceptions.h"
#include "framework/stream.h"

namespace fs = std::filesystem;

namespace {

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("reefmaw_paths_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "Data" / "Fon");
    std::ofstream(dir_ / "Data" / "Fon" / "3.bmp") << "x";
    std::ofstream(dir_ / "Data" / "rec.rmw") << "old";
    old_ = fs::current_path();
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  fs::path dir_;
  fs::path old_;
};

TEST_F(PathsTest, GamePathsFindFilesWhateverTheirCase) {
  EXPECT_EQ(ResolvePath("Data\\Fon\\3.bmp"), "Data/Fon/3.bmp");
  EXPECT_EQ(ResolvePath("data\\fon\\3.BMP"), "Data/Fon/3.bmp");
  EXPECT_EQ(ResolvePath("DATA/REC.RMW"), "Data/rec.rmw");
  EXPECT_TRUE(FileExists("data\\rec.rmw"));
  // A missing component is kept as written, so an error names what the game asked for.
  EXPECT_EQ(ResolvePath("data\\Menu\\Fon\\7.bmp"), "Data/Menu/Fon/7.bmp");
  EXPECT_FALSE(FileExists("data\\Menu\\Fon\\7.bmp"));
}

TEST_F(PathsTest, OpeningAMissingFileNamesTheFullPathAndTheReason) {
  try {
    TFileStream stream("Data\\Fon\\9.bmp", TFileMode::fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find((dir_ / "Data/Fon/9.bmp").string()), std::string::npos) << e.Message();
    EXPECT_NE(e.Message().find("No such file"), std::string::npos) << e.Message();
  }
}

TEST_F(PathsTest, AtomicWriteReplacesWholeOrNotAtAll) {
  WriteFileAtomically("data\\REC.rmw", {'n', 'e', 'w'});
  TMemoryStream m;
  m.LoadFromFile("data\\rec.rmw");
  EXPECT_EQ(std::string(m.Bytes().begin(), m.Bytes().end()), "new");
  EXPECT_FALSE(fs::exists(dir_ / "Data" / "rec.rmw.tmp"));
  // A directory that cannot be written leaves the old file and raises.
  EXPECT_THROW(WriteFileAtomically("nodir\\rec.rmw", {'x'}), EFCreateError);
}

TEST(Streams, ReadBufferFailsCleanlyPastTheEnd) {
  const uint8_t data[3] = {1, 2, 3};
  TReadOnlyMemoryStream s(data, 3);
  uint8_t out[4] = {};
  EXPECT_THROW(s.ReadBuffer(out, 4), EReadError);
  s.SetPosition(1);
  s.ReadBuffer(out, 2);
  EXPECT_EQ(out[0], 2);
  EXPECT_EQ(out[1], 3);
  EXPECT_THROW(s.ReadBuffer(out, -1), EReadError);
  TMemoryStream m;
  m.WriteValue<uint32_t>(0x01020304);
  m.SetPosition(0);
  EXPECT_EQ(m.ReadValue<uint32_t>(), 0x01020304u);
  EXPECT_THROW(m.ReadValue<uint8_t>(), EReadError);
}

TEST(Strings, IntegersRoundTripAndBadTextIsRefused) {
  EXPECT_EQ(StrToInt(IntToStr(-2147483648LL)), -2147483648LL);
  EXPECT_THROW(StrToInt("12a"), EConvertError);
  EXPECT_THROW(StrToInt(""), EConvertError);
  EXPECT_THROW(StrToInt("99999999999"), EConvertError);
  EXPECT_EQ(Format("Image '%s' not found", std::string("m3")), "Image 'm3' not found");
}

}  // namespace
