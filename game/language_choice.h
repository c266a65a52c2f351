#pragma once
// Which language a run speaks: the flag --language, else the setting [game] language,
// else (auto) the player's locale; and where the compiled catalogues of the translations
// are found.

#include <optional>
#include <string>
#include <vector>

#include "game/languages.h"

// The variables that name the player's language, as the environment has them (empty
// when unset), in the order they count: LANGUAGE (a list separated by colons), LC_ALL,
// LC_MESSAGES, LANG.
struct TLocaleVariables {
  std::string Language;
  std::string LcAll;
  std::string LcMessages;
  std::string Lang;
};
TLocaleVariables LocaleVariablesNow();

// The language of the locale: Russian when the first locale named is Russian, C or POSIX,
// or when none is named; otherwise the first one named that the game speaks; otherwise
// English.
TLanguage LanguageOfLocale(const TLocaleVariables& locale);

// The value "auto" of the setting, and the language codes ("ru", "en").
inline constexpr const char* kAutoLanguage = "auto";
std::optional<TLanguage> LanguageOfCode(const std::string& code);
// Every code, in the table's order.
std::vector<std::string> LanguageCodes();

// The language of a choice that is "auto" or a code (anything else counts as auto).
TLanguage ChooseLanguage(const std::string& choice, const TLocaleVariables& locale);

// The folder of the compiled catalogues (<folder>/<code>/LC_MESSAGES/reefmaw.mo): the
// installed one, installedRelative from the program's folder, or else, for a program run
// from the build folder it was built in, that folder's `locale`. Empty when neither exists.
std::string CatalogueFolder(const std::string& executablePath, const std::string& installedRelative,
                            const std::string& buildFolder);
