#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  // Tests never open a real screen or sound device.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  // Each test process keeps its temporary files in a folder of its own, so that two runs
  // of the suite at once (or two shards of one) never meet in a file name.
  std::string own = (std::filesystem::temp_directory_path() / "reefmaw_tests_XXXXXX").string();
  if (mkdtemp(own.data()) == nullptr) return 2;
  setenv("TMPDIR", own.c_str(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::error_code ec;
  std::filesystem::remove_all(own, ec);
  return result;
}
