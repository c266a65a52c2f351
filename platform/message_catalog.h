#pragma once
// The program's texts in another language than its own, from a GNU gettext catalogue
// (<localeFolder>/<language>/LC_MESSAGES/<domain>.mo). The game's own texts are the
// message ids; the layers above ask for a text by its id and never see gettext.

#include <memory>
#include <string>

namespace platform {

class MessageCatalog {
 public:
  virtual ~MessageCatalog() = default;
  // The translation of the message id (UTF-8); the id itself when there is none.
  virtual std::string text(const std::string& id) const = 0;
};

// The catalogue of the language ("en") in localeFolder, read through gettext whatever the
// process's locale is, even under C or a locale that was never generated: only the
// messages' category is switched (to C.UTF-8, which the C library always has), so numbers
// keep reading and printing with a decimal point. A missing catalogue gives every id back.
std::unique_ptr<MessageCatalog> openMessageCatalog(const std::string& domain,
                                                   const std::string& localeFolder,
                                                   const std::string& language);

}  // namespace platform
