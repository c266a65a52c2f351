#include "game/game_data.h"

namespace {
const std::vector<std::string> kGameDataMarks = {"Data/Fon", "Data/Monsters"};
}  // namespace

const DataPlace* FindGameData(const std::vector<DataPlace>& places) {
  return FindDataPlace(places, kGameDataMarks);
}

std::string DataNotFoundMessage(const std::vector<DataPlace>& places) {
  return NotFoundMessage(places, "The game's pictures (a Data folder) were not found.",
                         "Start the game from its folder, or name that folder with --data.");
}
