#pragma once
// Letter case of the game's names, which use the Latin and the Russian alphabets.

#include <string>

// Lower case for ASCII and the Cyrillic capitals А to Я and Ё, in UTF-8; everything else
// is kept as it is.
std::string LowerCase(const std::string& text);
// The two texts equal without regard to letter case.
bool SameText(const std::string& a, const std::string& b);
// The byte at index of LowerCase(text), without building it; 0 past its end.
unsigned char LowerCaseByte(const std::string& text, size_t index);
