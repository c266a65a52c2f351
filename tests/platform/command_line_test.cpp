#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

CommandLineOutcome parse(std::vector<std::string> arguments) {
  return parseCommandLine(arguments, "reefmaw", "1.2.3");
}

// A refusal is the line naming the problem, then the usage hint, and exit code 2.
void expectRefused(const std::vector<std::string>& arguments, const std::string& named) {
  const CommandLineOutcome outcome = parse(arguments);
  EXPECT_TRUE(outcome.exit);
  EXPECT_EQ(outcome.exitCode, 2);
  EXPECT_TRUE(outcome.output.empty());
  const std::string& error = outcome.error;
  const size_t lineEnd = error.find('\n');
  ASSERT_NE(lineEnd, std::string::npos) << error;
  EXPECT_EQ(error.rfind("reefmaw: ", 0), 0u) << error;
  EXPECT_NE(error.substr(0, lineEnd).find(named), std::string::npos) << error;
  EXPECT_EQ(error.substr(lineEnd + 1), "Try 'reefmaw --help' for more information.\n");
}

TEST(CommandLine, NoFlagsRunTheGameWithTheSettingsAlone) {
  const CommandLineOutcome outcome = parse({});
  EXPECT_FALSE(outcome.exit);
  EXPECT_FALSE(outcome.flags.fullscreen);
  EXPECT_FALSE(outcome.flags.window);
  EXPECT_EQ(outcome.flags.width, 0);
  EXPECT_TRUE(outcome.flags.dataFolder.empty());
  EXPECT_TRUE(outcome.flags.configFile.empty());
}

TEST(CommandLine, EveryFlagIsRead) {
  const CommandLineOutcome outcome =
      parse({"--window", "--size", "1024x768", "--data=/opt/reef", "--no-joystick", "--config",
             "my settings.ini", "--reset-settings", "--language", "en"});
  ASSERT_FALSE(outcome.exit) << outcome.error;
  const CommandLine& f = outcome.flags;
  EXPECT_TRUE(f.window);
  EXPECT_FALSE(f.fullscreen);
  EXPECT_EQ(f.width, 1024);
  EXPECT_EQ(f.height, 768);
  EXPECT_EQ(f.dataFolder, "/opt/reef");
  EXPECT_TRUE(f.noJoystick);
  EXPECT_EQ(f.configFile, "my settings.ini");
  EXPECT_TRUE(f.resetSettings);
  EXPECT_EQ(f.language, "en");
  EXPECT_TRUE(parse({"--fullscreen"}).flags.fullscreen);
}

TEST(CommandLine, RecordedGamesHaveTheirFlags) {
  CommandLineOutcome outcome = parse({"--record=game one.replay"});
  ASSERT_FALSE(outcome.exit) << outcome.error;
  EXPECT_EQ(outcome.flags.recordFile, "game one.replay");
  EXPECT_TRUE(outcome.flags.replayFile.empty());
  outcome = parse({"--replay", "g.replay", "--headless", "--data", "/opt/reef"});
  ASSERT_FALSE(outcome.exit) << outcome.error;
  EXPECT_EQ(outcome.flags.replayFile, "g.replay");
  EXPECT_TRUE(outcome.flags.headless);
  EXPECT_EQ(outcome.flags.dataFolder, "/opt/reef");
  expectRefused({"--record"}, "--record");
  expectRefused({"--replay="}, "--replay needs a file");
  expectRefused({"--headless"}, "--headless goes only with --replay");
  expectRefused({"--record", "a", "--replay", "b"}, "--record and --replay");
}

TEST(CommandLine, HelpAndVersionPrintAndEndWithZero) {
  for (const char* flag : {"--help", "-h"}) {
    const CommandLineOutcome help = parse({"--size", "800x600", flag});
    EXPECT_TRUE(help.exit);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.rfind("Usage: reefmaw [OPTION...]\n", 0), 0u) << help.output;
    for (const char* listed :
         {"--version", "--fullscreen", "--window", "--size WxH", "--data DIR", "--no-joystick",
          "--config FILE", "--reset-settings", "--record FILE", "--replay FILE", "--headless",
          "--language CODE", "(ru or en)"}) {
      EXPECT_NE(help.output.find(listed), std::string::npos) << listed;
    }
    EXPECT_TRUE(help.error.empty());
  }
  const CommandLineOutcome version = parse({"--version"});
  EXPECT_TRUE(version.exit);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.output, "reefmaw 1.2.3\n");
}

TEST(CommandLine, UnknownFlagsAndBadValuesAreRefusedByName) {
  expectRefused({"--fly"}, "--fly");
  expectRefused({"--size", "0x0"}, "0x0");
  expectRefused({"--size", "abc"}, "abc");
  expectRefused({"--size", "800x"}, "800x");
  expectRefused({"--size", "-800x600"}, "-800x600");
  expectRefused({"--size", "99999999x600"}, "99999999x600");
  expectRefused({"--size"}, "--size");
  expectRefused({"--data", ""}, "--data");
  expectRefused({"extra"}, "extra");
  expectRefused({"--window", "--fullscreen"}, "--fullscreen and --window");
  expectRefused({"--language", "de"}, "\"de\" for --language: it must be ru or en");
}

TEST(CommandLine, WindowSizesAreWholeNumbersWithinTheLimits) {
  int w = 0;
  int h = 0;
  std::string reason;
  EXPECT_TRUE(parseWindowSize("160x120", w, h, reason));
  EXPECT_EQ(w, 160);
  EXPECT_TRUE(parseWindowSize("3840X2160", w, h, reason));
  EXPECT_EQ(h, 2160);
  for (const char* bad : {"159x120", "800x119", "16385x600", "x", "", "800 x 600", "+800x600",
                          "800x600x2", "1e3x600"}) {
    EXPECT_FALSE(parseWindowSize(bad, w, h, reason)) << bad;
    EXPECT_FALSE(reason.empty());
  }
}

}  // namespace
}  // namespace platform
