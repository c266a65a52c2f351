#include "framework/settings_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "framework/exceptions.h"
#include "framework/paths.h"
#include "platform/key_file.h"
#include "platform/safe_save.h"

namespace fs = std::filesystem;

SettingsFile::SettingsFile(const std::string& path, std::vector<SettingsKey> keys,
                           std::string heading)
    : keys_(std::move(keys)), heading_(std::move(heading)) {
  if (path.empty()) return;
  // Relative game paths may resolve into the installed data folder; this one must not.
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  path_ = ec ? path : absolute.lexically_normal().string();
}

std::vector<std::string> SettingsFile::defaults() const {
  std::vector<std::string> texts;
  for (const SettingsKey& key : keys_) texts.push_back(key.defaultText);
  return texts;
}

std::string SettingsFile::warning(const std::string& problem) const {
  return "settings file " + path_ + ": " + problem;
}

std::string SettingsFile::FreshText(const std::vector<std::string>& texts) const {
  platform::KeyFile file;
  for (size_t i = 0; i < keys_.size(); ++i) {
    const SettingsKey& key = keys_[i];
    file.setValue(key.group, key.key, i < texts.size() ? texts[i] : key.defaultText);
    if (!key.comment.empty()) file.setComment(key.group, key.key, key.comment);
  }
  if (!heading_.empty()) file.setComment("", "", heading_);
  return file.text();
}

bool SettingsFile::read(std::string& text, bool& missing, std::string& reason) const {
  const int error = platform::readWholeFile(path_, text);
  missing = error == ENOENT || error == ENOTDIR;
  if (error != 0) reason = std::strerror(error);
  return error == 0 || missing;
}

bool SettingsFile::write(const std::string& text, std::vector<std::string>& warnings) const {
  // A settings file that links to another (a player's collection of dot files) stays a
  // link: the file it links to is the one replaced.
  std::error_code ec;
  const fs::path target = fs::is_symlink(path_, ec) ? fs::canonical(path_, ec) : fs::path(path_);
  try {
    WriteFileAtomically(ec ? path_ : target.string(),
                        std::vector<uint8_t>(text.begin(), text.end()));
    return true;
  } catch (const EStreamError& e) {
    const std::string& reason = e.Reason().empty() ? e.Message() : e.Reason();
    warnings.push_back(
        warning("cannot be written (" + reason + "); the settings hold for this run only"));
    return false;
  }
}

FileLock SettingsFile::lock() const {
  std::error_code ec;
  fs::create_directories(fs::path(path_).parent_path(), ec);
  return FileLock(path_);
}

std::vector<std::string> SettingsFile::Load(bool reset, std::vector<std::string>& warnings) {
  std::vector<std::string> texts = defaults();
  if (path_.empty()) return texts;
  const FileLock held = lock();
  std::error_code ec;
  std::string text;
  bool missing = false;
  std::string reason;
  if (!read(text, missing, reason)) {
    warnings.push_back(warning("cannot be read (" + reason +
                               "); the defaults hold for this run and the file is left alone"));
    writable_ = false;
    return texts;
  }
  platform::KeyFile file;
  std::string why;
  if (!missing && (reset || !file.load(text, why))) {
    const std::string aside = path_ + (reset ? ".old" : ".bad");
    fs::rename(path_, aside, ec);
    if (ec) {
      warnings.push_back(warning((reset ? "cannot be reset" : "is no settings file (" + why + ")") +
                                 std::string(" and cannot be kept aside (") + ec.message() +
                                 "); the defaults hold for this run"));
      writable_ = false;
      return texts;
    }
    if (!reset) {
      warnings.push_back(warning("is no settings file (" + why + "); it is kept as " +
                                 fs::path(aside).filename().string() +
                                 " and a fresh one is written"));
    }
    missing = true;
  }
  if (missing) {
    write(FreshText(texts), warnings);
    return texts;
  }
  bool added = false;
  for (size_t i = 0; i < keys_.size(); ++i) {
    const SettingsKey& key = keys_[i];
    if (file.has(key.group, key.key)) {
      texts[i] = file.value(key.group, key.key);
    } else {
      file.setValue(key.group, key.key, key.defaultText);
      if (!key.comment.empty()) file.setComment(key.group, key.key, key.comment);
      added = true;
    }
  }
  if (added) write(file.text(), warnings);
  return texts;
}

void SettingsFile::Update(const std::vector<std::pair<size_t, std::string>>& changes,
                          std::vector<std::string>& warnings) {
  if (path_.empty() || !writable_ || changes.empty()) return;
  const FileLock held = lock();
  std::string text;
  bool missing = false;
  std::string reason;
  if (!read(text, missing, reason)) {
    warnings.push_back(warning("cannot be read (" + reason + "); the changes are not saved"));
    return;
  }
  platform::KeyFile file;
  std::string why;
  if (missing) text = FreshText(defaults());
  if (!file.load(text, why)) {
    warnings.push_back(warning("is no settings file now (" + why + "); the changes are not saved"));
    return;
  }
  for (const auto& [index, value] : changes) {
    if (index >= keys_.size()) continue;
    const SettingsKey& key = keys_[index];
    const bool known = file.has(key.group, key.key);
    file.setValue(key.group, key.key, value);
    if (!known && !key.comment.empty()) file.setComment(key.group, key.key, key.comment);
  }
  write(file.text(), warnings);
}
