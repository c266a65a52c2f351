#pragma once
// A settings file in the freedesktop.org key-file form ([group] headings, key=value lines,
// # comments), read and written with GLib's GKeyFile. What the program does not know is
// kept: a rewrite writes back every group, key and comment it read, changing only the
// values it was told to set.

#include <memory>
#include <string>

namespace platform {

class KeyFile {
 public:
  KeyFile();
  ~KeyFile();
  KeyFile(const KeyFile&) = delete;
  KeyFile& operator=(const KeyFile&) = delete;

  // Reads the text in place of what was there; false with GLib's reason when it is not a
  // key file (broken lines, text that is not UTF-8).
  bool load(const std::string& text, std::string& reason);
  bool has(const std::string& group, const std::string& key) const;
  // The value as written, escapes undone; empty when the key is missing.
  std::string value(const std::string& group, const std::string& key) const;
  // Sets the value, adding the group and the key at the end of their group when missing.
  void setValue(const std::string& group, const std::string& key, const std::string& value);
  // The comment above a key (each line becomes a "# " line), or above the first group
  // when group is empty.
  void setComment(const std::string& group, const std::string& key, const std::string& comment);
  std::string text() const;

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

}  // namespace platform
