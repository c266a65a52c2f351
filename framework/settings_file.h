#pragma once
// The program's settings file: a key file with a comment above every key, which the
// player may edit. The program reads every key's text from it, writes it at the first
// start with every key at its default, adds keys it lacks, and later changes only the keys
// whose value changed, so the player's own comments and keys stay. Each problem met
// becomes one line of warning; none of them stops the program, which then goes on with
// the defaults. Every write replaces the file atomically under the file's lock.

#include <string>
#include <utility>
#include <vector>

#include "framework/paths.h"

// One key: where it lives, what it does (the comment written above it) and its default.
struct SettingsKey {
  std::string group;
  std::string key;
  std::string comment;
  std::string defaultText;
};

class SettingsFile {
 public:
  // `keys` in the order a fresh file lists them; `heading` is the comment at its top. An
  // empty path means no file: every key keeps its default and nothing is written.
  SettingsFile(const std::string& path, std::vector<SettingsKey> keys, std::string heading);

  const std::string& Path() const { return path_; }
  const std::vector<SettingsKey>& Keys() const { return keys_; }

  // The text of every key, in key order: the file's, or the default where the file lacks
  // the key. A missing file is written with every default; one that is no key file is
  // kept aside as <file>.bad and written afresh; keys it lacks are added. With `reset` the
  // old file is kept aside as <file>.old and a fresh one written. A file that exists but
  // cannot be read gives the defaults and is never written in this run.
  std::vector<std::string> Load(bool reset, std::vector<std::string>& warnings);

  // Writes the new texts of these keys (index into Keys()) into the file as it is on the
  // disk now, keeping everything else in it.
  void Update(const std::vector<std::pair<size_t, std::string>>& changes,
              std::vector<std::string>& warnings);

  // The key file's text for these key texts, as a fresh file has it.
  std::string FreshText(const std::vector<std::string>& texts) const;

 private:
  // Makes the file's folder and holds the file's lock for a read and a write.
  FileLock lock() const;
  // Reads the file's text; false with the system's reason when it exists but cannot be
  // read. A missing file reads as missing.
  bool read(std::string& text, bool& missing, std::string& reason) const;
  bool write(const std::string& text, std::vector<std::string>& warnings) const;
  std::string warning(const std::string& problem) const;
  std::vector<std::string> defaults() const;

  std::string path_;
  std::vector<SettingsKey> keys_;
  std::string heading_;
  bool writable_ = true;
};
