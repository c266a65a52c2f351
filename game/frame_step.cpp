// One frame of the game: the main window's timer handler.

#include "engine/graphics/dx_draw.h"
#include "engine/graphics/image_list.h"
#include "engine/input/dx_input.h"
#include "engine/sprite/sprite_engine.h"
#include "game/game_rules.h"
#include "game/game_vars.h"
#include "game/main_form.h"
#include "game/records.h"

namespace {
constexpr uint32_t kOverlayColor = 0x000000FF;  // red
constexpr int kOverlayFontSize = 20;
constexpr const char* kOverlayFont = "Comic Sans MS";
constexpr int kStatusY = 555;
}  // namespace

void TMainForm::DXTimerTimer(TObject*, int32_t LagCount) {
  // The game draws its own pointer over the drawing area.
  DXDraw->Cursor = TCursor::crNone;
  if (!DXDraw->CanDraw()) return;

  DXInput->UpdateInput();
  padControls();
  if (GameVars.GameState == gsPlay) DXSpriteEngine->Move(LagCount);
  DXSpriteEngine->Dead();
  TDirectDrawSurface& surface = DXDraw->Surface();
  surface.Fill(0);
  DXSpriteEngine->Draw();

  if (IsPictureScreen(GameVars.GameState)) {
    ++MenuTicks;
    drawPictures(ScreenPictures(GameVars, MenuTicks));
    if (GameVars.GameState == gsGameOver) GameVars.ResumeLock = kNoResume;
  }
  Label1->Caption = IntToStr(TotalScore(GameVars));

  TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
  if (GameVars.GameState == gsLevelIntro) {
    AdvanceIntroAngle(GameVars, LagCount);
    drawTexts(canvas, LevelIntroTexts(GameVars));
  }
  if (GameVars.GameState == gsRecords) drawTexts(canvas, RecordsTexts());
  if (GameVars.GameState == gsPlay) RunPlayClocks(GameVars);
  // These settings stay on the canvas into the next frame's intro and records texts.
  canvas.Brush.Style = bsClear;
  canvas.Font.Color = kOverlayColor;
  canvas.Font.Size = kOverlayFontSize;
  canvas.Font.Name = kOverlayFont;
  if (GameVars.GameState == gsMenu) drawTexts(canvas, {VersionText()});
  if (GameVars.GameState == gsPlay) drawStatusLine(canvas);
  surface.ReleaseCanvas();

  gameOverTest();
  if (GameVars.GameState == gsPlay && GameVars.LevelReady == 0) Button1->Click();
  ApplyLevelCompletion(GameVars);
  if (GameVars.GameState != gsPlay) drawPictures({CursorPicture(GameVars, MenuTicks)});
  DXDraw->Flip();
}

void TMainForm::gameOverTest() {
  if (!ApplyGameOver(GameVars)) return;
  const int64_t total = StrToInt(Label1->Caption);
  if (total > RecordScores[kRecordCount - 1] && ShowNameEntry) ShowNameEntry();
}

void TMainForm::drawStatusLine(TDirectDrawSurfaceCanvas& canvas) {
  canvas.TextOut(75, kStatusY, LifeText(GameVars));
  canvas.TextOut(290, kStatusY, PointsText(GameVars));
  canvas.TextOut(560, kStatusY, HungerText(GameVars));
}

void TMainForm::drawPictures(const std::vector<TPictureDrawing>& pictures) {
  TDirectDrawSurface& surface = DXDraw->Surface();
  for (const TPictureDrawing& p : pictures) {
    TPictureCollectionItem* item = ImageList->Items->FindByName(p.Image);
    if (p.Wave) {
      item->DrawPatternWave(surface, p.X, p.Y, p.Width, p.Height, 0, p.Amplitude, p.Wavelength,
                            p.Phase);
    } else {
      item->DrawPattern(surface, p.X, p.Y, 0);
    }
  }
}

void TMainForm::drawTexts(TDirectDrawSurfaceCanvas& canvas,
                          const std::vector<TTextDrawing>& texts) {
  for (const TTextDrawing& t : texts) {
    if (t.Color) canvas.Font.Color = *t.Color;
    if (t.Size) canvas.Font.Size = *t.Size;
    canvas.TextOut(t.X, t.Y, t.Text);
  }
}
