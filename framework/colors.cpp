#include "framework/colors.h"

#include <map>

uint32_t ColorValue(const TPropertyValue& value, const std::string& property) {
  if (value.kind == TPropertyValue::Kind::Integer) return static_cast<uint32_t>(value.integer);
  static const std::map<std::string, uint32_t> kNamed = {
      {"clBlack", clBlack},     {"clWhite", clWhite},           {"clRed", clRed},
      {"clBtnFace", clBtnFace}, {"clWindowText", clWindowText}, {"clWindow", clWindow},
      {"clLime", 0x0000FF00},   {"clBlue", 0x00FF0000},         {"clYellow", 0x0000FFFF},
      {"clGray", 0x00808080},   {"clSilver", 0x00C0C0C0},       {"clNavy", 0x00800000},
      {"clGreen", 0x00008000},  {"clMaroon", 0x00000080},       {"clOlive", 0x00008080},
      {"clPurple", 0x00800080}, {"clTeal", 0x00808000},         {"clFuchsia", 0x00FF00FF},
      {"clAqua", 0x00FFFF00},
  };
  auto it = kNamed.find(value.AsIdentifier(property));
  if (it == kNamed.end()) throw EReadError(Format("Invalid property value for %s", property));
  return it->second;
}
