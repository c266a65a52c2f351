#include "game/language_choice.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "game/settings.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

struct LocaleCase {
  TLocaleVariables locale;
  TLanguage expected;
};

TEST(LanguageChoice, TheLocaleGivesRussianForRussianCOrNothingElseTheFirstLanguageSpoken) {
  const LocaleCase cases[] = {
      {{}, lgRussian},
      {{"", "", "", "C"}, lgRussian},
      {{"", "", "", "POSIX"}, lgRussian},
      {{"", "", "", "C.UTF-8"}, lgRussian},
      {{"", "", "", "ru_RU.UTF-8"}, lgRussian},
      {{"", "", "", "de_DE.UTF-8"}, lgEnglish},
      {{"", "", "", "en_GB.UTF-8"}, lgEnglish},
      {{"de:en", "", "", "ru_RU.UTF-8"}, lgEnglish},
      {{"de:ru", "", "", "en_US.UTF-8"}, lgRussian},
      {{"fr", "", "", "ru_RU.UTF-8"}, lgRussian},  // the first one the game speaks
      {{":en_US:", "", "", ""}, lgEnglish},        // stray colons name nothing
      // LC_ALL before LC_MESSAGES before LANG, as the C library reads them.
      {{"", "C", "en_US.UTF-8", "en_US.UTF-8"}, lgRussian},
      {{"", "en_GB.UTF-8", "", "ru_RU.UTF-8"}, lgEnglish},
      {{"", "", "ru_RU.KOI8-R", "en_US.UTF-8"}, lgRussian},
      {{"", "", "", "RU_ru@euro"}, lgRussian},
  };
  for (const LocaleCase& c : cases) {
    SCOPED_TRACE("LANGUAGE=" + c.locale.Language + " LC_ALL=" + c.locale.LcAll +
                 " LC_MESSAGES=" + c.locale.LcMessages + " LANG=" + c.locale.Lang);
    EXPECT_EQ(LanguageOfLocale(c.locale), c.expected);
  }
  ScopedVariable language("LANGUAGE", "de:en");
  ScopedVariable all("LC_ALL", nullptr);
  ScopedVariable messages("LC_MESSAGES", nullptr);
  ScopedVariable lang("LANG", "ru_RU.UTF-8");
  EXPECT_EQ(LanguageOfLocale(LocaleVariablesNow()), lgEnglish);
}

TEST(LanguageChoice, TheFlagBeatsTheSettingWhichBeatsTheLocale) {
  const TLocaleVariables russianDesktop{"", "", "", "ru_RU.UTF-8"};
  const TLocaleVariables germanDesktop{"", "", "", "de_DE.UTF-8"};
  Settings settings;
  EXPECT_EQ(ChooseLanguage(settings.language, russianDesktop), lgRussian);
  EXPECT_EQ(ChooseLanguage(settings.language, germanDesktop), lgEnglish);
  settings.language = "en";
  EXPECT_EQ(ChooseLanguage(settings.language, russianDesktop), lgEnglish);
  platform::CommandLine flags;
  flags.language = "ru";
  EXPECT_EQ(ChooseLanguage(WithFlags(settings, flags).language, germanDesktop), lgRussian);
  EXPECT_EQ(ChooseLanguage("xx", germanDesktop), lgEnglish);  // not a code: as auto
}

TEST(LanguageChoice, CataloguesAreFoundInstalledOrInTheBuildFolderTheProgramRunsFrom) {
  TempFolder temp;
  const fs::path build = temp.path() / "build";
  fs::create_directories(build / "locale" / "en" / "LC_MESSAGES");
  const std::string built = (build / "reefmaw").string();
  EXPECT_EQ(CatalogueFolder(built, "../share/locale", build.string()), (build / "locale").string());
  // A copy of the program elsewhere is no build.
  EXPECT_EQ(CatalogueFolder((temp.path() / "reefmaw").string(), "../share/locale", build.string()),
            "");
  const fs::path installed = temp.path() / "usr" / "share" / "locale";
  fs::create_directories(installed);
  fs::create_directories(temp.path() / "usr" / "games");
  EXPECT_EQ(CatalogueFolder((temp.path() / "usr/games/reefmaw").string(), "../share/locale",
                            build.string()),
            installed.string());
  EXPECT_EQ(CatalogueFolder("", "../share/locale", build.string()), "");
}

}  // namespace
