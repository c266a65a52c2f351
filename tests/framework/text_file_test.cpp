#include "framework/text_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "framework/exceptions.h"

namespace {

namespace fs = std::filesystem;

struct TextFileTest : ::testing::Test {
  fs::path dir =
      fs::temp_directory_path() / ("reefmaw_text_" + std::to_string(::getpid()) + "_" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  std::string message(const std::function<void()>& action) {
    try {
      action();
    } catch (const EInOutError& e) {
      return e.what();
    }
    return "";
  }
};

TEST_F(TextFileTest, WritesAndReadsBytesUnchanged) {
  const std::string bytes("a\r\n\0\xFF", 5);
  WriteTextFile((dir / "t.txt").string(), bytes);
  EXPECT_EQ(ReadTextFile((dir / "T.TXT").string()), bytes);  // any letter case finds it
}

TEST_F(TextFileTest, FailuresCarryTheLibrarysMessages) {
  EXPECT_EQ(message([&] { ReadTextFile((dir / "none.txt").string()); }), "File not found");
  EXPECT_EQ(message([&] { ReadTextFile((dir / "no" / "none.txt").string()); }), "File not found");
  EXPECT_EQ(message([&] { ReadTextFile(dir.string()); }), "File access denied");
  // A save names the system's reason after the library's words.
  EXPECT_EQ(message([&] { WriteTextFile((dir / "no" / "t.txt").string(), "x"); }),
            "File access denied: No such file or directory");
}

}  // namespace
