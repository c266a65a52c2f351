// The main window's picture loading: every picture the game draws is an item of the
// image list, loaded from the Data folder in a fixed order. A file that is missing or
// cannot be read leaves its item empty and is noted in PictureFailures; every other
// picture still loads.

#include <array>
#include <string>
#include <vector>

#include "engine/graphics/image_list.h"
#include "framework/exceptions.h"
#include "game/creature_kinds.h"
#include "game/game_texts.h"
#include "game/main_form.h"
#include "game/picture_failures.h"

namespace {

constexpr uint32_t clWhite = 0x00FFFFFF;
constexpr int kFrameFiles = 4;  // frame 4 is loaded and never shown
constexpr int kMenuPictures = 11;
constexpr const char* kOtherPicture = "Data\\other.bmp";

// The kinds in the order their frames are loaded.
constexpr std::array<int32_t, kCreatureKindCount> kMonsterLoadOrder = {
    ckMine,      ckSmallFish, ckAngelfish,     ckPiranha,    ckPufferfish, ckBarrel, ckWrasse,
    ckGreenfish, ckEyefish,   ckPorcupineFish, ckCuttlefish, ckAnglerfish, ckWhale};

}  // namespace

void TMainForm::loadPictures() {
  TPictureCollection& items = *ImageList->Items;
  std::vector<TPictureToLoad> pictures;
  auto load = [&pictures, &items](const std::string& name, const std::string& path) {
    pictures.push_back({&items.FindByName(name)->Picture(), path});
  };
  auto makeWhiteTransparent = [&items](const std::string& name) {
    items.FindByName(name)->SetTransparentColor(clWhite);
  };

  load("Shlak", "Data\\Effects\\Water\\shlak.bmp");
  load("puz", "Data\\Effects\\Water\\puzir.bmp");
  load("background", "Data\\Fon\\3.bmp");
  load("Panel", "Data\\Fon\\panel.bmp");
  for (int kind = 1; kind < kCreatureKindCount; ++kind) {
    for (int frame = 1; frame <= kFrameFiles; ++frame) {
      makeWhiteTransparent(Format("f%d%d", kind, frame));
      makeWhiteTransparent(Format("f0%d", frame));
    }
  }
  for (int i = 0; i <= 1; ++i) makeWhiteTransparent(Format("a%d", i));
  for (int n = 1; n <= kMenuPictures; ++n) {
    const std::string name = Format("m%d", n);
    makeWhiteTransparent(name);
    // The pictures with words come in the run's language.
    load(name, LanguagePicture(Format("Data\\menu\\fon\\%d.bmp", n)));
  }
  // The locked item's overlay is stored in the main window's description; a language
  // with words of its own on it has its twin as a file (Data\other.bmp in its folder).
  const std::string otherTwin = LanguagePicture(kOtherPicture);
  if (otherTwin != kOtherPicture) load("other", otherTwin);
  for (int frame = 1; frame <= kFrameFiles; ++frame) {
    for (int kind : kMonsterLoadOrder) {
      load(Format("f%d%d", kind, frame),
           Format("Data\\Monsters\\Levels\\%s%d.bmp", CreatureKind(kind).Stem, frame));
    }
  }
  for (int i = 0; i <= 1; ++i) {
    load(Format("a%d", i), Format("Data\\Monsters\\player\\akula%d.bmp", i + 1));
  }
  LoadPicturesNoting(pictures, PictureFailures);
}
