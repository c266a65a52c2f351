#include "platform/message_catalog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// Compiles a catalogue of one message for the language into folder, as the build does.
void compile(const fs::path& folder, const std::string& language, const std::string& id,
             const std::string& translation) {
  const fs::path dir = folder / language / "LC_MESSAGES";
  fs::create_directories(dir);
  const fs::path po = folder / (language + ".po");
  std::ofstream(po) << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                    << "msgid \"" << id << "\"\nmsgstr \"" << translation << "\"\n";
  const std::string command =
      "msgfmt -o '" + (dir / "test.mo").string() + "' '" + po.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

TEST(MessageCatalog, TranslatesUnderAnyLocaleAndLeavesNumbersAlone) {
  TempFolder temp;
  compile(temp.path(), "en", "Жизни: ", "Life: ");
  compile(temp.path(), "de", "Жизни: ", "Leben: ");
  // A locale that was never generated, and a list that names neither language.
  ScopedVariable all("LC_ALL", "ru_RU.UTF-8");
  ScopedVariable lang("LANG", "de_DE.UTF-8");
  ScopedVariable language("LANGUAGE", "fr");
  const auto english = platform::openMessageCatalog("test", temp.path().string(), "en");
  const auto german = platform::openMessageCatalog("test", temp.path().string(), "de");
  EXPECT_EQ(english->text("Жизни: "), "Life: ");
  EXPECT_EQ(german->text("Жизни: "), "Leben: ");
  EXPECT_EQ(english->text("Жизни: "), "Life: ");  // each asks in its own language
  EXPECT_EQ(english->text("Голод:"), "Голод:");   // no translation: the id
  const auto missing = platform::openMessageCatalog("test", temp.path().string(), "fr");
  EXPECT_EQ(missing->text("Жизни: "), "Жизни: ");
  EXPECT_EQ(platform::openMessageCatalog("test", "", "en")->text("Жизни: "), "Жизни: ");
  // Only the messages' locale changed: numbers keep their point.
  char number[16];
  std::snprintf(number, sizeof number, "%.2f", 2.5);
  EXPECT_STREQ(number, "2.50");
  EXPECT_EQ(std::strtod("2.5", nullptr), 2.5);
}

}  // namespace
