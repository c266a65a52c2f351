#include "game/records.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "framework/exceptions.h"
#include "platform/fake_files.h"
#include "support/fake_app.h"
#include "support/game_folder.h"
#include "support/small_file_system.h"

namespace {

// The file of a table whose scores run 1000, 900, ..., 100, names "n1" to "n10".
std::string descendingFile() {
  std::string bytes;
  for (int k = 1; k <= 10; ++k)
    bytes += "n" + std::to_string(k) + "\r\n" + std::to_string(1100 - 100 * k) + "\r\n";
  return bytes;
}

TEST(RecordsFile, ReadsNamesAndScoresWithEitherLineEnd) {
  const TRecordTable crlf = ParseRecords(descendingFile());
  EXPECT_EQ(crlf.Names[0], "n1");
  EXPECT_EQ(crlf.Scores[0], 1000);
  EXPECT_EQ(crlf.Names[9], "n10");
  EXPECT_EQ(crlf.Scores[9], 100);
  const TRecordTable lf = ParseRecords("Alex\n715\nBob\n-3\n");
  EXPECT_EQ(lf.Names[1], "Bob");
  EXPECT_EQ(lf.Scores[1], -3);
  // Missing lines read as empty names and zero scores.
  EXPECT_EQ(lf.Names[2], "");
  EXPECT_EQ(lf.Scores[9], 0);
  const TRecordTable empty = ParseRecords("");
  for (int k = 0; k < kRecordCount; ++k) {
    EXPECT_EQ(empty.Names[static_cast<size_t>(k)], "");
    EXPECT_EQ(empty.Scores[static_cast<size_t>(k)], 0);
  }
}

TEST(RecordsFile, ScoreRunsToTheFirstBlankAndLoneCarriageReturnsAreDropped) {
  const TRecordTable t =
      ParseRecords("Sha\rrky\r\n  250 points\tand more\r\nNext\r\n\r\n\t 30\r\n");
  EXPECT_EQ(t.Names[0], "Sharky");
  EXPECT_EQ(t.Scores[0], 250);
  EXPECT_EQ(t.Names[1], "Next");
  EXPECT_EQ(t.Scores[1], 30);  // blank lines before a number are skipped
  EXPECT_EQ(t.Names[2], "");
  // Everything below the blank is a separator, even a byte 0.
  EXPECT_EQ(ParseRecords(std::string("a\r\n7\0"
                                     "99\r\n",
                                     9))
                .Scores[0],
            7);
}

TEST(RecordsFile, AScoreThatIsNoNumberIsReportedAndKeepsWhatWasRead) {
  std::array<std::string, kRecordCount> names;
  std::array<int32_t, kRecordCount> scores{};
  names.fill("old");
  scores.fill(-1);
  try {
    ReadRecords("first\r\n10\r\nsecond\r\n1O0\r\nthird\r\n5\r\n", names, scores);
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.what(), "Invalid numeric input");
  }
  EXPECT_EQ(names[0], "first");
  EXPECT_EQ(scores[0], 10);
  EXPECT_EQ(names[1], "second");
  EXPECT_EQ(scores[1], -1);
  EXPECT_EQ(names[2], "old");
  for (const char* bad : {"x\r\n+\r\n", "x\r\n99999999999\r\n", "x\r\n0x10\r\n", "x\r\n--1\r\n"}) {
    EXPECT_THROW(ParseRecords(bad), EInOutError) << bad;
  }
  // A run longer than 32 characters is cut there and then cannot be a number.
  EXPECT_THROW(ParseRecords("x\r\n" + std::string(40, '1') + "\r\n"), EInOutError);
  EXPECT_EQ(ParseRecords("x\r\n-2147483648\r\n").Scores[0], INT32_MIN);
}

