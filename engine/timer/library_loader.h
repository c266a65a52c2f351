#pragma once
// Optional system libraries, loaded on first use by name (once per name, compared
// without regard to case) and unloaded when the program ends.

#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

class TLibraryTable {
 public:
  explicit TLibraryTable(platform::LibraryLoader& loader) : loader_(loader) {}
  ~TLibraryTable();
  TLibraryTable(const TLibraryTable&) = delete;
  TLibraryTable& operator=(const TLibraryTable&) = delete;

  // The entry's address; raises Exception "%s not loaded" with the library's name when
  // the library cannot be loaded or lacks the entry.
  void* LoadProc(const std::string& library, const std::string& entry);
  int Count() const { return static_cast<int>(libraries_.size()); }

 private:
  platform::LibraryLoader& loader_;
  std::vector<std::pair<std::string, void*>> libraries_;
};

// The program's library table, over the application's platform.
void* LoadProc(const std::string& library, const std::string& entry);
// Unloads every library of the program's table; the program's end calls it.
void FreeLibraries();
