// The program as a player starts it: installed into a prefix and started from elsewhere,
// with its records kept per user, and started where it cannot show a window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// Runs a shell command; its exit code, or -1 when it did not exit normally.
int run(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// The lines the program itself wrote (a sanitizer's report of suppressions is not one).
std::vector<std::string> programLines(const std::string& err) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < err.size()) {
    size_t end = err.find('\n', start);
    if (end == std::string::npos) end = err.size();
    const std::string line = err.substr(start, end - start);
    if (line.rfind("reefmaw: ", 0) == 0) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The process id keeps the suites of several work trees on one machine apart.
    dir_ = fs::temp_directory_path() /
           ("reefmaw_program_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "elsewhere");
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Starts a program from the folder `elsewhere` with only the given environment (a
  // sanitizer's settings pass through) and the given arguments, and gives its exit code; its
  // standard error goes to err.txt. With `seconds` it is ended with SIGTERM if it still runs by
  // then; without, it is ended half a second after it starts to handle SIGTERM itself.
  int start(const fs::path& program, const std::string& environment, double seconds = 0,
            const std::string& arguments = "") {
    std::string command = "cd " + quoted(dir_ / "elsewhere") + " && env -i PATH=/usr/bin:/bin";
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
      if (const char* value = std::getenv(name)) command += std::string(" ") + name + "=" + value;
    }
    command += " " + environment;
    const std::string output = " " + arguments + " >/dev/null 2>" + quoted(dir_ / "err.txt");
    if (seconds > 0) {
      return run(command + " timeout --preserve-status -s TERM " + std::to_string(seconds) + " " +
                 quoted(program) + output);
    }
    // The mask of caught signals in /proc tells when SIGTERM (bit 14) has its handler. A
    // sanitized build on a busy machine may take many seconds to get there: up to 30 s.
    return run(command + " " + quoted(program) + output +
               " & pid=$!; for i in $(seq 600); do"
               " mask=$(awk '/^SigCgt/ {print $2}' /proc/$pid/status 2>/dev/null);"
               " [ -n \"$mask\" ] && [ $(( 0x$mask >> 14 & 1 )) -eq 1 ] && break; sleep 0.05;"
               " done; sleep 0.5; kill -TERM $pid; wait $pid");
  }

  fs::path dir_;
};

TEST_F(ProgramTest, WithoutADisplayItSaysSoInOneLineAndEndsAtOnce) {
  // A program still waiting after 5 s is ended by SIGTERM, which would not give code 1.
  const int code = start(REEFMAW_GAME, "HOME=" + dir_.string(), 5);
  EXPECT_EQ(code, 1);
  const std::string err = FileBytes(dir_ / "err.txt");
  EXPECT_NE(err.find("DISPLAY"), std::string::npos) << err;
  ASSERT_FALSE(err.empty());
  EXPECT_EQ(err.find('\n'), err.size() - 1) << "more than one line: " << err;
}

TEST_F(ProgramTest, HelpAndVersionNeedNoDisplay) {
  const std::string out = quoted(dir_ / "out.txt");
  const std::string program = quoted(REEFMAW_GAME);
  EXPECT_EQ(run("env -i " + program + " --help >" + out + " 2>" + quoted(dir_ / "err.txt")), 0);
  const std::string help = FileBytes(dir_ / "out.txt");
  EXPECT_EQ(help.rfind("Usage: reefmaw [OPTION...]\n", 0), 0u) << help;
  EXPECT_NE(help.find("--window"), std::string::npos);
  EXPECT_EQ(FileBytes(dir_ / "err.txt"), "");
  EXPECT_EQ(run("env -i " + program + " --version >" + out), 0);
  EXPECT_EQ(FileBytes(dir_ / "out.txt"), "reefmaw 1.0.0\n");
}

TEST_F(ProgramTest, AFlagItDoesNotKnowOrABadValueEndsItWithCode2) {
  for (const char* flags : {"--fly", "--size 0x0", "--size abc", "--language de"}) {
    const int code =
        run("env -i " + quoted(REEFMAW_GAME) + " " + flags + " 2>" + quoted(dir_ / "err.txt"));
    EXPECT_EQ(code, 2) << flags;
    const std::string err = FileBytes(dir_ / "err.txt");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
    EXPECT_NE(err.find("Try 'reefmaw --help'"), std::string::npos) << err;
  }
}

TEST_F(ProgramTest, FromItsBuildFolderItFindsTheSourcesDataAndWritesTheSettings) {
  const std::string environment =
      "HOME=" + (dir_ / "home").string() + " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy";
  EXPECT_EQ(start(REEFMAW_GAME, environment), 0) << FileBytes(dir_ / "err.txt");
  EXPECT_TRUE(programLines(FileBytes(dir_ / "err.txt")).empty()) << FileBytes(dir_ / "err.txt");
  const fs::path settings = dir_ / "home" / ".config" / "reefmaw" / "reefmaw.ini";
  const std::string text = FileBytes(settings);
  EXPECT_NE(text.find("fullscreen=true\n"), std::string::npos) << text;
  // Flags hold for one run: the file stays as it was.
  EXPECT_EQ(start(REEFMAW_GAME, environment, 0, "--window --size 1024x768"), 0)
      << FileBytes(dir_ / "err.txt");
  EXPECT_EQ(FileBytes(settings), text);
  // A bad value is one warning line, and the game runs with the default.
  std::string bad = text;
  bad.replace(bad.find("scaling=fit"), 11, "scaling=huge");
  std::ofstream(settings, std::ios::binary | std::ios::trunc) << bad;
  EXPECT_EQ(start(REEFMAW_GAME, environment), 0);
  const std::vector<std::string> lines = programLines(FileBytes(dir_ / "err.txt"));
  ASSERT_EQ(lines.size(), 1u) << FileBytes(dir_ / "err.txt");
  EXPECT_NE(lines[0].find("scaling=huge"), std::string::npos) << lines[0];
}

TEST_F(ProgramTest, WithoutItsPicturesItSaysWhereItLookedAndEndsWithCode1) {
  fs::create_directories(dir_ / "empty" / "Data");
  const std::string environment =
      "HOME=" + (dir_ / "home").string() + " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy";
  EXPECT_EQ(start(REEFMAW_GAME, environment, 0, "--data " + quoted(dir_ / "empty")), 1);
  const std::string err = FileBytes(dir_ / "err.txt");
  EXPECT_NE(err.find("reefmaw:   " + (dir_ / "empty").string() + "\n"), std::string::npos) << err;
  EXPECT_EQ(err.find("File not found"), std::string::npos) << err;
}

TEST_F(ProgramTest, InstalledItRunsFromAnywhereAndKeepsRecordsPerUser) {
  const fs::path prefix = dir_ / "prefix";
  ASSERT_EQ(run(std::string("'") + REEFMAW_CMAKE + "' --install '" + REEFMAW_BUILD_DIR +
                "' --prefix " + quoted(prefix) + " >/dev/null"),
            0);
  const fs::path program = prefix / "games" / "reefmaw";
  const fs::path shipped = prefix / "share" / "games" / "reefmaw" / "Data" / "rec.rmw";
  ASSERT_TRUE(fs::exists(program));
  ASSERT_TRUE(fs::exists(shipped));
  ASSERT_TRUE(fs::exists(prefix / "share/games/reefmaw/Data/Fon/3.bmp"));
  // The English catalogue where gettext looks, and the pictures with English words.
  EXPECT_TRUE(fs::exists(prefix / "share/locale/en/LC_MESSAGES/reefmaw.mo"));
  EXPECT_TRUE(fs::exists(prefix / "share/games/reefmaw/Data/lang/en/menu/fon/3.bmp"));
  for (const char* size : {"48x48", "128x128", "256x256"}) {
    EXPECT_TRUE(fs::exists(prefix / "share/icons/hicolor" / size / "apps/reefmaw.png")) << size;
  }
  EXPECT_TRUE(fs::exists(prefix / "share/icons/hicolor/scalable/apps/reefmaw.svg"));
  const fs::path entry = prefix / "share/applications/reefmaw.desktop";
  EXPECT_NE(FileBytes(entry).find("Exec=" + program.string() + "\n"), std::string::npos);
  EXPECT_EQ(run("desktop-file-validate " + quoted(entry)), 0);
  // The metainfo, checked with the desktop entry it names, and the manual page.
  EXPECT_TRUE(fs::exists(prefix / "share/metainfo/org.example.reefmaw.metainfo.xml"));
  EXPECT_EQ(run("appstreamcli validate-tree --no-net --strict " + quoted(prefix) + " >/dev/null"),
            0);
  EXPECT_TRUE(fs::exists(prefix / "share/man/man6/reefmaw.6"));

  const fs::path userFolder = dir_ / "xdg" / "reefmaw";
  const std::string environment = "HOME=" + (dir_ / "home").string() +
                                  " XDG_DATA_HOME=" + (dir_ / "xdg").string() +
                                  " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy";
  const std::string original = FileBytes(shipped);
  EXPECT_EQ(start(program, environment), 0) << FileBytes(dir_ / "err.txt");
  const fs::path records = userFolder / "rec.rmw";
  ASSERT_TRUE(fs::exists(records));
  EXPECT_EQ(FileBytes(records), original);
  // The player's table changes; the next start keeps it, and the shipped one is untouched.
  std::string changed = original;
  const size_t sharky = changed.find("Sharky");
  ASSERT_NE(sharky, std::string::npos);
  changed.replace(sharky, 6, "Tester");
  std::ofstream(records, std::ios::binary | std::ios::trunc) << changed;
  EXPECT_EQ(start(program, environment), 0) << FileBytes(dir_ / "err.txt");
  EXPECT_EQ(FileBytes(records), changed);
  EXPECT_EQ(FileBytes(shipped), original);
  EXPECT_FALSE(fs::exists(dir_ / "elsewhere" / "Data"));
}

// Recorded games through the program's flags, run from the source folder (its Data) with
// no display at all.
class ReplayProgramTest : public ProgramTest {
 protected:
  int replay(const std::string& arguments, const std::string& environment = "") {
    std::string command = "cd '" REEFMAW_SOURCE_DIR "' && env -i PATH=/usr/bin:/bin";
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
      if (const char* value = std::getenv(name)) command += std::string(" ") + name + "=" + value;
    }
    return run(command + " HOME=" + quoted(dir_) + " " + environment + " " + quoted(REEFMAW_GAME) +
               " " + arguments + " >" + quoted(dir_ / "out.txt") + " 2>" +
               quoted(dir_ / "err.txt"));
  }
  std::string out() const { return FileBytes(dir_ / "out.txt"); }
  std::string err() const { return FileBytes(dir_ / "err.txt"); }
};

