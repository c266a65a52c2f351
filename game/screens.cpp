#include "game/screens.h"

#include <cmath>

#include "framework/exceptions.h"
#include "game/game_rules.h"
#include "game/game_texts.h"
#include "game/menu_layout.h"
#include "game/records.h"

namespace {

constexpr int kWavelength = 80;               // rows per turn of every wave-drawn picture
constexpr uint32_t kIntroColor = 0x00FFFF00;  // red 0, green 255, blue 255
constexpr int kIntroBaseSize = 42;
constexpr int kIntroPulse = 5;
constexpr int kIntroTargetSize = 26;
constexpr int kLastLevelWithTarget = 8;

// A phase of factor x MenuTicks, wrapping like the 32-bit counter it comes from.
int phaseOf(int32_t ticks, uint32_t factor) {
  return static_cast<int>(static_cast<uint32_t>(ticks) * factor);
}

int roundToEven(double value) { return static_cast<int>(std::nearbyint(value)); }

TPictureDrawing whole(const std::string& image) {
  TPictureDrawing picture;
  picture.Image = image;
  return picture;
}

TTextDrawing plainText(int x, int y, const std::string& text) {
  TTextDrawing drawing;
  drawing.X = x;
  drawing.Y = y;
  drawing.Text = text;
  return drawing;
}

// The level's target in the words of the run: its number where the text says %d.
std::string targetText(int32_t level) {
  std::string text = GameText("Набери %d очков!");
  const size_t at = text.find("%d");
  if (at != std::string::npos) text.replace(at, 2, std::to_string(LevelTarget(level)));
  return text;
}

TPictureDrawing wave(const std::string& image, int x, int y, int width, int height, int amplitude,
                     int phase) {
  return TPictureDrawing{image, x, y, true, width, height, amplitude, kWavelength, phase};
}

}  // namespace

std::vector<TPictureDrawing> ScreenPictures(const TGameVars& vars, int32_t menuTicks) {
  const int phase = phaseOf(menuTicks, 4);
  switch (vars.GameState) {
    case gsMenu: {
      std::vector<TPictureDrawing> pictures{whole("m1")};
      for (int i = kFirstMenuItem; i <= kLastMenuItem; ++i) {
        const TPictureDrawing item =
            i == vars.HoverItem
                ? wave(Format("m%d", i), 750 - 100 * i, 50 * i - 17, 300, 75, 4, phase)
                : wave(Format("m%d", i), 800 - 100 * i, 50 * i, 200, 50, 2, phase);
        pictures.push_back(item);
        // While there is no game to continue, its item is crossed out.
        if (i == kItemContinue && vars.ResumeLock == kNoResume) {
          TPictureDrawing overlay = item;
          overlay.Image = "other";
          pictures.push_back(overlay);
        }
      }
      return pictures;
    }
    case gsGameOver:
      return {whole("m1"), wave("m8", 250, 250, 250, 50, 2, phase)};
    case gsLevelIntro:
      // No full-screen picture: the finished level shows, frozen, around the box.
      return {wave("m9", 225, 250, 350, 100, 2, phase)};
    case gsRecords:
      return {whole("m11")};
    case gsPicture:
      return {whole("m10")};
    default:
      return {};
  }
}

std::vector<TTextDrawing> LevelIntroTexts(const TGameVars& vars) {
  const double angle = vars.IntroAngle;
  const int size = roundToEven(kIntroPulse * std::cos(angle)) + kIntroBaseSize;
  std::vector<TTextDrawing> texts{
      {520 - size / 2, 285 - size / 2, std::to_string(vars.Level), size, kIntroColor}};
  if (vars.Level <= kLastLevelWithTarget) {
    texts.push_back({240 + roundToEven(kIntroPulse * std::cos(angle)),
                     380 + roundToEven(kIntroPulse * std::sin(angle)), targetText(vars.Level),
                     kIntroTargetSize, std::nullopt});
  }
  return texts;
}

std::vector<TTextDrawing> RecordsTexts() {
  std::vector<TTextDrawing> texts;
  for (int rank = 1; rank <= kRecordCount; ++rank) {
    const int y = 150 + 30 * rank;
    const auto k = static_cast<size_t>(rank - 1);
    texts.push_back(plainText(175, y, RecordNames[k]));
    texts.push_back(plainText(125, y, std::to_string(rank)));
    texts.push_back(plainText(525, y, std::to_string(RecordScores[k])));
  }
  return texts;
}

TTextDrawing VersionText() { return plainText(0, 0, GameText("Версия 1.2 ")); }

TPictureDrawing CursorPicture(const TGameVars& vars, int32_t menuTicks) {
  return wave("Mouse", vars.PointerX, vars.PointerY, 50, 50, 2, phaseOf(menuTicks, 8));
}
