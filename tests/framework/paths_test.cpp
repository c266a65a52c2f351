#include "framework/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "framework/exceptions.h"
#include "framework/stream.h"
#include "platform/fake_files.h"
#include "support/fake_app.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("reefmaw_paths_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
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
  // Temporary files of saves left in the Data folder.
  int leftovers() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir_ / "Data")) {
      if (entry.path().filename().string().find(".tmp") != std::string::npos) ++count;
    }
    return count;
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
    EXPECT_NE(e.Message().find((dir_ / "Data/Fon/9.bmp").string()), std::string::npos)
        << e.Message();
    EXPECT_NE(e.Message().find("No such file"), std::string::npos) << e.Message();
  }
}

TEST_F(PathsTest, AtomicWriteReplacesWholeOrNotAtAll) {
  WriteFileAtomically("data\\REC.rmw", {'n', 'e', 'w'});
  TMemoryStream m;
  m.LoadFromFile("data\\rec.rmw");
  EXPECT_EQ(std::string(m.Bytes().begin(), m.Bytes().end()), "new");
  EXPECT_EQ(leftovers(), 0);
  // A directory that cannot be written leaves the old file and raises.
  EXPECT_THROW(WriteFileAtomically("nodir\\rec.rmw", {'x'}), EFCreateError);
}

TEST_F(PathsTest, AWriteThatFailsOnTheWayLeavesTheOldFileAndNoTemporaryFile) {
  FakeApp app;
  auto files = std::make_unique<platform::FakeFiles>();
  platform::FakeFiles& fake = *files;
  app.platform.setFiles(std::move(files));
  const std::vector<uint8_t> longer(5000, 'n');
  fake.failWritesAfter(1000);  // the disk fills up in the middle
  EXPECT_THROW(WriteFileAtomically("data\\rec.rmw", longer), EWriteError);
  fake.failWritesAfter(-1);
  fake.failSyncs(true);
  EXPECT_THROW(WriteFileAtomically("data\\rec.rmw", longer), EWriteError);
  fake.failSyncs(false);
  fake.failRenames(true);
  EXPECT_THROW(WriteFileAtomically("data\\rec.rmw", longer), EWriteError);
  EXPECT_EQ(fake.temporariesMade(), 3);
  TMemoryStream m;
  m.LoadFromFile("data\\rec.rmw");
  EXPECT_EQ(std::string(m.Bytes().begin(), m.Bytes().end()), "old");
  EXPECT_EQ(leftovers(), 0);
}

TEST_F(PathsTest, AFileLockLivesBesideTheFileAndIsHeldForItsScope) {
  FakeApp app;
  auto files = std::make_unique<platform::FakeFiles>();
  platform::FakeFiles& fake = *files;
  app.platform.setFiles(std::move(files));
  {
    const FileLock lock("DATA\\REC.RMW");
    EXPECT_TRUE(lock.Locked());
    EXPECT_EQ(fake.locksHeld(), 1);
    EXPECT_TRUE(fs::exists(dir_ / "Data" / "rec.rmw.lock"));
  }
  EXPECT_EQ(fake.locksHeld(), 0);
  const FileLock nowhere("nodir\\rec.rmw");
  EXPECT_FALSE(nowhere.Locked());
}

// An installed game: the program in <prefix>/games, its files in
// <prefix>/share/games/reefmaw, started from the fixture's folder (which has a Data
// folder of its own that the installed game must not use).
class InstalledPathsTest : public PathsTest {
 protected:
  void SetUp() override {
    PathsTest::SetUp();
    prefix_ = dir_ / "prefix";
    data_ = prefix_ / "share" / "games" / "reefmaw";
    user_ = dir_ / "home" / ".local" / "share" / "reefmaw";
    fs::create_directories(data_ / "Data" / "Fon");
    fs::create_directories(prefix_ / "games");
    std::ofstream(data_ / "Data" / "Fon" / "3.bmp") << "picture";
    std::ofstream(data_ / "Data" / "rec.rmw") << "shipped";
  }
  void TearDown() override {
    UseCurrentFolder();
    PathsTest::TearDown();
  }
  void install() { UseInstalledFolders(data_.string(), user_.string(), {"data\\rec.rmw"}); }
  fs::path prefix_, data_, user_;
};

