#include "platform/input_system.h"

namespace platform {

std::unique_ptr<InputSystem> createSdlInputSystem() { return std::make_unique<InputSystem>(); }
std::unique_ptr<InputSystem> createFakeInputSystem() { return std::make_unique<InputSystem>(); }

}  // namespace platform
