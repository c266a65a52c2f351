#pragma once
// The mouse: movement gives the directions, its three buttons the first three buttons.
// It needs the device layer.

#include "engine/input/custom_input.h"

class TMouse : public TCustomInput {
 public:
  explicit TMouse(TCustomDXInput& owner);
  ~TMouse() override;

  // The last reading: movement since the one before, and the buttons.
  platform::MouseReading MouseState;
  int X() const { return MouseState.x; }
  int Y() const { return MouseState.y; }
  int Z() const { return MouseState.z; }

  void InitializeDevice() override;
  void UpdateDevice() override;

 protected:
  void ClearReading() override { MouseState = platform::MouseReading{}; }
};
