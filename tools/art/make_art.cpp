// make_art: paints the game's pictures and writes them, with the shipped records file,
// into a game folder.
//
//   make_art [ROOT] [--sheet FILE.png] [--preview DIR]
//
// ROOT (default: the current directory) receives Data/..., resources/... and the desktop
// icons in desktop/icons/, and a
// contact sheet of every picture keyed over the sea goes to ROOT/build/art/ (ignored by
// git) or to --sheet FILE.png; --preview writes each picture as its own PNG into DIR
// instead of writing the game's files.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "tools/art/art_generator.h"
#include "tools/art/icon_art.h"

int main(int argc, char** argv) {
  std::string root = ".", sheet, preview;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--sheet" && i + 1 < argc) {
      sheet = argv[++i];
    } else if (a == "--preview" && i + 1 < argc) {
      preview = argv[++i];
    } else if (!a.empty() && a[0] != '-') {
      root = a;
    } else {
      std::fprintf(stderr, "usage: make_art [ROOT] [--sheet FILE.png] [--preview DIR]\n");
      return 2;
    }
  }
  try {
    std::vector<art::ArtPiece> pieces = art::paintAll();
    if (!preview.empty()) {
      art::writePreviews(pieces, preview);
    } else {
      art::writeAll(pieces, root);
      art::writeIcons((std::filesystem::path(root) / "desktop" / "icons").string());
      if (sheet.empty()) {
        std::filesystem::path dir = std::filesystem::path(root) / "build" / "art";
        std::filesystem::create_directories(dir);
        sheet = (dir / "contact_sheet.png").string();
      }
    }
    if (!sheet.empty()) art::writeContactSheet(pieces, sheet);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_art: %s\n", e.what());
    return 1;
  }
  return 0;
}