TEST_F(ReplayProgramTest, AHeadlessReplayNeedsNoDisplayAndPrintsTheEndState) {
  EXPECT_EQ(replay("--replay tests/replays/level_completed.replay --headless"), 0) << err();
  EXPECT_EQ(out(), "level 2, points 2.00, life 81.00, hunger 26.27, total 102, frames 1996\n");
  EXPECT_EQ(err(), "");
}

TEST_F(ReplayProgramTest, ADamagedRecordingIsNamedInOneLine) {
  const std::string bytes =
      FileBytes(fs::path(REEFMAW_SOURCE_DIR) / "tests/replays/game_over.replay");
  const fs::path cut = dir_ / "cut.replay";
  std::ofstream(cut, std::ios::binary) << bytes.substr(0, 1000);
  EXPECT_EQ(replay("--replay " + quoted(cut) + " --headless"), 1);
  EXPECT_EQ(err(), "reefmaw: " + cut.string() + ": the recording is cut short\n");
  EXPECT_EQ(out(), "");
}

TEST_F(ReplayProgramTest, HeadlessWithoutAReplayIsRefused) {
  EXPECT_EQ(replay("--headless"), 2);
  EXPECT_EQ(err().find("reefmaw: --headless goes only with --replay\n"), 0u) << err();
  EXPECT_EQ(out(), "");
}

