#include "platform/event_translation.h"

#include <SDL.h>

#include "platform/platform.h"

namespace platform {

uint32_t shiftFromSdl(uint32_t keyModifiers, uint32_t mouseButtons) {
  uint32_t shift = 0;
  if ((keyModifiers & KMOD_SHIFT) != 0) shift |= ssShift;
  if ((keyModifiers & KMOD_ALT) != 0) shift |= ssAlt;
  if ((keyModifiers & KMOD_CTRL) != 0) shift |= ssCtrl;
  if ((mouseButtons & SDL_BUTTON_LMASK) != 0) shift |= ssLeft;
  if ((mouseButtons & SDL_BUTTON_RMASK) != 0) shift |= ssRight;
  if ((mouseButtons & SDL_BUTTON_MMASK) != 0) shift |= ssMiddle;
  return shift;
}

bool isCommandText(uint32_t keyModifiers) {
  return (keyModifiers & KMOD_LALT) != 0 && (keyModifiers & (KMOD_RALT | KMOD_MODE)) == 0;
}

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// The length of the sequence a lead byte starts, 0 for a byte that cannot start one.
size_t sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Overlong forms, surrogates and code points above U+10FFFF are refused at the second
// byte.
bool validSecondByte(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0:
      return second >= 0xA0 && second <= 0xBF;
    case 0xED:
      return second >= 0x80 && second <= 0x9F;
    case 0xF0:
      return second >= 0x90 && second <= 0xBF;
    case 0xF4:
      return second >= 0x80 && second <= 0x8F;
    default:
      return isContinuation(second);
  }
}

}  // namespace

std::vector<std::string> splitUtf8Characters(const std::string& text) {
  std::vector<std::string> characters;
  size_t i = 0;
  while (i < text.size()) {
    const size_t length = sequenceLength(static_cast<unsigned char>(text[i]));
    bool valid = length != 0 && i + length <= text.size();
    if (valid && length > 1) {
      valid = validSecondByte(static_cast<unsigned char>(text[i]),
                              static_cast<unsigned char>(text[i + 1]));
    }
    for (size_t k = 2; valid && k < length; ++k) {
      valid = isContinuation(static_cast<unsigned char>(text[i + k]));
    }
    if (valid) {
      characters.push_back(text.substr(i, length));
      i += length;
    } else {
      characters.emplace_back(kReplacement);
      ++i;
    }
  }
  return characters;
}

}  // namespace platform
