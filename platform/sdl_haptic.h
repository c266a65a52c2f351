#pragma once
// Force-feedback motors through SDL's haptic layer.

#include <SDL.h>

#include <memory>

#include "platform/input_system.h"

namespace platform {

// The stick's motor when it plays effects (the haptic layer must be started); nullptr
// when it has none or plays none (a motor that only rumbles).
std::unique_ptr<HapticDevice> openSdlHaptic(SDL_Joystick* joystick);

}  // namespace platform
