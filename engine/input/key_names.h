#pragma once
// The names of keys as a player writes them in the settings file: X11's key names
// (Up, KP_8, Return, semicolon, ...), any letter case, for the keys the keyboard reports.

#include <cstdint>
#include <string>

// The virtual-key code of a key name; 0 for a name that names no key.
uint16_t KeyByName(const std::string& name);
// The name of a virtual-key code; empty for a code without one.
std::string KeyName(uint16_t key);
