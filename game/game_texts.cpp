#include "game/game_texts.h"

#include <filesystem>
#include <memory>

#include "framework/paths.h"
#include "platform/message_catalog.h"

namespace {

struct TRunLanguage {
  TLanguage language = lgRussian;
  std::unique_ptr<platform::MessageCatalog> catalog;
};

TRunLanguage& runLanguage() {
  static TRunLanguage current;
  return current;
}

constexpr const char* kDataPrefix = "Data\\";

}  // namespace

bool UseLanguage(TLanguage language, const std::string& catalogueFolder) {
  TRunLanguage& current = runLanguage();
  current.language = language;
  current.catalog.reset();
  if (language == lgRussian) return true;
  const char* code = Language(language).Code;
  current.catalog = platform::openMessageCatalog(kTextDomain, catalogueFolder, code);
  std::error_code ec;
  const std::filesystem::path file = std::filesystem::path(catalogueFolder) / code / "LC_MESSAGES" /
                                     (std::string(kTextDomain) + ".mo");
  return !catalogueFolder.empty() && std::filesystem::is_regular_file(file, ec);
}

TLanguage GameLanguage() { return runLanguage().language; }

std::string GameText(const std::string& russian) {
  const TRunLanguage& current = runLanguage();
  return current.catalog != nullptr ? current.catalog->text(russian) : russian;
}

std::string LanguagePicture(const std::string& gamePath) {
  const std::string folder = Language(GameLanguage()).PictureFolder;
  if (folder.empty() || gamePath.rfind(kDataPrefix, 0) != 0) return gamePath;
  const std::string twin = folder + gamePath.substr(std::string(kDataPrefix).size() - 1);
  return FileExists(twin) ? twin : gamePath;
}
