#include "framework/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/small_file_system.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const std::vector<SettingsKey> kKeys = {
    {"display", "fullscreen", "full screen or not", "true"},
    {"display", "size", "the window's size", "800x600"},
    {"keys", "up", "steering\nin two lines", "Up"},
    {"keys", "down", "", "Down"},
};

struct SettingsFileTest : ::testing::Test {
  TempFolder temp;
  const fs::path& dir = temp.path();
  const fs::path path = dir / "config" / "reefmaw" / "reefmaw.ini";
  std::vector<std::string> warnings;

  SettingsFile file() { return SettingsFile(path.string(), kKeys, "The heading."); }
  std::string read(const fs::path& p) const { return FileBytes(p); }
  void write(const std::string& text) const {
    fs::create_directories(path.parent_path());
    WriteFileBytes(path, text);
  }
};

TEST_F(SettingsFileTest, TheFirstStartWritesEveryKeyWithItsComment) {
  SettingsFile settings = file();
  EXPECT_EQ(settings.Load(false, warnings),
            (std::vector<std::string>{"true", "800x600", "Up", "Down"}));
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(read(path),
            "# The heading.\n"
            "\n"
            "[display]\n"
            "# full screen or not\n"
            "fullscreen=true\n"
            "# the window's size\n"
            "size=800x600\n"
            "\n"
            "[keys]\n"
            "# steering\n"
            "# in two lines\n"
            "up=Up\n"
            "down=Down\n");
  // Nothing is missing the second time: the file is not written again.
  const auto written = fs::last_write_time(path);
  EXPECT_EQ(file().Load(false, warnings)[1], "800x600");
  EXPECT_EQ(fs::last_write_time(path), written);
  EXPECT_TRUE(warnings.empty());
}

TEST_F(SettingsFileTest, UnknownKeysAndThePlayersCommentsSurviveAddingKeysAndUpdates) {
  write("# mine\n[display]\n# I like it\nfullscreen=false\nbrightness=3\n[mods]\nfast=yes\n");
  SettingsFile settings = file();
  const std::vector<std::string> texts = settings.Load(false, warnings);
  EXPECT_EQ(texts, (std::vector<std::string>{"false", "800x600", "Up", "Down"}));
  EXPECT_TRUE(warnings.empty());
  settings.Update({{0, "true"}, {3, "J"}}, warnings);
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(read(path),
            "# mine\n"
            "\n"
            "[display]\n"
            "# I like it\n"
            "fullscreen=true\n"
            "brightness=3\n"
            "# the window's size\n"
            "size=800x600\n"
            "\n"
            "[mods]\n"
            "fast=yes\n"
            "\n"
            "[keys]\n"
            "# steering\n"
            "# in two lines\n"
            "up=Up\n"
            "down=J\n");
}

TEST_F(SettingsFileTest, AnUpdateWritesIntoTheFileAsItIsNowOnTheDisk) {
  SettingsFile settings = file();
  settings.Load(false, warnings);
  // The player edits the file while the game runs; the game's change goes in beside it.
  std::string edited = read(path);
  edited.replace(edited.find("up=Up"), 5, "up=W");
  write(edited);
  settings.Update({{0, "false"}}, warnings);
  const std::string now = read(path);
  EXPECT_NE(now.find("up=W\n"), std::string::npos);
  EXPECT_NE(now.find("fullscreen=false\n"), std::string::npos);
  // A file removed meanwhile comes back whole, with the change.
  fs::remove(path);
  settings.Update({{1, "1024x768"}}, warnings);
  EXPECT_NE(read(path).find("size=1024x768\n"), std::string::npos);
  EXPECT_NE(read(path).find("up=Up\n"), std::string::npos);
  EXPECT_TRUE(warnings.empty());
}

TEST_F(SettingsFileTest, AFileThatIsNoKeyFileIsKeptAsideAndWrittenAfresh) {
  std::string garbage;
  for (int i = 0; i < 512; ++i) garbage += static_cast<char>((i * 37 + 11) % 256);
  write(garbage);
  const std::vector<std::string> texts = file().Load(false, warnings);
  EXPECT_EQ(texts[0], "true");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find(path.string()), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[0].find("reefmaw.ini.bad"), std::string::npos) << warnings[0];
  EXPECT_EQ(read(path.string() + ".bad"), garbage);
  EXPECT_NE(read(path).find("fullscreen=true\n"), std::string::npos);
}

TEST_F(SettingsFileTest, AFileThatIsALinkStaysALink) {
  fs::create_directories(path.parent_path());
  WriteFileBytes(dir / "dotfiles.ini", "[display]\nfullscreen=false\n");
  fs::create_symlink(dir / "dotfiles.ini", path);
  SettingsFile settings = file();
  EXPECT_EQ(settings.Load(false, warnings)[0], "false");
  settings.Update({{0, "true"}}, warnings);
  EXPECT_TRUE(warnings.empty());
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_NE(read(dir / "dotfiles.ini").find("fullscreen=true\n"), std::string::npos);
  EXPECT_NE(read(dir / "dotfiles.ini").find("size=800x600\n"), std::string::npos);
}

TEST_F(SettingsFileTest, AResetKeepsTheOldFileAside) {
  write("[display]\nfullscreen=false\n");
  EXPECT_EQ(file().Load(true, warnings)[0], "true");
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(read(path.string() + ".old"), "[display]\nfullscreen=false\n");
  EXPECT_NE(read(path).find("fullscreen=true\n"), std::string::npos);
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadIsLeftAloneForTheWholeRun) {
  fs::create_directories(path);  // a folder where the file should be
  SettingsFile settings = file();
  EXPECT_EQ(settings.Load(false, warnings)[1], "800x600");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("cannot be read"), std::string::npos) << warnings[0];
  settings.Update({{0, "false"}}, warnings);
  EXPECT_EQ(warnings.size(), 1u);
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_FALSE(fs::exists(path.string() + ".bad"));
}

TEST_F(SettingsFileTest, AFolderThatCannotBeWrittenGivesTheDefaultsAndOneWarning) {
  std::ofstream(dir / "config") << "a file where the folder should be";
  SettingsFile settings = file();
  EXPECT_EQ(settings.Load(false, warnings)[0], "true");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("cannot be written"), std::string::npos) << warnings[0];
  EXPECT_EQ(read(dir / "config"), "a file where the folder should be");
}

// A disk that is full when a change is saved: the warning says so, and the file on the
// disk stays as it was.
TEST_F(SettingsFileTest, AFullDiskIsNamedAndTheFileStaysWhole) {
  REEFMAW_IN_SMALL_FILE_SYSTEM(dir, 64 * 1024, [&] {
    SettingsFile settings = file();
    settings.Load(false, warnings);
    const std::string before = read(path);
    ASSERT_FALSE(before.empty());
    FillUp(dir);
    settings.Update({{1, "1024x768"}}, warnings);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("cannot be written (No space left on device)"), std::string::npos)
        << warnings[0];
    EXPECT_EQ(read(path), before);
  });
}

TEST_F(SettingsFileTest, NoPathMeansDefaultsAndNoFile) {
  SettingsFile settings("", kKeys, "");
  EXPECT_EQ(settings.Load(false, warnings)[3], "Down");
  settings.Update({{0, "false"}}, warnings);
  EXPECT_TRUE(warnings.empty());
}

}  // namespace
