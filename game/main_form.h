#pragma once
// The game's main window: it owns every component of the game, ties the frame timer to
// the display, and runs the game one frame per timer tick.

#include <bitset>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/timer/dx_class.h"
#include "framework/form.h"
#include "game/held_repeat.h"
#include "game/play_time.h"
#include "game/screens.h"

class TDXDraw;
class TDXImageList;
class TDXSpriteEngine;
class TDXInput;
class TDXSound;
class TDXWaveList;
class TDXDIB;
class TDirectDrawSurfaceCanvas;
struct Settings;

class TMainForm : public TDXForm {
 public:
  explicit TMainForm(TComponent* owner);
  ~TMainForm() override;
  std::string ClassName() const override { return "TMainForm"; }
  TComponent* CreateStoredComponent(const std::string& className, TComponent* parent) override;
  void Loaded() override;
  void WndProc(TMessage& message) override;

  // Components of the stored description.
  TLabel* Label1 = nullptr;
  TDXDraw* DXDraw = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Button3 = nullptr;
  TDXTimer* DXTimer = nullptr;
  TDXSpriteEngine* DXSpriteEngine = nullptr;
  TDXSpriteEngine* DXSpriteEngine1 = nullptr;
  TDXImageList* ImageList = nullptr;
  TDXInput* DXInput = nullptr;
  TDXSound* DXSound = nullptr;
  TDXWaveList* DXWaveList = nullptr;
  TDXDIB* DXDIB1 = nullptr;

  // Frame counter of the picture screens: steps of 1/60 s spent on them.
  int32_t MenuTicks = 0;
  // Frames drawn since the program started.
  uint32_t FrameCount = 0;
  // Play stands still while the application is in the background (focus in another
  // program, window minimised); false keeps play running there, as the original did. The
  // settings' [game] pause_when_inactive.
  bool PauseWhenInactive = true;
  // Play is standing still now.
  bool PlayPaused() const { return PauseWhenInactive && inBackground_; }

  // Handlers.
  void FormCreate(TObject* Sender);
  void DXDrawInitialize(TObject* Sender);
  void DXDrawFinalize(TObject* Sender);
  void DXTimerActivate(TObject* Sender);
  void DXTimerDeactivate(TObject* Sender);
  void DXTimerTimer(TObject* Sender, int32_t LagCount);
  void DXDrawMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void DXDrawMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void FormKeyPress(TObject* Sender, char32_t& Key);
  // The level builder, carried by the hidden Button1.
  void Button1Click(TObject* Sender);
  // Reloads the records table from the records file, carried by the hidden Button3.
  void Button3Click(TObject* Sender);

  // Shows the name-entry window modally; set by the start-up once it exists.
  std::function<void()> ShowNameEntry;

  // The player's settings for this run, given before the window first shows: full
  // screen or window, the window's size and place, scaling, vsync, the steering keys and
  // the pad.
  void ApplySettings(const Settings& settings);
  // What the player changed while the game ran, into the settings: full screen or window
  // (Alt+Enter), and the window's size and place when the player moved or sized it.
  void StoreWindowChoices(Settings& settings) const;

  // The pictures that could not be read at start-up, one line each with the file and the
  // reason; the start-up shows them in one message.
  std::vector<std::string> PictureFailures;

 private:
  // What a click does on a screen between games: back to the menu, or on into play from
  // the level intro.
  void leaveScreen();
  // What a click on the menu's item does; 0 or kNoItem does nothing.
  void chooseMenuItem(int item);
  // Moves the menu's highlight one item down (1) or up (-1), with the game's pointer.
  void highlightMenuItem(int step);
  // Enter, and the pad's A: the highlighted item on the menu, a click on the other screens.
  void confirm();
  // Escape, and the pad's B: from play to the menu, a click on the screens between games.
  void goBack();
  // The pad's buttons and directions for the menus, the screens and the window in
  // front, once per frame; lag is the frame's play time in milliseconds.
  void padControls(int32_t lag);
  // The menu's Up (-1) or Down (1) of a key: the arrows, the numeric pad's 8 and 2, and
  // the keys bound to steer up and down; 0 for any other key.
  int menuStep(uint16_t key) const;
  // How often Up or Down acts in this frame: once when the pad's direction is pressed,
  // then as the pad's direction, or a menu key of that step, stays held.
  int verticalSteps(THeldRepeat& repeat, int state, int step, int32_t lag);
  // The pad's settings, the last of ApplySettings.
  void applyControlSettings(const Settings& settings);
  void publishHandlers();
  void loadPictures();
  void createPanel();
  void drawPictures(const std::vector<TPictureDrawing>& pictures);
  void drawTexts(TDirectDrawSurfaceCanvas& canvas, const std::vector<TTextDrawing>& texts);
  void drawStatusLine(TDirectDrawSurfaceCanvas& canvas);
  void gameOverTest();
  void toggleFullScreen();
  // Puts the window, leaving full screen with no earlier window to go back to, where the
  // settings say (by default the display's size in the middle of the screen).
  void placeWindow();
  void showInWindow(bool inWindow);

  // The window the settings ask for; a size of 0 is the display's size.
  int windowWidth_ = 0;
  int windowHeight_ = 0;
  bool windowCentred_ = true;
  int windowX_ = 0;
  int windowY_ = 0;
  // Where placeWindow put the window, once it did: the player's own moves show as
  // differences from it.
  bool windowPlaced_ = false;
  platform::Placement placedWindow_;

  std::bitset<256> heldKeys_;  // keys down on this window, by virtual-key code
  bool keyRepeats_ = false;    // the key-down being handled repeats a held key
  // Up and Down held on the menu or the name window's letters.
  THeldRepeat upRepeat_;
  THeldRepeat downRepeat_;

  void paceIdleLoop(int32_t lagCount);

  TPlayTime playTime_;
  bool inBackground_ = false;
  int32_t backgroundWait_ = 0;  // asked for after the last frame behind a box or in the background
};

// The key that skips a level below level 9 (and does nothing else anywhere).
inline constexpr char32_t kCheatKey = U'~';
