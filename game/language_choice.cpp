#include "game/language_choice.h"

#include <cstdlib>
#include <filesystem>

#include "framework/text_case.h"

namespace fs = std::filesystem;

namespace {

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The language part of a locale name: "ru" of "ru_RU.UTF-8@euro", "c" of "C.UTF-8".
std::string languagePart(const std::string& locale) {
  return LowerCase(locale.substr(0, locale.find_first_of("_.@")));
}

// The locales named, in the order they count; empty entries (a stray colon) are skipped.
std::vector<std::string> namedLocales(const TLocaleVariables& locale) {
  std::vector<std::string> names;
  for (size_t start = 0; start < locale.Language.size();) {
    size_t end = locale.Language.find(':', start);
    if (end == std::string::npos) end = locale.Language.size();
    if (end > start) names.push_back(locale.Language.substr(start, end - start));
    start = end + 1;
  }
  for (const std::string* name : {&locale.LcAll, &locale.LcMessages, &locale.Lang}) {
    if (!name->empty()) names.push_back(*name);
  }
  return names;
}

}  // namespace

TLocaleVariables LocaleVariablesNow() {
  return {variable("LANGUAGE"), variable("LC_ALL"), variable("LC_MESSAGES"), variable("LANG")};
}

TLanguage LanguageOfLocale(const TLocaleVariables& locale) {
  const std::vector<std::string> names = namedLocales(locale);
  if (names.empty()) return lgRussian;
  const std::string first = languagePart(names.front());
  if (first == "c" || first == "posix") return lgRussian;
  for (const std::string& name : names) {
    if (const std::optional<TLanguage> language = LanguageOfCode(languagePart(name))) {
      return *language;
    }
  }
  return lgEnglish;
}

std::optional<TLanguage> LanguageOfCode(const std::string& code) {
  for (int32_t i = 0; i < kLanguageCount; ++i) {
    if (code == Language(i).Code) return static_cast<TLanguage>(i);
  }
  return std::nullopt;
}

std::vector<std::string> LanguageCodes() {
  std::vector<std::string> codes;
  codes.reserve(kLanguages.size());
  for (const TLanguageInfo& info : kLanguages) codes.emplace_back(info.Code);
  return codes;
}

TLanguage ChooseLanguage(const std::string& choice, const TLocaleVariables& locale) {
  return LanguageOfCode(choice).value_or(LanguageOfLocale(locale));
}

std::string CatalogueFolder(const std::string& executablePath, const std::string& installedRelative,
                            const std::string& buildFolder) {
  if (executablePath.empty()) return std::string();
  std::error_code ec;
  const fs::path programFolder = fs::path(executablePath).parent_path();
  const fs::path installed = (programFolder / installedRelative).lexically_normal();
  if (fs::is_directory(installed, ec)) return installed.string();
  if (!buildFolder.empty() && fs::equivalent(programFolder, buildFolder, ec)) {
    const fs::path built = fs::path(buildFolder) / "locale";
    if (fs::is_directory(built, ec)) return built.string();
  }
  return std::string();
}
