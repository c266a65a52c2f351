#pragma once
// Sticks and pads made of software that SDL lists like plugged-in ones, so the SDL input
// path can be exercised without hardware. For any test program: the support library that
// holds them links SDL.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Destroying it pulls it out.
class VirtualJoystick {
 public:
  // What a rumble asked of the pad's two motors, 0 to 0xFFFF each.
  struct RumbleCall {
    uint16_t low = 0;
    uint16_t high = 0;
  };
  virtual ~VirtualJoystick() = default;
  // Axes, buttons and hats by the device's own numbering, as its driver would report them.
  virtual void setAxis(int axis, int16_t value) = 0;
  virtual void setButton(int button, bool down) = 0;
  // Hundredths of a degree clockwise from up in steps of 4500, or -1 for centred.
  virtual void setHat(int hat, int32_t pov) = 0;
  // Every rumble asked of it so far, the ends included (both motors 0).
  virtual std::vector<RumbleCall> rumbles() const = 0;
};

struct VirtualJoystickDesc {
  std::string name = "Virtual stick";
  // A pad that SDL maps as a game controller, through its own database when the vendor and
  // product are known ones; otherwise a plain stick that SDL cannot map.
  bool gamepad = false;
  uint16_t vendor = 0;
  uint16_t product = 0;
  int axes = 2;
  int buttons = 4;
  int hats = 0;
  bool rumble = false;
};

// An Xbox 360 pad as the Linux driver shows it: six axes, eleven buttons and the d-pad as
// a hat, A B X Y LB RB Back Start Guide and the two stick buttons in that order; with rumble.
VirtualJoystickDesc xboxPadDesc();

// nullptr when SDL cannot attach one.
std::unique_ptr<VirtualJoystick> attachSdlVirtualJoystick(const VirtualJoystickDesc& desc);

}  // namespace platform
