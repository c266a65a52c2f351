#pragma once
// Where the game looks for its Data folder, and the first place that holds the game's
// pictures. Given --data, its folder alone; otherwise the current folder (the game run
// from its own folder), the installed data folder beside the program, and, for a program
// run from the build folder it was built in, the source folder it was built from.

#include <string>
#include <vector>

struct DataPlace {
  std::string folder;      // the folder that holds Data/ (absolute)
  bool installed = false;  // the installed data: each player's files live in their own folder
};

// The places in the order they are tried. installedRelative leads from the program's
// folder to the installed data folder; buildFolder and sourceFolder are where the
// program was built from (empty: not known).
std::vector<DataPlace> DataPlaces(const std::string& dataFlag, const std::string& currentFolder,
                                  const std::string& executablePath,
                                  const std::string& installedRelative,
                                  const std::string& buildFolder, const std::string& sourceFolder);

// True when folder/Data holds the game's pictures: its Fon and Monsters folders, in any
// letter case.
bool HoldsGameData(const std::string& folder);

// The first place that holds the game's pictures; null when none does.
const DataPlace* FindGameData(const std::vector<DataPlace>& places);

// The one message for a search that found nothing: every folder looked in.
std::string DataNotFoundMessage(const std::vector<DataPlace>& places);

// From now on the game's paths resolve in the place: the current folder as it always
// has; another folder the same way from there; the installed data with the files in
// userFiles kept in the player's own folder (see UseInstalledFolders).
void UseDataPlace(const DataPlace& place, const std::string& currentFolder,
                  const std::string& userFolder, const std::vector<std::string>& userFiles);
