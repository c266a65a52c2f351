#pragma once
// The whole set of the game's art: every picture of the Data tree, the two pictures of
// the main window's description and the shipped records file, painted in a fixed order
// from fixed seeds, so a run always gives the same bytes. The pictures with words come in
// every language of game/languages.h.

#include <optional>
#include <string>
#include <vector>

#include "tools/art/raster.h"

namespace art {

struct ArtPiece {
  std::string path;  // Windows-style, relative to the game's folder
  Raster raster;
  int bitCount = 24;         // 24, or 8 for a picture with a colour table
  std::optional<Pixel> key;  // the colour the game keys out, if any
};

// Every picture, in catalogue order, then the pictures with words of every other language
// (Data\lang\<code>\...), their words from the catalogues in localeFolder.
std::vector<ArtPiece> paintAll(const std::string& localeFolder = REEFMAW_LOCALE_DIR);

// Writes every picture and the records file under root (a real directory).
void writeAll(const std::vector<ArtPiece>& pieces, const std::string& root);

// Each picture as its own PNG (keyed over the sea) in dir, for looking at them.
void writePreviews(const std::vector<ArtPiece>& pieces, const std::string& dir);

// One PNG showing every picture over the sea's colour, keyed as the game keys it.
void writeContactSheet(const std::vector<ArtPiece>& pieces, const std::string& pngPath);

}  // namespace art
