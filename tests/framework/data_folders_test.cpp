#include "framework/data_folders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "framework/paths.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kMarks = {"Data/Fon", "Data/Monsters"};

struct DataFoldersTest : ::testing::Test {
  TempFolder temp;
  const fs::path& dir = temp.path();
  fs::path current, prefix, installed, build, source;

  void SetUp() override {
    current = dir / "home";
    prefix = dir / "usr";
    installed = prefix / "share" / "games" / "reefmaw";
    source = dir / "src";
    build = source / "build" / "play";
    for (const fs::path& p : {current, prefix / "games", installed, build, source}) {
      fs::create_directories(p);
    }
  }
  void TearDown() override { UseCurrentFolder(); }
  static void giveData(const fs::path& folder, const char* data = "Data") {
    fs::create_directories(folder / data / "Fon");
    fs::create_directories(folder / data / "Monsters");
    std::ofstream(folder / data / "Fon" / "3.bmp") << "picture";
    std::ofstream(folder / data / "rec.rmw") << "records";
  }
  std::vector<DataPlace> places(const std::string& flag, const fs::path& program) const {
    return DataPlaces(flag, current.string(), program.string(), "../share/games/reefmaw",
                      build.string(), source.string());
  }
  static std::vector<std::string> folders(const std::vector<DataPlace>& places) {
    std::vector<std::string> result;
    for (const DataPlace& p : places) result.push_back(p.folder);
    return result;
  }
};

TEST_F(DataFoldersTest, TheCurrentFolderThenTheInstalledDataThenTheSourceOfABuild) {
  // Installed: the current folder, then the data beside the program.
  const auto fromPrefix = places("", prefix / "games" / "reefmaw");
  EXPECT_EQ(folders(fromPrefix), (std::vector<std::string>{current.string(), installed.string()}));
  EXPECT_FALSE(fromPrefix[0].installed);
  EXPECT_TRUE(fromPrefix[1].installed);
  // From its build folder the program also knows the source folder, last.
  const auto fromBuild = places("", build / "reefmaw");
  ASSERT_EQ(fromBuild.size(), 3u);
  EXPECT_EQ(fromBuild[2].folder, source.string());
  EXPECT_FALSE(fromBuild[2].installed);
  // --data alone, whatever else holds data.
  const auto flagged = places("elsewhere/", build / "reefmaw");
  EXPECT_EQ(folders(flagged),
            (std::vector<std::string>{(fs::current_path() / "elsewhere").string()}));

  // The first that holds the pictures wins.
  const std::vector<DataPlace> all = {
      {current.string(), false}, {installed.string(), true}, {source.string(), false}};
  EXPECT_EQ(FindDataPlace(all, kMarks), nullptr);
  giveData(source);
  EXPECT_EQ(FindDataPlace(all, kMarks)->folder, source.string());
  giveData(installed, "DATA");  // any letter case
  EXPECT_EQ(FindDataPlace(all, kMarks)->folder, installed.string());
  giveData(current);
  EXPECT_EQ(FindDataPlace(all, kMarks)->folder, current.string());
  // A Data folder without the pictures' folders does not count.
  fs::remove_all(current / "Data" / "Monsters");
  EXPECT_EQ(FindDataPlace(all, kMarks)->folder, installed.string());
}

TEST_F(DataFoldersTest, NothingFoundIsOneMessageNamingEveryFolderLookedIn) {
  const auto tried = places("", build / "reefmaw");
  ASSERT_EQ(FindDataPlace(tried, kMarks), nullptr);
  const std::string message = NotFoundMessage(tried, "No pictures.", "Try --data.");
  EXPECT_EQ(message.rfind("No pictures. Looked in:\n", 0), 0u) << message;
  for (const DataPlace& place : tried) {
    EXPECT_NE(message.find("\n  " + place.folder + "\n"), std::string::npos) << message;
  }
  EXPECT_TRUE(message.ends_with("\nTry --data.")) << message;
}

TEST_F(DataFoldersTest, TheChosenPlaceDecidesWhereGamePathsAndRecordsGo) {
  giveData(source);
  giveData(installed);
  const fs::path user = dir / "user";
  UseDataPlace({source.string(), false}, current.string(), user.string(), {"data\\rec.rmw"});
  EXPECT_EQ(ResolvePath("data\\fon\\3.bmp"), (source / "Data/Fon/3.bmp").string());
  EXPECT_EQ(ResolvePath("data\\rec.rmw"), (source / "Data/rec.rmw").string());
  UseDataPlace({installed.string(), true}, current.string(), user.string(), {"data\\rec.rmw"});
  EXPECT_EQ(ResolvePath("data\\fon\\3.bmp"), (installed / "Data/Fon/3.bmp").string());
  EXPECT_EQ(ResolvePath("data\\rec.rmw"), (user / "rec.rmw").string());
  UseDataPlace({current.string(), false}, current.string(), user.string(), {"data\\rec.rmw"});
  EXPECT_EQ(ResolvePath("data\\rec.rmw"), "data/rec.rmw");
}

}  // namespace
