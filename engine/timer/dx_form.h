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
  // Gives the window a client area of width x height in the middle of the screen's work
  // area, wholly on it (shrunk to it on a smaller screen): the place for a window that has
  // no earlier placement to go back to.
  void PlaceCentred(int width, int height);
  bool PlacementSaved() const { return placementSaved_; }
  // The placement StorePlacement saved (meaningful while PlacementSaved).
  const platform::Placement& SavedPlacement() const { return placement_; }
  void WndProc(TMessage& message) override;

  // How many TDXForm windows exist.
  static int FormCount();

 private:
  platform::Placement placement_;
  bool placementSaved_ = false;
};
