#pragma once
// The keyboard: a key-down table by virtual-key code, and up to three keys for each
// logical state.

#include <array>
#include <cstdint>
#include <vector>

#include "engine/input/custom_input.h"

// Key codes for each state: 36 rows of three, 0 for an empty place.
using TKeyAssigns = std::array<std::array<int32_t, 3>, kInputStateCount>;

inline constexpr size_t kStoredAssignsSize = size_t{kInputStateCount} * 3 * 4;  // 432 bytes

// The game's table: K J H L and the arrows and the numeric pad for the directions, Z and
// Space, X and Enter for the first two buttons, F2 for button 9.
TKeyAssigns DefaultKeyAssigns();

// The stored form: the rows in state order, each three 32-bit little-endian codes.
std::vector<uint8_t> StoreKeyAssigns(const TKeyAssigns& assigns);
// EReadError for a block that is not exactly 432 bytes.
TKeyAssigns ReadKeyAssigns(const std::vector<uint8_t>& data);

class TKeyboard : public TCustomInput {
 public:
  explicit TKeyboard(TCustomDXInput& owner);
  ~TKeyboard() override;

  std::array<uint8_t, 256> KeyState{};
  TKeyAssigns Assigns;

  bool Keys(int key) const {
    return key >= 1 && key <= 255 && (KeyState[static_cast<size_t>(key)] & 0x80) != 0;
  }

  void InitializeDevice() override;
  void UpdateDevice() override;
  bool SetStoredProperty(const std::string& name, const TPropertyValue& value) override;

 protected:
  void ClearReading() override { KeyState.fill(0); }
};
