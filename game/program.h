#pragma once
// The program's runs of the game: played on a platform with the player's settings (and
// recorded into a file when asked), or played back from a recording.

#include <cstdio>
#include <functional>
#include <string>

struct Settings;
class TMainForm;
namespace platform {
class Platform;
}

// Plays the game with the settings until its main window closes; then, when it ended
// without an error, hands the main window to atEnd (which keeps the player's choices).
// With a record file, everything the game reads from the platform is recorded there,
// with the settings and the records table it started with, and the file is written when
// the game ends in any way. Gives the program's exit code.
int PlayGame(platform::Platform& platform, const Settings& settings,
             const std::string& recordFile = std::string(),
             const std::function<void(TMainForm&)>& atEnd = {});

// Plays a recorded game back with the settings it was recorded with: in windows of the
// display at the recorded pace, or, with no display, headless as fast as it can. Prints
// the end state in one line on out, and on err why the replay did not end as recorded (a
// damaged file, the first frame whose state differs, the player closing the window).
// dataFolder holds the game's Data folder (empty: the current directory). Neither the
// player's records nor their settings are touched: the game plays with the records table
// recorded at its start, in a folder of its own. Gives 0 when the game ended as recorded.
int ReplayGame(const std::string& file, platform::Platform* display, const std::string& dataFolder,
               std::FILE* out, std::FILE* err);
