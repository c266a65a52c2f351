#include "engine/timer/dx_form.h"

#include "platform/window_placement.h"

namespace {
int formCount = 0;
}

TDXForm::TDXForm(TComponent* owner) : TForm(owner) { ++formCount; }

TDXForm::~TDXForm() { --formCount; }

int TDXForm::FormCount() { return formCount; }

void TDXForm::StorePlacement() {
  platform::Window* window = Handle();
  placementSaved_ = window != nullptr;
  if (placementSaved_) placement_ = window->placement();
}

void TDXForm::RestorePlacement() {
  if (!placementSaved_) return;
  if (platform::Window* window = Handle()) window->setPlacement(placement_);
  placementSaved_ = false;
}

void TDXForm::PlaceCentred(int width, int height) {
  platform::Window* window = Handle();
  if (window == nullptr) return;
  window->setPlacement(
      platform::centredPlacement(width, height, window->workArea(), window->frameExtents()));
}

void TDXForm::WndProc(TMessage& message) {
  // The window system minimises the window itself; every other system command goes to
  // the framework's normal handling.
  if (message.Msg == WM_SYSCOMMAND && (message.WParam & 0xFFF0) == SC_MINIMIZE) return;
  TForm::WndProc(message);
}
