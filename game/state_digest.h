#pragma once
// The game's state as a recorded game checks it: one number after every frame, so that a
// replay that plays differently is caught at the first frame where it does, and a line
// in words at the end.

#include <cstdint>
#include <string>

class TMainForm;

// The program-wide values (GameVars, the random generator's seed, the records table) as a
// fresh process has them, so that a run, recorded or replayed, starts as the program does.
void ResetProgramValues();

// The game-state record, the picture screens' counter, the score text, the random
// generator's seed, and the place and size of every sprite. form may be null (the main window
// was never made): then only the program-wide values count.
uint64_t GameStateDigest(const TMainForm* form);

// "level 2, points 37.25, life 81.40, hunger 12.03, total 137, frames 4711".
std::string EndStateLine(const TMainForm* form);
