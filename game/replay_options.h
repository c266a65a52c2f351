#pragma once
// The command-line flags of recorded games: `--record FILE` plays as usual and records
// the game into FILE; `--replay FILE` plays FILE back in a window at its recorded pace;
// `--replay FILE --headless` plays it back without any window, as fast as it can.

#include <string>
#include <vector>

struct TReplayOptions {
  std::string RecordFile;
  std::string ReplayFile;
  bool Headless = false;
};

// The flags' lines of the program's help.
inline constexpr const char* kReplayUsage =
    "  --record FILE        record the game into FILE\n"
    "  --replay FILE        play a recorded game back in a window\n"
    "  --headless           with --replay: no window, as fast as possible; prints the end\n"
    "                       state and fails when it differs from the recorded one\n";

// Takes the three flags (and their files) out of arguments and leaves the rest there.
// False, with error set, for a flag without its file, both --record and --replay, or
// --headless without --replay.
bool TakeReplayOptions(std::vector<std::string>& arguments, TReplayOptions& options,
                       std::string& error);
