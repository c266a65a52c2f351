#pragma once
// Window messages as the framework hands them to a form's message handler. The numbers
// are the window system's, so hooks written against them keep their meaning.

#include <cstdint>

struct TMessage {
  uint32_t Msg = 0;
  int64_t WParam = 0;
  int64_t LParam = 0;
  int64_t Result = 0;
};

inline constexpr uint32_t WM_ACTIVATE = 0x0006;
inline constexpr uint32_t WM_SETFOCUS = 0x0007;
inline constexpr uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr uint32_t WM_MBUTTONUP = 0x0208;
// The framework's own notifications to the application's main window.
inline constexpr uint32_t CM_ACTIVATE = 0xB000;
inline constexpr uint32_t CM_DEACTIVATE = 0xB001;
// Private: the display's presenter lost its textures.
inline constexpr uint32_t CM_RENDERRESET = 0xB100;

inline constexpr uint32_t SC_MINIMIZE = 0xF020;

// Mouse positions travel in LParam as x in the low and y in the high 16 bits, signed.
inline int64_t MakeMousePos(int x, int y) {
  return static_cast<int64_t>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                              static_cast<uint16_t>(x));
}
inline int MouseX(int64_t lParam) { return static_cast<int16_t>(lParam & 0xFFFF); }
inline int MouseY(int64_t lParam) { return static_cast<int16_t>((lParam >> 16) & 0xFFFF); }
