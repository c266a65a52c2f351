#include "platform/window_system.h"

#include <stdexcept>

namespace platform {

std::string videoDriverFor(const Session& session) {
  if (session.driverNamed) return std::string();
  if (!session.x11 && !session.wayland) {
    throw std::runtime_error(
        "No graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set, so no window can be "
        "shown.");
  }
  if (session.x11 && session.wayland) return std::string();
  return session.x11 ? "x11" : "wayland";
}

bool showsChildrenInsideParent(const std::string& driver) { return driver == "wayland"; }

bool destroysWindowsOnlyAtExit(const std::string& driver) { return driver == "wayland"; }

}  // namespace platform
