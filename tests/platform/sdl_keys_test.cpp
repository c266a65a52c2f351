#include "platform/sdl_keys.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// USB HID usage numbers, which SDL uses as its scancodes.
constexpr int kUp = 82;
constexpr int kDown = 81;
constexpr int kLeft = 80;
constexpr int kRight = 79;
constexpr int kKp8 = 96;
constexpr int kKp2 = 90;
constexpr int kKp4 = 92;
constexpr int kKp6 = 94;
constexpr int kH = 11;
constexpr int kJ = 13;
constexpr int kK = 14;
constexpr int kL = 15;
constexpr int kEscape = 41;
constexpr int kReturn = 40;
constexpr int kKpEnter = 88;
constexpr int kSpace = 44;
constexpr int kA = 4;
constexpr int k0 = 39;
constexpr int k1 = 30;
constexpr int kKp1 = 89;
constexpr int kKp0 = 98;
constexpr int kF1 = 58;
constexpr int kF13 = 104;
constexpr int kLshift = 225;
constexpr int kRshift = 229;
constexpr int kLctrl = 224;
constexpr int kRctrl = 228;
constexpr int kLalt = 226;
constexpr int kRalt = 230;
constexpr int kApostrophe = 52;
constexpr int kEquals = 46;
constexpr int kLeftbracket = 47;
constexpr int kKpMultiply = 85;
constexpr int kKpDivide = 84;
constexpr int kUnknown = 0;
constexpr int kScancodeCount = 512;

TEST(VirtualKeyFromScancode, GameKeysByPosition) {
  // The shark's keys: arrows, numeric pad 8/2/4/6 and H/J/K/L.
  EXPECT_EQ(virtualKeyFromScancode(kUp), 38);
  EXPECT_EQ(virtualKeyFromScancode(kDown), 40);
  EXPECT_EQ(virtualKeyFromScancode(kLeft), 37);
  EXPECT_EQ(virtualKeyFromScancode(kRight), 39);
  EXPECT_EQ(virtualKeyFromScancode(kKp8), 104);
  EXPECT_EQ(virtualKeyFromScancode(kKp2), 98);
  EXPECT_EQ(virtualKeyFromScancode(kKp4), 100);
  EXPECT_EQ(virtualKeyFromScancode(kKp6), 102);
  EXPECT_EQ(virtualKeyFromScancode(kH), 'H');
  EXPECT_EQ(virtualKeyFromScancode(kJ), 'J');
  EXPECT_EQ(virtualKeyFromScancode(kK), 'K');
  EXPECT_EQ(virtualKeyFromScancode(kL), 'L');
  EXPECT_EQ(virtualKeyFromScancode(kEscape), 27);
  EXPECT_EQ(virtualKeyFromScancode(kReturn), 13);
  EXPECT_EQ(virtualKeyFromScancode(kKpEnter), 13);
  EXPECT_EQ(virtualKeyFromScancode(kSpace), 32);
}

TEST(VirtualKeyFromScancode, RunsOfKeys) {
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(virtualKeyFromScancode(kA + i), 65 + i);
  }
  EXPECT_EQ(virtualKeyFromScancode(k0), 48);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(virtualKeyFromScancode(k1 + i), 49 + i);
    EXPECT_EQ(virtualKeyFromScancode(kKp1 + i), 97 + i);
  }
  EXPECT_EQ(virtualKeyFromScancode(kKp0), 96);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(virtualKeyFromScancode(kF1 + i), 112 + i);
    EXPECT_EQ(virtualKeyFromScancode(kF13 + i), 124 + i);
  }
}

TEST(VirtualKeyFromScancode, BothSidesOfModifiersGiveOneCode) {
  EXPECT_EQ(virtualKeyFromScancode(kLshift), 16);
  EXPECT_EQ(virtualKeyFromScancode(kRshift), 16);
  EXPECT_EQ(virtualKeyFromScancode(kLctrl), 17);
  EXPECT_EQ(virtualKeyFromScancode(kRctrl), 17);
  EXPECT_EQ(virtualKeyFromScancode(kLalt), 18);
  EXPECT_EQ(virtualKeyFromScancode(kRalt), 18);
}

TEST(VirtualKeyFromScancode, PunctuationDoesNotCollideWithArrowsOrDigits) {
  // The apostrophe key must not read as the Right arrow, nor "=" or "[" as other keys.
  EXPECT_EQ(virtualKeyFromScancode(kApostrophe), 222);
  EXPECT_EQ(virtualKeyFromScancode(kEquals), 187);
  EXPECT_EQ(virtualKeyFromScancode(kLeftbracket), 219);
  EXPECT_EQ(virtualKeyFromScancode(kKpMultiply), 106);
  EXPECT_EQ(virtualKeyFromScancode(kKpDivide), 111);
}

TEST(VirtualKeyFromScancode, UnknownAndOutOfRangeGiveZero) {
  EXPECT_EQ(virtualKeyFromScancode(kUnknown), 0);
  EXPECT_EQ(virtualKeyFromScancode(-1), 0);
  EXPECT_EQ(virtualKeyFromScancode(kScancodeCount), 0);
  EXPECT_EQ(virtualKeyFromScancode(100000), 0);
  // Every scancode gives a code that fits the 256-entry key table.
  for (int s = 0; s < kScancodeCount; ++s) {
    EXPECT_LT(virtualKeyFromScancode(s), 256) << s;
  }
}

}  // namespace
}  // namespace platform
