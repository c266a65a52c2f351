#include "platform/message_catalog.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

// Raised whenever the languages gettext looks in change, so that it forgets the
// translations it has cached (GNU gettext's documented way).
extern "C" int _nl_msg_cat_cntr;

namespace platform {
namespace {

// gettext ignores LANGUAGE while the messages' locale is C or POSIX, which it is in every
// program that never calls setlocale and under any locale that is not generated. C.UTF-8
// is built into the C library (glibc 2.35 and later), so this works on a minimal system.
// Only LC_MESSAGES changes: LC_NUMERIC stays C, and printf and strtod keep the point.
bool messagesLocaleReady() {
  static const bool kReady = std::setlocale(LC_MESSAGES, "C.UTF-8") != nullptr ||
                             std::setlocale(LC_MESSAGES, "C.utf8") != nullptr;
  return kReady;
}

class GettextCatalog final : public MessageCatalog {
 public:
  GettextCatalog(std::string domain, std::string language)
      : domain_(std::move(domain)), language_(std::move(language)) {}

  std::string text(const std::string& id) const override {
    // Several catalogues may live in one process (the art tool paints every language):
    // each asks in its own language.
    const char* current = std::getenv("LANGUAGE");
    if (current == nullptr || language_ != current) {
      setenv("LANGUAGE", language_.c_str(), 1);
      ++_nl_msg_cat_cntr;
    }
    return dgettext(domain_.c_str(), id.c_str());
  }

 private:
  std::string domain_;
  std::string language_;
};

class IdentityCatalog final : public MessageCatalog {
 public:
  std::string text(const std::string& id) const override { return id; }
};

}  // namespace

std::unique_ptr<MessageCatalog> openMessageCatalog(const std::string& domain,
                                                   const std::string& localeFolder,
                                                   const std::string& language) {
  if (language.empty() || localeFolder.empty() || !messagesLocaleReady()) {
    return std::make_unique<IdentityCatalog>();
  }
  bindtextdomain(domain.c_str(), localeFolder.c_str());
  // Whatever the process's character set, the texts come as UTF-8, as the game draws them.
  bind_textdomain_codeset(domain.c_str(), "UTF-8");
  return std::make_unique<GettextCatalog>(domain, language);
}

}  // namespace platform