TEST(RecordsFile, NamesTravelInWindows1251AndComeBackWhole) {
  TRecordTable table;
  table.Names[0] = "Акула Ёж";
  table.Names[1] = std::string(300, 'w');
  table.Names[2] = "日本 🦈";   // nothing of it fits the code page
  table.Names[3] = "two\r\nlines";  // would end the line early
  table.Scores = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const std::string bytes = FormatRecords(table);
  EXPECT_EQ(bytes.substr(0, 10), "\xC0\xEA\xF3\xEB\xE0 \xA8\xE6\r\n");
  const TRecordTable back = ParseRecords(bytes);
  EXPECT_EQ(back.Names[0], "Акула Ёж");
  EXPECT_EQ(back.Names[1], table.Names[1]);
  EXPECT_EQ(back.Names[2], "?? ?");
  EXPECT_EQ(back.Names[3], "two??lines");
  EXPECT_EQ(back.Scores, table.Scores);
  // Every line ends in CR LF, the last one too.
  int lines = 0;
  for (size_t i = 0; i + 1 < bytes.size(); ++i) lines += bytes.compare(i, 2, "\r\n") == 0 ? 1 : 0;
  EXPECT_EQ(lines, 20);
  EXPECT_EQ(bytes.substr(bytes.size() - 4), "10\r\n");
}

TEST(RecordsFile, NewTotalsGoBelowEqualScores) {
  TRecordTable table = ParseRecords(descendingFile());
  EXPECT_EQ(InsertionRank(table, 900), 3);
  InsertRecord(table, "new", 900);
  EXPECT_EQ(table.Names[1], "n2");
  EXPECT_EQ(table.Names[2], "new");
  EXPECT_EQ(table.Scores[2], 900);
  EXPECT_EQ(table.Names[3], "n3");
  EXPECT_EQ(table.Scores[9], 200);  // the old rank 10 is gone
  InsertRecord(table, "best", 5000);
  EXPECT_EQ(table.Names[0], "best");
  EXPECT_EQ(table.Names[1], "n1");
  const TRecordTable before = table;
  EXPECT_EQ(InsertionRank(table, 300), 11);  // equal to the tenth
  InsertRecord(table, "nobody", 300);
  EXPECT_EQ(table.Names, before.Names);
  EXPECT_EQ(table.Scores, before.Scores);
}

struct RecordsFileTest : ::testing::Test {
  GameFolder folder;
};

TEST_F(RecordsFileTest, LoadingFillsTheTableAndMissingFilesAreReported) {
  LoadRecords();
  EXPECT_EQ(RecordScores[0], 3120);
  EXPECT_EQ(RecordNames[1], "Sharky");
  EXPECT_EQ(RecordNames[0], "Капитан Немо");
  folder.remove("Data/rec.rmw");
  try {
    LoadRecords();
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.what(), "File not found");
  }
}

TEST_F(RecordsFileTest, ASaveWithTheFileGoneBeginsANewTableWithThatEntry) {
  folder.remove("Data/rec.rmw");
  SaveRecord("Акула", 120);
  const TRecordTable saved = ParseRecords(folder.read("Data/rec.rmw"));
  EXPECT_EQ(saved.Names[0], "Акула");
  EXPECT_EQ(saved.Scores[0], 120);
  EXPECT_EQ(saved.Names[1], "");
  EXPECT_EQ(saved.Scores[9], 0);
}

TEST_F(RecordsFileTest, SavingInsertsIntoTheFileAndReplacesItWhole) {
  folder.write("Data/rec.rmw", descendingFile());
  SaveRecord("Зубастик", 900);
  const TRecordTable saved = ParseRecords(folder.read("Data/rec.rmw"));
  EXPECT_EQ(saved.Names[2], "Зубастик");
  EXPECT_EQ(saved.Scores[2], 900);
  // A total that reaches no rank rewrites the file unchanged.
  const std::string before = folder.read("Data/rec.rmw");
  SaveRecord("late", 1);
  EXPECT_EQ(folder.read("Data/rec.rmw"), before);
  // The first positive total into an empty file makes a whole 20-line table.
  folder.write("Data/rec.rmw", "");
  SaveRecord("first", 5);
  const std::string full = folder.read("Data/rec.rmw");
  EXPECT_EQ(full,
            "first\r\n5\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n"
            "\r\n0\r\n");
}

