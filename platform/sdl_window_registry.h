#pragma once
// The live SDL windows by id, so that the event source can map pointer positions through
// a window's picture and tell windows about cursor and presenter changes; and, where the
// window system needs it, the closed windows kept hidden until the end.

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl_ptrs.h"

namespace platform {

class SdlWindow;

class SdlWindowRegistry {
 public:
  // childrenInside: child windows are shown inside their parent's window (see
  // showsChildrenInsideParent).
  // keepsClosedWindows: closed windows are hidden and destroyed with the registry (see
  // destroysWindowsOnlyAtExit); a window made later with the same kind of frame takes a
  // kept one instead of a new one, so a program that opens and closes many message boxes
  // keeps one hidden window per kind, not one per box.
  explicit SdlWindowRegistry(bool childrenInside = false, bool keepsClosedWindows = false)
      : childrenInside_(childrenInside), keepsClosedWindows_(keepsClosedWindows) {}
  SdlWindowRegistry(const SdlWindowRegistry&) = delete;
  SdlWindowRegistry& operator=(const SdlWindowRegistry&) = delete;
  bool childrenInside() const { return childrenInside_; }
  void add(SdlWindow* window);
  void remove(SdlWindow* window);
  // Destroys a closed window's SDL window now, or hides it and keeps it for a window of the
  // same kind, or to the end.
  void retire(SdlWindowUniquePtr window, const WindowDesc& kind);
  // A kept SDL window for a window described so, set up as described; null when none is
  // kept.
  SdlWindowUniquePtr reuse(const WindowDesc& desc);
  size_t keptWindows() const { return kept_.size(); }
  SdlWindow* find(uint32_t id) const;
  template <typename F>
  void forEach(F f) const {
    for (const auto& entry : windows_) f(*entry.second);
  }

 private:
  // What SDL fixes when it makes a window and the frame it gets.
  static int kindOf(const WindowDesc& desc);

  std::unordered_map<uint32_t, SdlWindow*> windows_;
  bool childrenInside_;
  bool keepsClosedWindows_;
  std::vector<std::pair<int, SdlWindowUniquePtr>> kept_;  // by kind; destroyed with the registry
};

}  // namespace platform
