#pragma once
// UTF-8, the encoding of every text the program holds in memory.

#include <cstddef>
#include <string>
#include <string_view>

// Decodes the character at pos and moves pos past it. A broken or overlong sequence, a
// surrogate or a value above U+10FFFF reads as one byte giving U+FFFD, so a scan always
// moves on.
char32_t NextCodePoint(std::string_view text, size_t& pos);
// Appends one character; values that are no character append U+FFFD.
void AppendUtf8(std::string& text, char32_t cp);
// The byte offset where the character before pos starts (0 at the start).
size_t PreviousCharacterStart(std::string_view text, size_t pos);
// A whole text as characters, and back; broken sequences read as U+FFFD as above.
std::u32string Utf8ToUtf32(std::string_view text);
std::string Utf32ToUtf8(std::u32string_view text);