TEST_F(RecordsFileTest, ASaveThatCannotReadOrWriteLeavesTheFileAlone) {
  folder.write("Data/rec.rmw", "a\r\n10\r\nb\r\nten\r\n");
  EXPECT_THROW(SaveRecord("c", 50), EInOutError);
  EXPECT_EQ(folder.read("Data/rec.rmw"), "a\r\n10\r\nb\r\nten\r\n");
  // The disk fills up in the middle of writing the new table: access denied, the old
  // table byte for byte, no temporary file left, and the lock given back.
  FakeApp app;
  auto files = std::make_unique<platform::FakeFiles>();
  platform::FakeFiles& fake = *files;
  app.platform.setFiles(std::move(files));
  folder.write("Data/rec.rmw", descendingFile());
  fake.failWritesAfter(37);
  try {
    SaveRecord("c", 5000);
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.what(), "File access denied: No space left on device");
  }
  EXPECT_EQ(folder.read("Data/rec.rmw"), descendingFile());
  EXPECT_FALSE(std::filesystem::exists(fake.lastTemporary()));
  EXPECT_EQ(fake.locksTaken(), 1);
  EXPECT_EQ(fake.locksHeld(), 0);
  // The same save goes through once the disk has room.
  fake.failWritesAfter(-1);
  SaveRecord("c", 5000);
  EXPECT_EQ(ParseRecords(folder.read("Data/rec.rmw")).Names[0], "c");
}

// On a real file system that fills up, then turns read-only (which stops root too): the
// message says why, and the old table stays whole with nothing left beside it.
TEST_F(RecordsFileTest, AFullOrReadOnlyDiskIsNamedAndTheOldTableStays) {
  const std::filesystem::path data = folder.path("Data");
  REEFMAW_IN_SMALL_FILE_SYSTEM(data, 64 * 1024, [&] {
    folder.write("Data/rec.rmw", descendingFile());
    FillUp(data);
    const auto saveFails = [&](const std::string& message) {
      try {
        SaveRecord("c", 5000);
        ADD_FAILURE() << "no error";
      } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), message);
      }
      EXPECT_EQ(folder.read("Data/rec.rmw"), descendingFile());
      for (const auto& entry : std::filesystem::directory_iterator(data)) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp."), std::string::npos)
            << entry.path();
      }
    };
    saveFails("File access denied: No space left on device");
    std::filesystem::remove(data / "filler");
    ASSERT_TRUE(RemountReadOnly(data));
    saveFails("File access denied: Read-only file system");
  });
}

// Saves 50 records, each better than the last, as a second game would at the same time.
void saveFifty(const std::string& player, int32_t firstScore) {
  for (int i = 0; i < 50; ++i) SaveRecord(player + std::to_string(i), firstScore + 2 * i);
}

TEST_F(RecordsFileTest, TwoGamesSavingAtOnceEachKeepTheirEntries) {
  const std::string shipped = folder.read("Data/rec.rmw");
  std::vector<pid_t> games;
  for (int g = 0; g < 2; ++g) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      saveFifty(g == 0 ? "even" : "odd", 5000 + g);
      _exit(0);
    }
    games.push_back(pid);
  }
  // While they save, the file is always a whole table, best first.
  int reads = 0;
  bool running = true;
  while (running) {
    running = false;
    for (pid_t pid : games) running = running || waitpid(pid, nullptr, WNOHANG) == 0;
    const std::string bytes = folder.read("Data/rec.rmw");
    ++reads;
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2 * kRecordCount) << bytes;
    const TRecordTable table = ParseRecords(bytes);
    EXPECT_TRUE(std::is_sorted(table.Scores.rbegin(), table.Scores.rend())) << bytes;
  }
  for (pid_t pid : games) waitpid(pid, nullptr, 0);
  // All hundred beat the shipped table; the ten best of them are there, in order.
  const TRecordTable saved = ParseRecords(folder.read("Data/rec.rmw"));
  for (int k = 0; k < kRecordCount; ++k) {
    const int32_t score = 5099 - k;
    const std::string name = (score % 2 == 0 ? "even" : "odd") + std::to_string((score - 5000) / 2);
    EXPECT_EQ(saved.Scores[static_cast<size_t>(k)], score) << "rank " << k + 1;
    EXPECT_EQ(saved.Names[static_cast<size_t>(k)], name) << "rank " << k + 1;
  }
  EXPECT_GT(reads, 1);
  EXPECT_NE(shipped, folder.read("Data/rec.rmw"));
}

}  // namespace
