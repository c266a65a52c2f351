#pragma once
// Typed text as the platform's text input delivers it: one event a character.

#include <string>

#include "platform/fake_platform.h"

inline void PushTyped(platform::FakeEventSource& events, uint32_t window, const std::string& text) {
  size_t pos = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    events.pushChar(window, text.substr(pos, length));
    pos += length;
  }
}
