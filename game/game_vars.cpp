#include "game/game_vars.h"

TGameVars GameVars;
