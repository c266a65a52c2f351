// One frame of the game: the main window's timer handler.

#include <algorithm>

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
// How long the loop sleeps between looks at a display that cannot draw.
constexpr int kNoDisplayWaitMs = 100;
}  // namespace

void TMainForm::DXTimerTimer(TObject*, int32_t LagCount) {
  // The game draws its own pointer over the drawing area.
  DXDraw->Cursor = TCursor::crNone;
  if (!DXDraw->CanDraw()) {
    // Nothing can be drawn until the display is ready (or restored): the loop sleeps
    // between looks instead of spinning, also under a message box shown at start-up.
    Application->RequestIdleWait(kNoDisplayWaitMs);
    return;
  }
  ++FrameCount;
  // Play advances by play time: nothing while it is paused, at most 100 ms a frame.
  const bool paused = PlayPaused();
  const TFrameTime time = playTime_.Advance(LagCount, paused);
  auto playing = [paused] { return GameVars.GameState == gsPlay && !paused; };

  DXInput->UpdateInput();
  padControls(time.Lag);
  if (playing()) DXSpriteEngine->Move(time.Lag);
  DXSpriteEngine->Dead();
  TDirectDrawSurface& surface = DXDraw->Surface();
  surface.Fill(0);
  DXSpriteEngine->Draw();

  if (IsPictureScreen(GameVars.GameState)) {
    MenuTicks += time.Steps;
    drawPictures(ScreenPictures(GameVars, MenuTicks));
    if (GameVars.GameState == gsGameOver) GameVars.ResumeLock = kNoResume;
  }
  Label1->Caption = IntToStr(TotalScore(GameVars));

  TDirectDrawSurfaceCanvas& canvas = surface.Canvas();
  if (GameVars.GameState == gsLevelIntro) {
    AdvanceIntroAngle(GameVars, time.Lag);
    drawTexts(canvas, LevelIntroTexts(GameVars));
  }
  if (GameVars.GameState == gsRecords) drawTexts(canvas, RecordsTexts());
  if (playing()) {
    for (int32_t step = 0; step < time.Steps; ++step) RunPlayClocks(GameVars);
  }
  // These settings stay on the canvas into the next frame's intro and records texts.
  canvas.Brush.Style = bsClear;
  canvas.Font.Color = kOverlayColor;
  canvas.Font.Size = kOverlayFontSize;
  canvas.Font.Name = kOverlayFont;
  if (GameVars.GameState == gsMenu) drawTexts(canvas, {VersionText()});
  if (GameVars.GameState == gsPlay) drawStatusLine(canvas);
  surface.ReleaseCanvas();

  gameOverTest();
  // A paused game builds no level: the old level's sprites leave only in a move.
  if (playing() && GameVars.LevelReady == 0) Button1->Click();
  ApplyLevelCompletion(GameVars);
  if (GameVars.GameState != gsPlay) drawPictures({CursorPicture(GameVars, MenuTicks)});
  DXDraw->Flip();
  paceIdleLoop(LagCount);
}

// Frames are normally paced by showing them, which waits for the display. Behind a modal
// window, and while the application is in the background (where a full-screen page is
// not even shown), thirty frames a second are plenty: after each frame the loop waits
// out what is left of a thirtieth of a second, at least a millisecond, handling events
// as they come. What is left follows from the frame's lag less the wait asked for after
// the frame before. Play time keeps the game the same at that rate.
void TMainForm::paceIdleLoop(int32_t lagCount) {
  if (Application->ModalForm() == nullptr && Application->Active()) {
    backgroundWait_ = 0;
    return;
  }
  constexpr int32_t kBackgroundFrameMs = 1000 / 30;
  const int32_t busy = std::max(lagCount - backgroundWait_, 0);
  backgroundWait_ = std::max(kBackgroundFrameMs - busy, 1);
  Application->RequestIdleWait(backgroundWait_);
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
