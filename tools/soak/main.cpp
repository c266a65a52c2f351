// Plays the whole game with a seeded random stream of a player's actions for a number of
// simulated minutes and reports what happened; exit code 1 when a check failed.
//
//   soak [--seed N] [--minutes M] [--data DIR]

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/soak/soak.h"

int main(int argc, char** argv) {
  SoakOptions options;
  options.dataDir = std::string(REEFMAW_SOURCE_DIR) + "/Data";
  options.progress = true;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seed") == 0) {
      options.seed = std::strtoull(argv[i + 1], nullptr, 10);
    } else if (std::strcmp(argv[i], "--minutes") == 0) {
      options.minutes = std::strtod(argv[i + 1], nullptr);
    } else if (std::strcmp(argv[i], "--data") == 0) {
      options.dataDir = argv[i + 1];
    } else {
      std::fprintf(stderr, "usage: soak [--seed N] [--minutes M] [--data DIR]\n");
      return 2;
    }
  }
  const SoakReport report = RunSoak(options);
  std::fputs(FormatSoakReport(options, report).c_str(), stdout);
  return report.passed() ? 0 : 1;
}
