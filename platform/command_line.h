#pragma once
// The program's command line, read with GLib's option parser. The layers above see only
// the plain result: the flags given, or what to print and the exit code when the program
// is to end at once (--help, --version, a flag it does not know or a bad value).

#include <string>
#include <vector>

namespace platform {

// The flags of one run; each holds for this run only.
struct CommandLine {
  bool fullscreen = false;  // --fullscreen
  bool window = false;      // --window
  int width = 0;            // --size WxH; 0 when not given
  int height = 0;
  std::string dataFolder;  // --data DIR: the folder that holds Data/
  bool noJoystick = false;
  std::string configFile;  // --config FILE
  bool resetSettings = false;
  std::string recordFile;  // --record FILE: the game is recorded there
  std::string replayFile;  // --replay FILE: a recorded game played back
  bool headless = false;   // --headless, with --replay only
  std::string language;    // --language CODE; empty when not given
};

// The smallest and largest window --size accepts, and the settings file too.
inline constexpr int kMinWindowWidth = 160;
inline constexpr int kMinWindowHeight = 120;
inline constexpr int kMaxWindowSide = 16384;

struct CommandLineOutcome {
  CommandLine flags;
  bool exit = false;   // the program ends at once with exitCode, after printing
  int exitCode = 0;    // 0 for --help and --version, 2 for a refused command line
  std::string output;  // for standard output
  std::string error;   // for standard error
};

// Reads the arguments after the program's name. `program` is the name usage lines give,
// `version` what --version prints after it, `languages` the codes --language accepts.
CommandLineOutcome parseCommandLine(const std::vector<std::string>& arguments,
                                    const std::string& program, const std::string& version,
                                    const std::vector<std::string>& languages = {"ru", "en"});

// Reads "WxH" (such as 1024x768) with each side within the window limits above; false
// with the reason otherwise.
bool parseWindowSize(const std::string& text, int& width, int& height, std::string& reason);

}  // namespace platform
