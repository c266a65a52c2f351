#pragma once
// The parts of turning SDL's input events into the framework's that are plain
// arithmetic: held modifiers and buttons as a shift state, and typed text cut into
// single characters.

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The shift state (ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle) of SDL's modifier
// bits (SDL_Keymod) and pointer button bits (SDL_BUTTON_LMASK and the others).
uint32_t shiftFromSdl(uint32_t keyModifiers, uint32_t mouseButtons);

// Whether text typed with these modifiers held is a menu command rather than typing: the
// left Alt makes letters into commands, as Alt+letter never types on Windows. AltGr (the
// right Alt on many layouts) types characters and does not count.
bool isCommandText(uint32_t keyModifiers);

// Cuts UTF-8 text into its characters, one string each. A broken sequence (a stray
// continuation byte, a lead byte without its continuation bytes) becomes U+FFFD, so
// every piece is valid UTF-8 and nothing reads past the text.
std::vector<std::string> splitUtf8Characters(const std::string& text);

}  // namespace platform