// A Russian locale made for the test (the machine may have none generated): the settings
// file the game writes at its first start and the headless replay's line, with its
// decimal points, come out the same byte for byte as under C, in Russian and in English.
TEST_F(ReplayProgramTest, NumbersReadAndWriteTheSameUnderARussianLocale) {
  // Made once and kept in the build folder: making it takes seconds and it never changes.
  // It is made under a name of its own and renamed, so a run that stops halfway or a
  // second run at the same time never sees half a locale.
  const fs::path locales = fs::path(REEFMAW_BUILD_DIR) / "test-locales";
  if (!fs::exists(locales / "ru_RU.UTF-8" / "LC_NUMERIC")) {
    const fs::path making = locales / ("making." + std::to_string(getpid()));
    fs::create_directories(locales);
    if (run("localedef -i ru_RU -f UTF-8 " + quoted(making) + " >/dev/null 2>&1") != 0) {
      fs::remove_all(making);
      GTEST_SKIP() << "localedef cannot make ru_RU.UTF-8 here (Debian's locales package)";
    }
    std::error_code ec;
    fs::rename(making, locales / "ru_RU.UTF-8", ec);
    if (ec) fs::remove_all(making);  // another run made it first
  }
  ASSERT_EQ(
      run("LOCPATH=" + quoted(locales) + " LC_ALL=ru_RU.UTF-8 locale -k decimal_point | grep -q ,"),
      0)
      << "the made locale writes numbers with a comma";
  const std::string russian = "LOCPATH=" + quoted(locales) + " LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8";
  std::vector<std::string> lines;
  std::vector<std::string> settings;
  // Russian numbers, and the English catalogue in use (it switches the messages' locale).
  for (const std::string& locale : {std::string("LC_ALL=C"), russian + " LANGUAGE=en"}) {
    SCOPED_TRACE(locale);
    EXPECT_EQ(replay("--replay tests/replays/level_completed.replay --headless", locale), 0)
        << err();
    lines.push_back(out());
    const fs::path home = dir_ / ("home" + std::to_string(settings.size()));
    EXPECT_EQ(start(REEFMAW_GAME, locale + " HOME=" + home.string() +
                                      " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy"),
              0)
        << FileBytes(dir_ / "err.txt");
    settings.push_back(FileBytes(home / ".config" / "reefmaw" / "reefmaw.ini"));
  }
  EXPECT_EQ(lines[0], "level 2, points 2.00, life 81.00, hunger 26.27, total 102, frames 1996\n");
  EXPECT_FALSE(settings[0].empty());
  for (size_t i = 1; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i], lines[0]);
    EXPECT_EQ(settings[i], settings[0]);
  }
}

}  // namespace