TEST_F(InstalledPathsTest, PicturesComeFromTheDataFolderAndRecordsFromTheUsersOwn) {
  install();
  EXPECT_EQ(ResolvePath("DATA\\fon\\3.BMP"), (data_ / "Data/Fon/3.bmp").string());
  EXPECT_TRUE(FileExists("Data\\Fon\\3.bmp"));
  // The first start makes the user's records from the shipped table.
  EXPECT_EQ(ResolvePath("data\\rec.rmw"), (user_ / "rec.rmw").string());
  EXPECT_EQ(ResolvePath("Data/./REC.rmw"), (user_ / "rec.rmw").string());
  EXPECT_EQ(FileBytes(user_ / "rec.rmw"), "shipped");
  // Writing changes the user's file only.
  WriteFileAtomically("data\\rec.rmw", {'n', 'e', 'w'});
  TFileStream stream("data\\rec.rmw", TFileMode::fmOpenRead);
  EXPECT_EQ(FileBytes(user_ / "rec.rmw"), "new");
  EXPECT_EQ(FileBytes(data_ / "Data" / "rec.rmw"), "shipped");
  EXPECT_EQ(FileBytes(dir_ / "Data" / "rec.rmw"), "old");
  // A later start keeps the user's records.
  install();
  EXPECT_EQ(FileBytes(user_ / "rec.rmw"), "new");
  // Back to the current directory.
  UseCurrentFolder();
  EXPECT_EQ(ResolvePath("data\\rec.rmw"), "Data/rec.rmw");
}

TEST_F(InstalledPathsTest, OwnUserFilesAreTakenAsTheyAreWithoutACopyOfTheShippedOne) {
  const fs::path own = dir_ / "replay";
  fs::create_directories(own);
  UseOwnUserFiles(data_.string(), own.string(), {"data\\rec.rmw"});
  EXPECT_EQ(ResolvePath("Data\\Fon\\3.bmp"), (data_ / "Data/Fon/3.bmp").string());
  EXPECT_EQ(ResolvePath("data\\rec.rmw"), (own / "rec.rmw").string());
  EXPECT_FALSE(FileExists("data\\rec.rmw"));  // none was made
  // Without a data folder, the current directory's pictures.
  UseOwnUserFiles("", own.string(), {"data\\rec.rmw"});
  EXPECT_EQ(ResolvePath("data\\rec.rmw"), (own / "rec.rmw").string());
  EXPECT_FALSE(FileExists("Data\\rec.rmw"));  // not the current directory's either
  EXPECT_EQ(ResolvePath("data\\Fon\\3.BMP"), (dir_ / "Data/Fon/3.bmp").string());
}

TEST_F(InstalledPathsTest, AUserFolderThatCannotBeMadeLeavesTheShippedFileAlone) {
  std::ofstream(dir_ / "home") << "a file where the folder should be";
  install();
  EXPECT_FALSE(FileExists("data\\rec.rmw"));
  EXPECT_THROW(WriteFileAtomically("data\\rec.rmw", {'x'}), EFCreateError);
  EXPECT_EQ(FileBytes(data_ / "Data" / "rec.rmw"), "shipped");
}

TEST(UserFolders, FollowTheBaseDirectoryRules) {
  ScopedVariable home("HOME", "/home/player");
  {
    ScopedVariable data("XDG_DATA_HOME", "/srv/data");
    EXPECT_EQ(UserDataFolder("reefmaw"), "/srv/data/reefmaw");
  }
  {
    ScopedVariable data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(UserDataFolder("reefmaw"), "/home/player/.local/share/reefmaw");
  }
  {
    ScopedVariable data("XDG_DATA_HOME", "relative/data");  // to be ignored
    EXPECT_EQ(UserDataFolder("reefmaw"), "/home/player/.local/share/reefmaw");
    ScopedVariable noHome("HOME", nullptr);
    EXPECT_EQ(UserDataFolder("reefmaw"), "");
  }
  {
    ScopedVariable config("XDG_CONFIG_HOME", "/srv/config");
    EXPECT_EQ(UserConfigFolder("reefmaw"), "/srv/config/reefmaw");
  }
  {
    ScopedVariable config("XDG_CONFIG_HOME", "");
    EXPECT_EQ(UserConfigFolder("reefmaw"), "/home/player/.config/reefmaw");
  }
}

TEST(UserConfigFolder, FollowsTheBaseDirectoryRules) {
  ScopedVariable home("HOME", "/home/player");
  {
    ScopedVariable config("XDG_CONFIG_HOME", "/srv/config");
    EXPECT_EQ(UserConfigFolder("reefmaw"), "/srv/config/reefmaw");
  }
  ScopedVariable config("XDG_CONFIG_HOME", "config");  // relative: ignored
  EXPECT_EQ(UserConfigFolder("reefmaw"), "/home/player/.config/reefmaw");
  ScopedVariable noHome("HOME", nullptr);
  EXPECT_EQ(UserConfigFolder("reefmaw"), "");
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
