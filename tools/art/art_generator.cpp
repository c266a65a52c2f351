#include "tools/art/art_generator.h"

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "game/languages.h"
#include "platform/message_catalog.h"
#include "tools/art/bmp_output.h"
#include "tools/art/creatures.h"
#include "tools/art/menu_art.h"
#include "tools/art/name_entry_art.h"
#include "tools/art/pointer_art.h"
#include "tools/art/records_file.h"
#include "tools/art/sea_scene.h"
#include "tools/art/shark.h"

namespace art {

namespace {

// The pictures with words once more, in another language, under its picture folder; its
// words come from its compiled catalogue.
void paintLanguage(const std::string& code, const std::string& folder,
                   const std::string& localeFolder, std::vector<ArtPiece>& out) {
  const std::filesystem::path catalogue = std::filesystem::path(localeFolder) / code /
                                          "LC_MESSAGES" / (std::string(kTextDomain) + ".mo");
  if (!std::filesystem::is_regular_file(catalogue)) {
    throw std::runtime_error("no catalogue " + catalogue.string() + " for the pictures in " + code);
  }
  const std::shared_ptr<platform::MessageCatalog> catalog =
      platform::openMessageCatalog(kTextDomain, localeFolder, code);
  const Words words = [catalog](const std::string& wording) { return catalog->text(wording); };
  for (int n = 1; n <= 11; ++n) {
    if (n == 2) continue;  // the unused plaque bears only the game's name
    out.push_back({folder + "\\menu\\fon\\" + std::to_string(n) + ".bmp",
                   paintMenuPicture(n, words), 24,
                   n == 1 ? std::nullopt : std::optional<Pixel>(kWhiteKey)});
  }
  out.push_back({folder + "\\Fon\\1.bmp", paintNameEntryBackground(words), 24, std::nullopt});
  // The stored overlay's twin is a file the game loads in its place.
  out.push_back({folder + "\\other.bmp", paintUnavailable(words), 8, kWhiteKey});
}

}  // namespace

std::vector<ArtPiece> paintAll(const std::string& localeFolder) {
  std::vector<ArtPiece> out;
  out.push_back({"Data\\Fon\\3.bmp", paintBackground(), 24, std::nullopt});
  out.push_back({"Data\\Fon\\panel.bmp", paintPanel(), 24, std::nullopt});
  out.push_back({"Data\\Effects\\Water\\shlak.bmp", paintDebris(), 24, kGreenKey});
  out.push_back({"Data\\Effects\\Water\\puzir.bmp", paintBubble(), 24, kBlueKey});
  for (int n = 1; n <= 11; ++n) {
    out.push_back({"Data\\menu\\fon\\" + std::to_string(n) + ".bmp", paintMenuPicture(n), 24,
                   n == 1 ? std::nullopt : std::optional<Pixel>(kWhiteKey)});
  }
  for (int i = 0; i < 2; ++i) {
    out.push_back({"Data\\Monsters\\player\\akula" + std::to_string(i + 1) + ".bmp", paintShark(i),
                   24, kWhiteKey});
  }
  for (int k = 0; k < kMonsterKinds; ++k) {
    for (int n = 1; n <= 4; ++n) {
      out.push_back({"Data\\Monsters\\Levels\\" + std::string(CreatureKind(k).Stem) +
                         std::to_string(n) + ".bmp",
                     paintMonster(k, n), 24, kWhiteKey});
    }
  }
  out.push_back({"Data\\Fon\\1.bmp", paintNameEntryBackground(), 24, std::nullopt});
  out.push_back({"Data\\Fon\\2.bmp", paintOkButton(), 24, std::nullopt});
  out.push_back({"resources\\mouse.bmp", paintPointer(), 24, kBlackKey});
  out.push_back({"resources\\other.bmp", paintUnavailable(), 8, kWhiteKey});
  for (int32_t language = 0; language < kLanguageCount; ++language) {
    const std::string folder = Language(language).PictureFolder;
    if (!folder.empty()) paintLanguage(Language(language).Code, folder, localeFolder, out);
  }
  return out;
}

static std::filesystem::path realPath(const std::string& root, const std::string& gamePath) {
  std::filesystem::path p(root);
  size_t start = 0;
  while (true) {
    size_t sep = gamePath.find('\\', start);
    p /= gamePath.substr(start, sep - start);
    if (sep == std::string::npos) break;
    start = sep + 1;
  }
  return p;
}

void writeAll(const std::vector<ArtPiece>& pieces, const std::string& root) {
  for (const ArtPiece& piece : pieces) {
    std::filesystem::path path = realPath(root, piece.path);
    std::filesystem::create_directories(path.parent_path());
    writeBmp(piece.raster, piece.bitCount, path.string());
  }
  std::filesystem::path records = realPath(root, "Data\\rec.rmw");
  writeBytes(shippedRecordsFile(), records.string());
}

void writePreviews(const std::vector<ArtPiece>& pieces, const std::string& dir) {
  std::filesystem::create_directories(dir);
  for (const ArtPiece& piece : pieces) {
    std::string name = piece.path;
    for (char& c : name) {
      if (c == '\\') c = '_';
    }
    name = name.substr(0, name.size() - 4) + ".png";
    cairo_surface_t* img =
        piece.key ? keyedSurface(piece.raster, *piece.key) : rasterSurface(piece.raster);
    cairo_surface_t* shown =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, piece.raster.width, piece.raster.height);
    cairo_t* cr = cairo_create(shown);
    setColor(cr, kSea);
    cairo_paint(cr);
    cairo_set_source_surface(cr, img, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_status_t status =
        cairo_surface_write_to_png(shown, (std::filesystem::path(dir) / name).c_str());
    cairo_surface_destroy(shown);
    cairo_surface_destroy(img);
    if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("Cannot write " + name);
  }
}

}  // namespace art
