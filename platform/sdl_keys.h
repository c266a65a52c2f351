#pragma once
// Windows virtual-key codes for SDL keys. Keys are taken by their position on the
// keyboard (the scancode), not by the letter the layout prints on them, so that H, J, K
// and L steer the shark on a Russian or a Dvorak layout just as on a US one.

#include <cstdint>

#include "platform/virtual_keys.h"

namespace platform {

// The virtual-key code of the key at an SDL scancode's position; 0 for keys that have
// none. Numeric-pad keys give the numeric-pad codes whatever the Num Lock state, and the
// left and right Shift, Control and Alt give the one code of their kind.
uint16_t virtualKeyFromScancode(int sdlScancode);

}  // namespace platform
