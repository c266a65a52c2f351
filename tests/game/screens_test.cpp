#include "game/screens.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "game/main_form_fixture.h"
#include "game/records.h"

namespace {

TPictureDrawing wave(const std::string& image, int x, int y, int w, int h, int amplitude,
                     int phase) {
  return TPictureDrawing{image, x, y, true, w, h, amplitude, 80, phase};
}
TPictureDrawing whole(const std::string& image) {
  return TPictureDrawing{image, 0, 0, false, 0, 0, 0, 0, 0};
}

TEST(Screens, MenuWavesItsItemsAndCrossesOutContinueWithoutAGame) {
  TGameVars vars;
  vars.GameState = gsMenu;
  vars.HoverItem = kNoItem;
  vars.ResumeLock = kNoResume;
  const std::vector<TPictureDrawing> locked = ScreenPictures(vars, 10);
  const std::vector<TPictureDrawing> expected = {whole("m1"),
                                                 wave("m3", 500, 150, 200, 50, 2, 40),
                                                 wave("m4", 400, 200, 200, 50, 2, 40),
                                                 wave("other", 400, 200, 200, 50, 2, 40),
                                                 wave("m5", 300, 250, 200, 50, 2, 40),
                                                 wave("m6", 200, 300, 200, 50, 2, 40),
                                                 wave("m7", 100, 350, 200, 50, 2, 40)};
  EXPECT_EQ(locked, expected);
  vars.ResumeLock = 0;
  vars.HoverItem = 4;
  const std::vector<TPictureDrawing> open = ScreenPictures(vars, 10);
  ASSERT_EQ(open.size(), 6u);
  EXPECT_EQ(open[2], wave("m4", 350, 183, 300, 75, 4, 40));  // enlarged, waving harder
  vars.ResumeLock = kNoResume;
  const std::vector<TPictureDrawing> both = ScreenPictures(vars, 10);
  EXPECT_EQ(both[3], wave("other", 350, 183, 300, 75, 4, 40));
}

TEST(Screens, GameOverIntroRecordsAndPictureScreens) {
  TGameVars vars;
  vars.GameState = gsGameOver;
  EXPECT_EQ(ScreenPictures(vars, 3),
            (std::vector<TPictureDrawing>{whole("m1"), wave("m8", 250, 250, 250, 50, 2, 12)}));
  vars.GameState = gsLevelIntro;
  EXPECT_EQ(ScreenPictures(vars, 3),
            (std::vector<TPictureDrawing>{wave("m9", 225, 250, 350, 100, 2, 12)}));
  vars.GameState = gsRecords;
  EXPECT_EQ(ScreenPictures(vars, 3), (std::vector<TPictureDrawing>{whole("m11")}));
  vars.GameState = gsPicture;
  EXPECT_EQ(ScreenPictures(vars, 3), (std::vector<TPictureDrawing>{whole("m10")}));
  vars.GameState = gsPlay;
  EXPECT_TRUE(ScreenPictures(vars, 3).empty());
}

TEST(Screens, PhasesFollowTheTickCounterAndWrapWithIt) {
  TGameVars vars;
  vars.PointerX = 123;
  vars.PointerY = -4;
  EXPECT_EQ(CursorPicture(vars, 5), wave("Mouse", 123, -4, 50, 50, 2, 40));
  // Far into a long session the phase wraps like the counter instead of overflowing.
  const int32_t ticks = 0x40000001;
  EXPECT_EQ(CursorPicture(vars, ticks).Phase, 8);
  vars.GameState = gsRecords;
  EXPECT_EQ(ScreenPictures(vars, 0x7FFFFFFF).size(), 1u);
}

TEST(Screens, IntroNumberPulsesBetweenThirtySevenAndFortySevenPoints) {
  TGameVars vars;
  vars.Level = 2;
  vars.IntroAngle = 0;
  std::vector<TTextDrawing> texts = LevelIntroTexts(vars);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "2");
  EXPECT_EQ(texts[0].Size, 47);
  EXPECT_EQ(texts[0].Color, 0x00FFFF00u);
  EXPECT_EQ(texts[0].X, 520 - 23);
  EXPECT_EQ(texts[0].Y, 285 - 23);
  EXPECT_EQ(texts[1].Text, "Набери 150 очков!");
  EXPECT_EQ(texts[1].Size, 26);
  EXPECT_EQ(texts[1].X, 245);
  EXPECT_EQ(texts[1].Y, 380);
  // Over a whole sweep the size stays within 37 to 47 and the target circles its place.
  int smallest = 100;
  int largest = 0;
  for (vars.IntroAngle = -std::numbers::pi; vars.IntroAngle <= std::numbers::pi;
       vars.IntroAngle += 0.01) {
    texts = LevelIntroTexts(vars);
    const int size = *texts[0].Size;
    smallest = std::min(smallest, size);
    largest = std::max(largest, size);
    EXPECT_EQ(texts[0].X, 520 - size / 2);
    EXPECT_EQ(texts[0].Y, 285 - size / 2);
    EXPECT_LE(std::abs(texts[1].X - 240), 5);
    EXPECT_LE(std::abs(texts[1].Y - 380), 5);
  }
  EXPECT_EQ(smallest, 37);
  EXPECT_EQ(largest, 47);
  vars.Level = 9;
  EXPECT_EQ(LevelIntroTexts(vars).size(), 1u);  // no target at the last two levels
  vars.Level = 8;
  EXPECT_EQ(LevelIntroTexts(vars)[1].Text, "Набери 450 очков!");
}

