#include "game/replay_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Parsed {
  bool ok = false;
  TReplayOptions options;
  std::vector<std::string> rest;
  std::string error;
};

Parsed parse(std::vector<std::string> arguments) {
  Parsed parsed;
  parsed.ok = TakeReplayOptions(arguments, parsed.options, parsed.error);
  parsed.rest = arguments;
  return parsed;
}

TEST(ReplayOptions, TheFlagsAndTheirFilesAreTakenAndTheRestIsLeft) {
  Parsed p = parse({"--window", "--replay", "a game.replay", "--headless", "-x"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.ReplayFile, "a game.replay");
  EXPECT_TRUE(p.options.Headless);
  EXPECT_EQ(p.options.RecordFile, "");
  EXPECT_EQ(p.rest, (std::vector<std::string>{"--window", "-x"}));

  p = parse({"--record=g.replay", "--size=2"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.RecordFile, "g.replay");
  EXPECT_EQ(p.rest, (std::vector<std::string>{"--size=2"}));
}

TEST(ReplayOptions, CombinationsThatMakeNoSenseAreRefused) {
  EXPECT_EQ(parse({"--record"}).error, "--record needs a file");
  EXPECT_EQ(parse({"--replay="}).error, "--replay needs a file");
  EXPECT_EQ(parse({"--headless"}).error, "--headless goes only with --replay");
  EXPECT_EQ(parse({"--record", "a", "--replay", "b"}).error,
            "--record and --replay cannot go together");
  EXPECT_FALSE(parse({"--record", "a", "--headless"}).ok);
}

}  // namespace
