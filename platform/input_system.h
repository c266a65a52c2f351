#pragma once
// Keyboard table, joysticks and force feedback as the input engine sees them.

#include <cstdint>
#include <memory>

namespace platform {

class InputSystem {
 public:
  virtual ~InputSystem() = default;
};

std::unique_ptr<InputSystem> createSdlInputSystem();
std::unique_ptr<InputSystem> createFakeInputSystem();

}  // namespace platform
