#pragma once
// Where a program looks for the folder of its data, and the first place that holds it.
// Given a folder of the player's choice, that folder alone; otherwise the current folder
// (the program run from its own folder), the installed data folder beside the program,
// and, for a program run from the build folder it was built in, the source folder it was
// built from. The program says what marks its data and how to word the message when
// nothing holds it.

#include <string>
#include <vector>

struct DataPlace {
  std::string folder;      // the folder that holds Data/ (absolute)
  bool installed = false;  // the installed data: each player's files live in their own folder
};

// The places in the order they are tried; chosenFolder (empty: none) is the player's
// choice and the only place then. installedRelative leads from the program's
// folder to the installed data folder; buildFolder and sourceFolder are where the
// program was built from (empty: not known).
std::vector<DataPlace> DataPlaces(const std::string& chosenFolder, const std::string& currentFolder,
                                  const std::string& executablePath,
                                  const std::string& installedRelative,
                                  const std::string& buildFolder, const std::string& sourceFolder);

// True when every mark (a folder's path below folder, such as "Data/Fon") is a folder,
// each of its components in any letter case.
bool HoldsFolders(const std::string& folder, const std::vector<std::string>& marks);

// The first place that holds every mark; null when none does.
const DataPlace* FindDataPlace(const std::vector<DataPlace>& places,
                               const std::vector<std::string>& marks);

// The one message for a search that found nothing: what was missing, every folder looked
// in, one per line, then the hint.
std::string NotFoundMessage(const std::vector<DataPlace>& places, const std::string& missing,
                            const std::string& hint);

// From now on the game's paths resolve in the place: the current folder as it always
// has; another folder the same way from there; the installed data with the files in
// userFiles kept in the player's own folder (see UseInstalledFolders).
void UseDataPlace(const DataPlace& place, const std::string& currentFolder,
                  const std::string& userFolder, const std::vector<std::string>& userFiles);
