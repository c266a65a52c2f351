#include "platform/key_file.h"

#include <glib.h>

#include "platform/glib_ptrs.h"

namespace platform {

namespace {

// Carriage returns that end a line are part of its end, however many and whether a line
// feed follows or not (files edited on other systems end that way). GLib takes only the
// one before a line feed so and keeps the rest in the value, where the next rewrite,
// which ends the line in a line feed alone, would change its meaning: a second start
// would read other settings than the first.
std::string withoutCarriageReturnsAtLineEnds(const std::string& text) {
  std::string lines;
  lines.reserve(text.size());
  size_t returns = 0;  // carriage returns held back until what follows them is known
  for (char c : text) {
    if (c == '\r') {
      ++returns;
      continue;
    }
    if (c != '\n') lines.append(returns, '\r');
    returns = 0;
    lines += c;
  }
  return lines;
}

}  // namespace

struct KeyFile::Handle {
  GKeyFileUniquePtr file{g_key_file_new()};
};

KeyFile::KeyFile() : handle_(std::make_unique<Handle>()) {}

KeyFile::~KeyFile() = default;

bool KeyFile::load(const std::string& text, std::string& reason) {
  auto fresh = std::make_unique<Handle>();
  // Text with a NUL byte would be cut short silently: it is no key file.
  if (text.find('\0') != std::string::npos) {
    reason = "the file holds binary data";
    return false;
  }
  const auto flags =
      static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);
  const std::string lines = withoutCarriageReturnsAtLineEnds(text);
  GErrorUniquePtr error;
  if (!g_key_file_load_from_data(fresh->file.get(), lines.data(), lines.size(), flags,
                                 OutPointer(error))) {
    reason = error != nullptr ? error->message : "the file cannot be read as settings";
    return false;
  }
  handle_ = std::move(fresh);
  return true;
}

bool KeyFile::has(const std::string& group, const std::string& key) const {
  return g_key_file_has_key(handle_->file.get(), group.c_str(), key.c_str(), nullptr) != FALSE;
}

std::string KeyFile::value(const std::string& group, const std::string& key) const {
  GCharUniquePtr value(
      g_key_file_get_string(handle_->file.get(), group.c_str(), key.c_str(), nullptr));
  if (value == nullptr) {
    // A value with a broken escape is still the player's text: take it as written.
    value.reset(g_key_file_get_value(handle_->file.get(), group.c_str(), key.c_str(), nullptr));
  }
  if (value == nullptr) return std::string();
  return std::string(value.get());
}

void KeyFile::setValue(const std::string& group, const std::string& key, const std::string& value) {
  g_key_file_set_string(handle_->file.get(), group.c_str(), key.c_str(), value.c_str());
}

void KeyFile::setComment(const std::string& group, const std::string& key,
                         const std::string& comment) {
  // GKeyFile puts "#" before each line; a blank keeps the comment readable.
  std::string spaced;
  size_t start = 0;
  while (start <= comment.size()) {
    size_t end = comment.find('\n', start);
    if (end == std::string::npos) end = comment.size();
    if (!spaced.empty()) spaced += '\n';
    spaced += " " + comment.substr(start, end - start);
    start = end + 1;
  }
  g_key_file_set_comment(handle_->file.get(), group.empty() ? nullptr : group.c_str(),
                         key.empty() ? nullptr : key.c_str(), spaced.c_str(), nullptr);
}

std::string KeyFile::text() const {
  gsize length = 0;
  const GCharUniquePtr data(g_key_file_to_data(handle_->file.get(), &length, nullptr));
  if (data == nullptr) return std::string();
  return std::string(data.get(), length);
}

}  // namespace platform
