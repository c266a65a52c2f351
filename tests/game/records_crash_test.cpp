// A save killed at any moment leaves the records file either as it was or as the save
// makes it: never empty, never half written.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>

#include "game/records.h"
#include "support/game_folder.h"

namespace {

// REEFMAW_CRASH_ROUNDS sets how many saves are killed: 300 by default, to keep the suite
// short; a campaign runs it with 1000 or more.
int rounds() {
  const char* value = std::getenv("REEFMAW_CRASH_ROUNDS");
  return value != nullptr ? std::max(1, std::atoi(value)) : 300;
}

TEST(RecordsCrash, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewTable) {
  GameFolder folder;
  const std::string oldTable = folder.read("Data/rec.rmw");
  // What the save makes: a new best, rank 1.
  SaveRecord("Killer", 99999);
  const std::string newTable = folder.read("Data/rec.rmw");
  ASSERT_NE(oldTable, newTable);

  // How long a save takes here, so that the kills are spread over the whole of it.
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  for (int i = 0; i < 5; ++i) {
    folder.write("Data/rec.rmw", oldTable);
    SaveRecord("Killer", 99999);
  }
  const auto saveMicros =
      std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count() / 5;

  std::mt19937 random(20261208);
  std::uniform_int_distribution<int64_t> delay(0, 2 * saveMicros + 200);
  int killed = 0;
  int finished = 0;
  int sawOld = 0;
  int sawNew = 0;
  const int total = rounds();
  for (int round = 0; round < total; ++round) {
    folder.write("Data/rec.rmw", oldTable);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      SaveRecord("Killer", 99999);
      _exit(0);
    }
    usleep(static_cast<useconds_t>(delay(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    (WIFSIGNALED(status) ? killed : finished) += 1;
    const std::string now = folder.read("Data/rec.rmw");
    ASSERT_TRUE(now == oldTable || now == newTable)
        << "round " << round << ": " << now.size() << " bytes";
    (now == oldTable ? sawOld : sawNew) += 1;
  }
  std::cout << "saves killed: " << killed << " of " << total << " (" << finished
            << " finished first); file old " << sawOld << " times, new " << sawNew
            << " times; a save takes about " << saveMicros << " us\n";
  EXPECT_GT(killed, 0);
}

}  // namespace
