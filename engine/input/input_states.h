#pragma once
// The 36 logical input states and the 5-byte set of them that the devices fill and the
// game reads.

#include <array>
#include <cstdint>
#include <initializer_list>

enum TDXInputState : uint8_t {
  isUp,
  isDown,
  isLeft,
  isRight,
  isButton1,
  isButton2,
  isButton3,
  isButton4,
  isButton5,
  isButton6,
  isButton7,
  isButton8,
  isButton9,
  isButton10,
  isButton11,
  isButton12,
  isButton13,
  isButton14,
  isButton15,
  isButton16,
  isButton17,
  isButton18,
  isButton19,
  isButton20,
  isButton21,
  isButton22,
  isButton23,
  isButton24,
  isButton25,
  isButton26,
  isButton27,
  isButton28,
  isButton29,
  isButton30,
  isButton31,
  isButton32,
};

inline constexpr int kInputStateCount = 36;

// Bit i of the set (bit i mod 8 of byte i div 8) stands for state i; bits 36 to 39 stay 0.
class TDXInputStates {
 public:
  TDXInputStates() = default;
  TDXInputStates(std::initializer_list<TDXInputState> states) {
    for (TDXInputState s : states) Include(s);
  }

  bool Contains(int state) const {
    return valid(state) && (bytes_[static_cast<size_t>(state / 8)] & bit(state)) != 0;
  }
  void Include(int state) {
    if (valid(state)) bytes_[static_cast<size_t>(state / 8)] |= bit(state);
  }
  void Exclude(int state) {
    if (valid(state)) bytes_[static_cast<size_t>(state / 8)] &= static_cast<uint8_t>(~bit(state));
  }
  void Clear() { bytes_.fill(0); }
  bool Empty() const { return bytes_ == std::array<uint8_t, 5>{}; }
  TDXInputStates& operator+=(const TDXInputStates& other) {
    for (size_t i = 0; i < bytes_.size(); ++i) bytes_[i] |= other.bytes_[i];
    return *this;
  }
  bool operator==(const TDXInputStates& other) const = default;
  const std::array<uint8_t, 5>& Bytes() const { return bytes_; }

 private:
  static bool valid(int state) { return state >= 0 && state < kInputStateCount; }
  static uint8_t bit(int state) { return static_cast<uint8_t>(1u << (state % 8)); }
  std::array<uint8_t, 5> bytes_{};
};
