#pragma once
// Colour values (0x00BBGGRR) and the named colours stored descriptions use.

#include <cstdint>
#include <string>

#include "framework/component.h"

inline constexpr uint32_t clBlack = 0x00000000;
inline constexpr uint32_t clWhite = 0x00FFFFFF;
inline constexpr uint32_t clRed = 0x000000FF;
inline constexpr uint32_t clBtnFace = 0x00D4D0C8;
inline constexpr uint32_t clWindowText = 0x00000000;
inline constexpr uint32_t clWindow = 0x00FFFFFF;

// A stored colour: a named colour (clBlack, clBtnFace, ...) or an integer value.
uint32_t ColorValue(const TPropertyValue& value, const std::string& property);
