#pragma once
// The program's runs of the game: played on a platform (and recorded into a file when
// asked), or played back from a recording.

#include <cstdio>
#include <string>

struct TGameOptions;
namespace platform {
class Platform;
}

// Plays the game until its main window closes. With a record file, everything the game
// reads from the platform is recorded there, and the file is written when the game ends
// in any way. Gives the program's exit code.
int PlayGame(platform::Platform& platform, const TGameOptions& options,
             const std::string& recordFile = std::string());

// Plays a recorded game back: in windows of the display at the recorded pace, or, with
// no display, headless as fast as it can. Prints the end state in one line on out, and
// on err why the replay did not end as recorded (a damaged file, the first frame whose
// state differs, the player closing the window). dataFolder is the installed data
// folder, or empty when the game's data is the current directory's. The player's
// records file is never touched: the game plays with the records recorded at its start.
// Gives 0 when the game ended as recorded.
int ReplayGame(const std::string& file, platform::Platform* display, const std::string& dataFolder,
               std::FILE* out, std::FILE* err);
