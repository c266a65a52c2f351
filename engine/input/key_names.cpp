#include "engine/input/key_names.h"

#include <array>
#include <utility>

#include "framework/text_case.h"
#include "platform/virtual_keys.h"

namespace {

using namespace platform;

constexpr std::pair<uint16_t, const char*> kNamedKeys[] = {
    {VK_BACK, "BackSpace"},
    {VK_TAB, "Tab"},
    {VK_RETURN, "Return"},
    {VK_SHIFT, "Shift"},
    {VK_CONTROL, "Control"},
    {VK_MENU, "Alt"},
    {VK_PAUSE, "Pause"},
    {VK_CAPITAL, "Caps_Lock"},
    {VK_ESCAPE, "Escape"},
    {VK_SPACE, "space"},
    {VK_PRIOR, "Page_Up"},
    {VK_NEXT, "Page_Down"},
    {VK_END, "End"},
    {VK_HOME, "Home"},
    {VK_LEFT, "Left"},
    {VK_UP, "Up"},
    {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},
    {VK_INSERT, "Insert"},
    {VK_DELETE, "Delete"},
    {VK_MULTIPLY, "KP_Multiply"},
    {VK_ADD, "KP_Add"},
    {VK_SUBTRACT, "KP_Subtract"},
    {VK_DECIMAL, "KP_Decimal"},
    {VK_DIVIDE, "KP_Divide"},
    {VK_NUMLOCK, "Num_Lock"},
    {VK_SCROLL, "Scroll_Lock"},
    {VK_OEM_1, "semicolon"},
    {VK_OEM_PLUS, "equal"},
    {VK_OEM_COMMA, "comma"},
    {VK_OEM_MINUS, "minus"},
    {VK_OEM_PERIOD, "period"},
    {VK_OEM_2, "slash"},
    {VK_OEM_3, "grave"},
    {VK_OEM_4, "bracketleft"},
    {VK_OEM_5, "backslash"},
    {VK_OEM_6, "bracketright"},
    {VK_OEM_7, "apostrophe"},
    {VK_OEM_102, "less"},
};

constexpr int kFunctionKeys = 12;

}  // namespace

std::string KeyName(uint16_t key) {
  if (key >= VK_A && key < VK_A + 26) return std::string(1, static_cast<char>(key));
  if (key >= VK_0 && key < VK_0 + 10) return std::string(1, static_cast<char>(key));
  if (key >= VK_NUMPAD0 && key < VK_NUMPAD0 + 10) return "KP_" + std::to_string(key - VK_NUMPAD0);
  if (key >= VK_F1 && key < VK_F1 + kFunctionKeys) return "F" + std::to_string(key - VK_F1 + 1);
  for (const auto& [code, name] : kNamedKeys) {
    if (code == key) return name;
  }
  return std::string();
}

uint16_t KeyByName(const std::string& name) {
  if (name.empty()) return 0;
  const std::string wanted = LowerCase(name);
  // Every key has one name, so the table of names read back is the table of codes.
  for (uint16_t key = 1; key < 256; ++key) {
    const std::string known = KeyName(key);
    if (!known.empty() && LowerCase(known) == wanted) return key;
  }
  return 0;
}
