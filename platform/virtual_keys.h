#pragma once
// Windows virtual-key codes, the codes in which key events reach the framework and the
// game whatever the platform.

#include <cstdint>

namespace platform {

// Virtual-key codes the framework and the game name.
enum VirtualKey : uint16_t {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_SHIFT = 16,
  VK_CONTROL = 17,
  VK_MENU = 18,  // Alt
  VK_PAUSE = 19,
  VK_CAPITAL = 20,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_PRIOR = 33,  // Page Up
  VK_NEXT = 34,   // Page Down
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_SNAPSHOT = 44,
  VK_INSERT = 45,
  VK_DELETE = 46,
  VK_0 = 48,  // digits run 48 to 57
  VK_A = 65,  // letters run 65 to 90
  VK_LWIN = 91,
  VK_RWIN = 92,
  VK_APPS = 93,
  VK_NUMPAD0 = 96,  // numeric pad digits run 96 to 105
  VK_MULTIPLY = 106,
  VK_ADD = 107,
  VK_SUBTRACT = 109,
  VK_DECIMAL = 110,
  VK_DIVIDE = 111,
  VK_F1 = 112,  // F1 to F24 run 112 to 135
  VK_NUMLOCK = 144,
  VK_SCROLL = 145,
  VK_OEM_1 = 186,       // ;
  VK_OEM_PLUS = 187,    // =
  VK_OEM_COMMA = 188,   // ,
  VK_OEM_MINUS = 189,   // -
  VK_OEM_PERIOD = 190,  // .
  VK_OEM_2 = 191,       // /
  VK_OEM_3 = 192,       // `
  VK_OEM_4 = 219,       // [
  VK_OEM_5 = 220,       // backslash
  VK_OEM_6 = 221,       // ]
  VK_OEM_7 = 222,       // '
  VK_OEM_102 = 226,     // the extra key beside the left Shift on European keyboards
};
// The numeric pad's digit keys.
inline constexpr uint16_t VK_NUMPAD2 = VK_NUMPAD0 + 2;
inline constexpr uint16_t VK_NUMPAD4 = VK_NUMPAD0 + 4;
inline constexpr uint16_t VK_NUMPAD6 = VK_NUMPAD0 + 6;
inline constexpr uint16_t VK_NUMPAD8 = VK_NUMPAD0 + 8;

}  // namespace platform
