#pragma once
// The Windows-1251 code page, in which the game's stored texts (the records file) keep
// Russian and Latin names one byte a character.

#include <string>
#include <string_view>

// Every byte becomes its character; the one byte 1251 leaves unassigned (0x98) becomes
// U+0098, so that it comes back as it was.
std::string Win1251ToUtf8(std::string_view bytes);
// Every character becomes its byte; a character 1251 cannot hold, and a broken UTF-8
// sequence, become '?'.
std::string Utf8ToWin1251(std::string_view text);
