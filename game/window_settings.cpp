// The player's settings applied to the main window before it first shows, and the
// player's changes read back from it when the game ends.

#include <algorithm>
#include <tuple>

#include "engine/graphics/dx_draw.h"
#include "engine/input/dx_input.h"
#include "game/main_form.h"
#include "game/settings.h"

void TMainForm::ApplySettings(const Settings& settings) {
  DXDraw->Scaling =
      settings.scaling == ScalingMode::Integer ? TDXDrawScaling::Integer : TDXDrawScaling::Fit;
  windowWidth_ = settings.windowWidth;
  windowHeight_ = settings.windowHeight;
  windowCentred_ = settings.windowCentred;
  windowX_ = settings.windowX;
  windowY_ = settings.windowY;
  TDXDrawOptions options = DXDraw->Options();
  if (settings.vsync) {
    options.Include(doWaitVBlank);
  } else {
    options.Exclude(doWaitVBlank);
  }
  if (!settings.fullscreen && options.Contains(doFullScreen)) {
    // The game draws an 800 x 600 page whether it fills the screen or a window, not the
    // description's design size.
    DXDraw->SetSurfaceSize(DXDraw->Display().Width(), DXDraw->Display().Height());
    options.Exclude(doFullScreen);
    placeWindow();
    windowPlaced_ = Handle() != nullptr;
    if (windowPlaced_) placedWindow_ = Handle()->placement();
    showInWindow(true);
  }
  DXDraw->SetOptions(options);

  static_assert(isUp + 1 == isDown && isDown + 1 == isLeft && isLeft + 1 == isRight);
  static_assert(kKeysPerDirection == std::tuple_size_v<TKeyAssigns::value_type>);
  for (int direction = 0; direction < kDirectionCount; ++direction) {
    auto& row =
        DXInput->Keyboard->Assigns[static_cast<size_t>(isUp) + static_cast<size_t>(direction)];
    const auto& keys = settings.directionKeys[static_cast<size_t>(direction)];
    std::copy(keys.begin(), keys.end(), row.begin());
  }
  PauseWhenInactive = settings.pauseWhenInactive;
  applyControlSettings(settings);
}

void TMainForm::StoreWindowChoices(Settings& settings) const {
  settings.fullscreen = DXDraw->Options().Contains(doFullScreen);
  if (!windowPlaced_ || Handle() == nullptr) return;
  // Full screen, the window is where it was before the last switch to full screen.
  const platform::Placement now = !settings.fullscreen ? Handle()->placement()
                                  : PlacementSaved()   ? SavedPlacement()
                                                       : placedWindow_;
  if (now.width != placedWindow_.width || now.height != placedWindow_.height) {
    settings.windowWidth = now.width;
    settings.windowHeight = now.height;
  }
  if (now.x != placedWindow_.x || now.y != placedWindow_.y) {
    settings.windowCentred = false;
    settings.windowX = now.x;
    settings.windowY = now.y;
  }
}

void TMainForm::placeWindow() {
  const int width = windowWidth_ > 0 ? windowWidth_ : DXDraw->Display().Width();
  const int height = windowHeight_ > 0 ? windowHeight_ : DXDraw->Display().Height();
  if (windowCentred_) {
    PlaceCentred(width, height);
  } else if (Handle() != nullptr) {
    Handle()->setPlacement(platform::Placement{windowX_, windowY_, width, height, false});
  }
}

void TMainForm::showInWindow(bool inWindow) {
  DXDraw->Cursor = inWindow ? TCursor::crDefault : TCursor::crNone;
  BorderStyle = inWindow ? TBorderStyle::bsSizeable : TBorderStyle::bsNone;
  if (Handle() != nullptr) Handle()->setBordered(inWindow);
}
