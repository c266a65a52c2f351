#pragma once
// What marks the game's data among the places it looks in: a Data folder with the
// pictures' Fon and Monsters folders. The player names the place with --data.

#include <string>
#include <vector>

#include "framework/data_folders.h"

// The first place whose Data folder holds the game's pictures; null when none does.
const DataPlace* FindGameData(const std::vector<DataPlace>& places);

// The one message for a search that found nothing: every folder looked in.
std::string DataNotFoundMessage(const std::vector<DataPlace>& places);
