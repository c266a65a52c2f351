#pragma once
// Shared libraries through the system's dynamic loader.

#include <memory>

#include "platform/platform.h"

namespace platform {

std::unique_ptr<LibraryLoader> createDlLibraryLoader();

}  // namespace platform
