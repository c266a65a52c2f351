#pragma once
// The base of the game's main window: it remembers the window's position and size when
// the game goes full screen, so that switching back to a window puts it where it was.

#include "framework/form.h"
#include "platform/platform.h"

class TDXForm : public TForm {
 public:
  explicit TDXForm(TComponent* owner);
  ~TDXForm() override;
  std::string ClassName() const override { return "TDXForm"; }

  void StorePlacement();
  void RestorePlacement();
  bool PlacementSaved() const { return placementSaved_; }
  void WndProc(TMessage& message) override;

  // How many TDXForm windows exist.
  static int FormCount();

 private:
  platform::Placement placement_;
  bool placementSaved_ = false;
};