TEST(Screens, RecordsTableColumns) {
  RecordNames.fill("");
  RecordNames[0] = "Акула";
  RecordScores.fill(0);
  RecordScores[0] = 3120;
  RecordScores[9] = 100;
  const std::vector<TTextDrawing> texts = RecordsTexts();
  ASSERT_EQ(texts.size(), 30u);
  EXPECT_EQ(texts[0].Text, "Акула");
  EXPECT_EQ(texts[0].X, 175);
  EXPECT_EQ(texts[0].Y, 180);
  EXPECT_EQ(texts[1].Text, "1");
  EXPECT_EQ(texts[1].X, 125);
  EXPECT_EQ(texts[2].Text, "3120");
  EXPECT_EQ(texts[2].X, 525);
  EXPECT_EQ(texts[29].Text, "100");
  EXPECT_EQ(texts[29].Y, 450);
  EXPECT_EQ(texts[28].Text, "10");
  for (const TTextDrawing& t : texts) {
    EXPECT_FALSE(t.Size.has_value());  // the style the previous frame left
    EXPECT_FALSE(t.Color.has_value());
  }
  EXPECT_EQ(VersionText().Text, "Версия 1.2 ");
}

// The frame step carries the drawings out: the menu shows its picture, the hovered item
// changes what is shown, and the pointer is drawn last.
TEST_F(MainFormTest, MenuFramesShowThePicturesAndThePointer) {
  showActive();
  frames(1);
  const platform::FakePicture plain = window().lastPicture();
  EXPECT_NE(plain.pixel(400, 500), 0u);  // m1 covers the frozen scene
  GameVars.HoverItem = 5;
  frames(1);
  const platform::FakePicture hovered = window().lastPicture();
  int changed = 0;
  for (int y = 240; y < 310; ++y) {
    for (int x = 260; x < 540; ++x) changed += plain.pixel(x, y) != hovered.pixel(x, y) ? 1 : 0;
  }
  EXPECT_GT(changed, 2000);
  GameVars.PointerX = 700;
  GameVars.PointerY = 500;
  frames(1);
  int pointer = 0;
  for (int y = 500; y < 550; ++y) {
    for (int x = 700; x < 750; ++x)
      pointer += window().lastPicture().pixel(x, y) != hovered.pixel(x, y) ? 1 : 0;
  }
  EXPECT_GT(pointer, 100);
}

}  // namespace
