#include "game/main_form.h"

#include "engine/graphics/dx_dib.h"
#include "engine/graphics/dx_draw.h"
#include "engine/graphics/image_list.h"
#include "engine/input/dx_input.h"
#include "engine/sound/dx_sound.h"
#include "engine/sprite/sprite_engine.h"
#include "framework/text_file.h"
#include "game/game_rules.h"
#include "game/game_vars.h"
#include "game/records.h"

TMainForm::TMainForm(TComponent* owner) : TDXForm(owner) { publishHandlers(); }

TMainForm::~TMainForm() {
  // The display finalizes while its timer still exists (its finalize event stops it).
  if (DXDraw != nullptr) DXDraw->Finalize();
}

void TMainForm::publishHandlers() {
  PublishMethod<TNotifyEvent>("FormCreate", [this](TObject* s) { FormCreate(s); });
  PublishMethod<TNotifyEvent>("DXDrawInitialize", [this](TObject* s) { DXDrawInitialize(s); });
  PublishMethod<TNotifyEvent>("DXDrawFinalize", [this](TObject* s) { DXDrawFinalize(s); });
  PublishMethod<TNotifyEvent>("DXTimerActivate", [this](TObject* s) { DXTimerActivate(s); });
  PublishMethod<TNotifyEvent>("DXTimerDeactivate", [this](TObject* s) { DXTimerDeactivate(s); });
  PublishMethod<TDXTimerEvent>("DXTimerTimer",
                               [this](TObject* s, int32_t lag) { DXTimerTimer(s, lag); });
  PublishMethod<TMouseEvent>("DXDrawMouseDown",
                             [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
                               DXDrawMouseDown(s, b, sh, x, y);
                             });
  PublishMethod<TMouseMoveEvent>(
      "DXDrawMouseMove",
      [this](TObject* s, TShiftState sh, int x, int y) { DXDrawMouseMove(s, sh, x, y); });
  PublishMethod<TKeyEvent>("FormKeyDown", [this](TObject* s, uint16_t& key, TShiftState sh) {
    FormKeyDown(s, key, sh);
  });
  PublishMethod<TKeyPressEvent>("FormKeyPress",
                                [this](TObject* s, char32_t& key) { FormKeyPress(s, key); });
  PublishMethod<TNotifyEvent>("Button1Click", [this](TObject* s) { Button1Click(s); });
  PublishMethod<TNotifyEvent>("Button3Click", [this](TObject* s) { Button3Click(s); });
}

TComponent* TMainForm::CreateStoredComponent(const std::string& className, TComponent* parent) {
  if (className == "TDXDraw") {
    auto* draw = CreateComponent<TDXDraw>();
    draw->Parent = this;
    AddControl(draw);
    return draw;
  }
  if (className == "TDXTimer") return CreateComponent<TDXTimer>();
  if (className == "TDXSpriteEngine") return CreateComponent<TDXSpriteEngine>();
  if (className == "TDXImageList") return CreateComponent<TDXImageList>();
  if (className == "TDXInput") return CreateComponent<TDXInput>();
  if (className == "TDXSound") return CreateComponent<TDXSound>();
  if (className == "TDXWaveList") return CreateComponent<TDXWaveList>();
  if (className == "TDXDIB") return CreateComponent<TDXDIB>();
  return TDXForm::CreateStoredComponent(className, parent);
}

void TMainForm::Loaded() {
  TDXForm::Loaded();
  auto bind = [this]<typename T>(T*& field, const char* name) {
    field = RequiredComponent<T>(*this, name);
  };
  bind(Label1, "Label1");
  bind(DXDraw, "DXDraw");
  bind(Button1, "Button1");
  bind(Button2, "Button2");
  bind(Button3, "Button3");
  bind(DXTimer, "DXTimer");
  bind(DXSpriteEngine, "DXSpriteEngine");
  bind(DXSpriteEngine1, "DXSpriteEngine1");
  bind(ImageList, "ImageList");
  bind(DXInput, "DXInput");
  bind(DXSound, "DXSound");
  bind(DXWaveList, "DXWaveList");
  bind(DXDIB1, "DXDIB1");
}

void TMainForm::FormCreate(TObject*) {
  GameVars.ResumeLock = kNoResume;
  GameVars.LevelBonus = 0;
  // A records file that is missing or cannot be read is reported ("File not found"), and
  // the game starts with an empty table rather than without its pictures and its level.
  try {
    Button3->Click();
  } catch (const EInOutError& e) {
    RecordNames.fill("");
    RecordScores.fill(0);
    Application->HandleException(e);
  }
  ResetGameValues(GameVars);
  GameVars.LevelReady = 1;
  GameVars.HoverItem = kNoItem;
  GameVars.GameState = gsMenu;
  GameVars.SharkFrame = 0;
  GameVars.SharkFrameTicks = 0;
  GameVars.MonsterFrameTicks = 0;
  GameVars.MonsterFrame = 1;
  loadPictures();
  ImageList->Items->BuildColorTable();
  DXDraw->ColorTable = ImageList->Items->ColorTable;
  DXDraw->DefaultColorTable = ImageList->Items->ColorTable;
  DXDraw->UpdatePalette();
  createPanel();
  Button1->Click();
}

void TMainForm::DXDrawInitialize(TObject*) {
  DXTimer->SetEnabled(true);
  // The time the display took to start is no play time.
  playTime_.Resume();
}

void TMainForm::DXDrawFinalize(TObject*) { DXTimer->SetEnabled(false); }

void TMainForm::DXTimerActivate(TObject*) {
  inBackground_ = false;
  SetCaption(Application->Title);
}

void TMainForm::DXTimerDeactivate(TObject*) {
  inBackground_ = true;
  SetCaption(Application->Title + " [Pause]");
}

// A records file that does not read as numbers is reported, and the game goes on with
// what could be read; a missing or unreadable file stops the caller as any error does.
void TMainForm::Button3Click(TObject*) {
  try {
    LoadRecords();
  } catch (const EInOutError& e) {
    if (e.ErrorCode != kErrorInvalidNumeric) throw;
    Application->HandleException(e);
  }
}
