#pragma once
// Saving a file whole or not at all, the one way every file of the game is saved (the
// records, the settings, the recordings): the bytes go to a temporary file of the save's
// own beside the target, which is pushed to the disk and renamed over the target, and the
// rename itself is pushed to the disk with the folder. A failure at any point takes the
// temporary file away and leaves the old file whole. Temporary files that a save killed
// halfway left behind are removed by the next save of the same target.
//
// And the one way a whole file is read.

#include <cstddef>
#include <stdexcept>
#include <string>

#include "platform/files.h"

namespace platform {

// A save that failed. what() is the system's reason in its own words ("No space left on
// device").
class SaveError : public std::runtime_error {
 public:
  SaveError(bool created, int error);
  // False when the temporary file could not even be made (a missing or read-only folder).
  bool created;
  int error;  // errno
};

// One save under way. Raises SaveError from every step that fails.
class SafeSave {
 public:
  // Removes what killed saves of the target left behind, then makes this save's own
  // temporary file.
  SafeSave(Files& files, std::string target);
  // A save that was not committed is taken back: its temporary file goes.
  ~SafeSave();
  SafeSave(const SafeSave&) = delete;
  SafeSave& operator=(const SafeSave&) = delete;

  void write(const void* data, size_t size);
  // Puts the written bytes in the target's place, for good.
  void commit();

 private:
  void abandon();

  Files& files_;
  std::string target_;
  std::string temporary_;
  int handle_ = -1;  // -1 once closed
  bool committed_ = false;
};

// A whole save in one call.
void saveFile(Files& files, const std::string& target, const void* data, size_t size);

// Reads the whole file into bytes. Gives 0, or the errno of the failure (ENOENT for a
// missing file; a folder opens but gives EISDIR).
int readWholeFile(const std::string& path, std::string& bytes);

}  // namespace platform
