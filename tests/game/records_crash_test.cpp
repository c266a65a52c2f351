// A save killed at any moment leaves the records file either as it was or as the save
// makes it: never empty, never half written.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <vector>

#include "game/records.h"
#include "support/crash_rounds.h"
#include "support/game_folder.h"

namespace {

// A child that saves a new best, telling its parent through a pipe when the save starts
// and when it is done.
struct SavingChild {
  pid_t pid = -1;
  int pipeIn = -1;

  // Returns once the child begins to save.
  bool start() {
    int fds[2];
    if (pipe(fds) != 0) return false;
    pid = fork();
    if (pid == 0) {
      const char mark = 1;
      if (write(fds[1], &mark, 1) != 1) _exit(2);
      SaveRecord("Killer", 99999);
      if (write(fds[1], &mark, 1) != 1) _exit(2);
      _exit(0);
    }
    close(fds[1]);
    pipeIn = fds[0];
    char mark = 0;
    return pid > 0 && read(pipeIn, &mark, 1) == 1;
  }
  bool waitUntilSaved() {
    char mark = 0;
    return read(pipeIn, &mark, 1) == 1;
  }
  // Reaps the child; true when it was killed.
  bool reap() {
    int status = 0;
    waitpid(pid, &status, 0);
    close(pipeIn);
    return WIFSIGNALED(status);
  }
};

TEST(RecordsCrash, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewTable) {
  GameFolder folder;
  const std::string oldTable = folder.read("Data/rec.rmw");
  // What the save makes: a new best, rank 1.
  SaveRecord("Killer", 99999);
  const std::string newTable = folder.read("Data/rec.rmw");
  ASSERT_NE(oldTable, newTable);

  // How long a save takes in a child, from its start signal to its end, so that the
  // kills are spread over the whole of it.
  using Clock = std::chrono::steady_clock;
  std::vector<int64_t> durations;
  for (int i = 0; i < 7; ++i) {
    folder.write("Data/rec.rmw", oldTable);
    SavingChild child;
    ASSERT_TRUE(child.start());
    const auto started = Clock::now();
    ASSERT_TRUE(child.waitUntilSaved());
    durations.push_back(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started).count());
    child.reap();
  }
  std::sort(durations.begin(), durations.end());
  const int64_t saveMicros = durations[durations.size() / 2];

  std::mt19937 random(20261208);
  std::uniform_int_distribution<int64_t> delay(0, saveMicros);
  int killed = 0;
  int finished = 0;
  int sawOld = 0;
  int sawNew = 0;
  const int total = CrashRounds(300);
  for (int round = 0; round < total; ++round) {
    folder.write("Data/rec.rmw", oldTable);
    SavingChild child;
    ASSERT_TRUE(child.start());
    usleep(static_cast<useconds_t>(delay(random)));
    kill(child.pid, SIGKILL);
    (child.reap() ? killed : finished) += 1;
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
