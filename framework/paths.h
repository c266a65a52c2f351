#pragma once
// The game names its files Windows-style (`Data\Fon\3.bmp`, `data\rec.rmw`): backslashes
// and any letter case, relative to the game's folder. Run from its source folder, that is
// the current directory. Installed, it is the installed data folder, and the files the
// game writes live in a folder of each user's own instead, so the code keeps naming them
// the same way wherever the game runs.

#include <cstdint>
#include <string>
#include <vector>

// Turns a game path into a path of this file system: `\` becomes `/`, and every
// component that does not exist as written is matched case-insensitively against its
// directory's entries. A component with no match is kept as written, so errors name it.
// Installed (UseInstalledFolders), relative paths start from the data folder, and the
// user's files resolve into the user's folder.
std::string ResolvePath(const std::string& gamePath);

bool FileExists(const std::string& gamePath);

// Writes data to a temporary file of its own beside the target, pushes it to the disk and
// renames it over the target, so a failure at any point leaves the old file whole, and
// saves of several games at once never write into each other's temporary file. Goes
// through the platform's files. Raises EFCreateError or EWriteError.
void WriteFileAtomically(const std::string& gamePath, const std::vector<uint8_t>& data);

// Holds the exclusive lock of a game file while it lives (a lock file beside it, named
// after it with ".lock"), so that the read, change and write of one game's save never
// interleave with another's. A lock file that cannot be made leaves the file unlocked:
// the write that follows then fails as it would anyway, with its own reason.
class FileLock {
 public:
  explicit FileLock(const std::string& gamePath);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Locked() const { return handle_ >= 0; }

 private:
  int handle_;
};

// From now on relative game paths resolve under dataFolder, except the game paths in
// userFiles (such as `data\rec.rmw`), which resolve to userFolder/<their file name>. A
// user's file that does not exist yet is made from the shipped one, once; the shipped
// files are never written. An empty userFolder (no home folder) means the current
// directory. Failing to make the folder or a copy is not an error here:
// reading the file then fails as for any missing file, and writing it names the place.
void UseInstalledFolders(const std::string& dataFolder, const std::string& userFolder,
                         const std::vector<std::string>& userFiles);

// From now on relative game paths resolve under folder, the records file included, as
// they resolve under the current directory by default.
void UseDataFolder(const std::string& folder);

// As UseInstalledFolders, but the user's files are taken as they are in userFolder: none
// is made from the shipped ones. An empty dataFolder means the current directory. A
// replay keeps the records it plays with in a folder of its own this way.
void UseOwnUserFiles(const std::string& dataFolder, const std::string& userFolder,
                     const std::vector<std::string>& userFiles);

// Back to game paths relative to the current directory, as when nothing was configured.
void UseCurrentFolder();

// Where the files of one user go: $XDG_DATA_HOME/<name>, by default
// ~/.local/share/<name>; empty when neither that nor the home folder is known.
std::string UserDataFolder(const std::string& name);
// Where the settings of one user go: $XDG_CONFIG_HOME/<name>, by default
// ~/.config/<name>; empty when neither that nor the home folder is known.
std::string UserConfigFolder(const std::string& name);
