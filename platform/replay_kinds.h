#pragma once
// Every kind of outside input a recorded game holds, in one table: how a record of the
// kind is laid out in the file, and what the game asked for, in words, for the message of
// a replay that leaves the recording. The file's writer and reader, the recording and the
// replay all read their facts about a kind from here, so a new kind is one enumerator and
// one row.
//
// A kind's number is stored in every recording, so the numbers never change; a new kind
// takes the next one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/input_system.h"
#include "platform/platform.h"

namespace platform {

enum class ReplayKind : uint8_t {
  Ticks = 1,  // the millisecond tick counter
  Counter,    // the high-resolution counter
  NoEvent,    // a poll that found nothing
  Event,      // a poll's event
  Keyboard,   // the key-down table
  Mouse,      // a reading, or none
  JoystickCount,
  JoystickChanges,
  OpenJoystick,  // opened or not
  JoystickAttached,
  JoystickAxes,     // axis count
  JoystickButtons,  // button count
  JoystickRead,     // a reading, or none
  JoystickHaptic,   // the stick has a motor
  HapticKinds,
  HapticCreate,  // the effect's handle
  HapticUpdate,  // done or not
  HapticRun,
  HapticStop,
  HapticStatus,  // 1, 0 or -1
  HapticAutocenter,
  DeviceLayer,   // acquired or not
  TextExtent,    // width, height
  CreateWindow,  // the window's id
  WindowVisible,
  WindowCaption,
  WindowFullscreen,
  WindowPlacement,
  WindowWorkArea,  // x, y, width, height
  WindowFrame,     // left, top, right, bottom
  WindowPresent,   // shown, or the device was lost
  DisplayModes,
  DesktopMode,  // width, height, bit count, refresh rate
  ExecutablePath,
  AudioDevice,  // a sound device opened or not
  Frame,        // the frame's number and the game's state after it
  End,          // the game's end state in words and its state
  PadLayouts,   // the pad layouts a file added, or -1
};

// How a record is laid out after its kind byte. Numbers are LEB128 varints, signed ones
// zigzagged.
enum class ReplayLayout : uint8_t {
  Nothing,
  Ticks,    // zigzag change from the previous reading, 32 bits wrapping
  Counter,  // zigzag change from the previous reading, 64 bits wrapping
  Flag,     // a byte, 0 or 1
  Number,   // a zigzag number
  Event,
  Keys,       // the changed entries of the key table: count, then index and value each
  Mouse,      // a flag, then the reading when read
  Joystick,   // a flag, then the reading when read
  Kinds,      // count, then a byte each
  Size,       // two zigzag numbers
  Rectangle,  // four zigzag numbers
  Placement,  // four zigzag numbers and a flag
  Text,
  Modes,  // count, then four zigzag numbers each
  Frame,  // the frame's number, then the digest's eight bytes
  End,    // the end state's text, then the digest's eight bytes
};

using KeyTable = std::array<uint8_t, 256>;

// The game's own check of its state after a frame, and at its end.
struct FrameCheck {
  uint32_t number = 0;
  uint64_t digest = 0;
};
struct EndCheck {
  std::string state;
  uint64_t digest = 0;
};

// What a record carries: one alternative per layout, in the order of ReplayLayout.
using ReplayValue =
    std::variant<std::monostate, uint32_t, uint64_t, bool, int64_t, Event, KeyTable,
                 std::optional<MouseReading>, std::optional<JoystickReading>,
                 std::vector<HapticKind>, std::array<int32_t, 2>, std::array<int32_t, 4>, Placement,
                 std::string, std::vector<DisplayMode>, FrameCheck, EndCheck>;
static_assert(std::variant_size_v<ReplayValue> == static_cast<size_t>(ReplayLayout::End) + 1);

struct ReplayKindInfo {
  ReplayKind kind;
  ReplayLayout layout;
  const char* asked;  // what the game asked for, in words
};

inline constexpr std::array<ReplayKindInfo, 38> kReplayKinds = {{
    {ReplayKind::Ticks, ReplayLayout::Ticks, "the clock"},
    {ReplayKind::Counter, ReplayLayout::Counter, "the high-resolution counter"},
    {ReplayKind::NoEvent, ReplayLayout::Nothing, "an event"},
    {ReplayKind::Event, ReplayLayout::Event, "an event"},
    {ReplayKind::Keyboard, ReplayLayout::Keys, "the keyboard"},
    {ReplayKind::Mouse, ReplayLayout::Mouse, "the mouse"},
    {ReplayKind::JoystickCount, ReplayLayout::Number, "the joysticks"},
    {ReplayKind::JoystickChanges, ReplayLayout::Number, "the joysticks"},
    {ReplayKind::OpenJoystick, ReplayLayout::Flag, "the joysticks"},
    {ReplayKind::JoystickAttached, ReplayLayout::Flag, "a joystick"},
    {ReplayKind::JoystickAxes, ReplayLayout::Number, "a joystick"},
    {ReplayKind::JoystickButtons, ReplayLayout::Number, "a joystick"},
    {ReplayKind::JoystickRead, ReplayLayout::Joystick, "a joystick"},
    {ReplayKind::JoystickHaptic, ReplayLayout::Flag, "a joystick"},
    {ReplayKind::HapticKinds, ReplayLayout::Kinds, "force feedback"},
    {ReplayKind::HapticCreate, ReplayLayout::Number, "force feedback"},
    {ReplayKind::HapticUpdate, ReplayLayout::Flag, "force feedback"},
    {ReplayKind::HapticRun, ReplayLayout::Flag, "force feedback"},
    {ReplayKind::HapticStop, ReplayLayout::Flag, "force feedback"},
    {ReplayKind::HapticStatus, ReplayLayout::Number, "force feedback"},
    {ReplayKind::HapticAutocenter, ReplayLayout::Flag, "force feedback"},
    {ReplayKind::DeviceLayer, ReplayLayout::Flag, "force feedback"},
    {ReplayKind::TextExtent, ReplayLayout::Size, "a text's size"},
    {ReplayKind::CreateWindow, ReplayLayout::Number, "a new window"},
    {ReplayKind::WindowVisible, ReplayLayout::Flag, "a window's state"},
    {ReplayKind::WindowCaption, ReplayLayout::Text, "a window's state"},
    {ReplayKind::WindowFullscreen, ReplayLayout::Flag, "a window's state"},
    {ReplayKind::WindowPlacement, ReplayLayout::Placement, "a window's state"},
    {ReplayKind::WindowWorkArea, ReplayLayout::Rectangle, "a window's state"},
    {ReplayKind::WindowFrame, ReplayLayout::Rectangle, "a window's state"},
    {ReplayKind::WindowPresent, ReplayLayout::Flag, "a shown frame"},
    {ReplayKind::DisplayModes, ReplayLayout::Modes, "the display modes"},
    {ReplayKind::DesktopMode, ReplayLayout::Rectangle, "the display modes"},
    {ReplayKind::ExecutablePath, ReplayLayout::Text, "the program's path"},
    {ReplayKind::AudioDevice, ReplayLayout::Flag, "the sound device"},
    {ReplayKind::Frame, ReplayLayout::Frame, "the end of a frame"},
    {ReplayKind::End, ReplayLayout::End, "the end of the game"},
    {ReplayKind::PadLayouts, ReplayLayout::Number, "pad layouts"},
}};

inline constexpr uint8_t kLastReplayKind = static_cast<uint8_t>(kReplayKinds.back().kind);

// The row of a kind: kinds are numbered from 1 in the table's order.
constexpr const ReplayKindInfo& replayKindInfo(ReplayKind kind) {
  return kReplayKinds[static_cast<size_t>(kind) - 1];
}

constexpr bool replayKindsInOrder() {
  for (size_t i = 0; i < kReplayKinds.size(); ++i) {
    if (static_cast<size_t>(kReplayKinds[i].kind) != i + 1) return false;
  }
  return true;
}
static_assert(replayKindsInOrder(), "a kind's row sits at its number");

// The value a record of this kind carries.
template <ReplayKind K>
using ReplayValueOf =
    std::variant_alternative_t<static_cast<size_t>(replayKindInfo(K).layout), ReplayValue>;

// One record: its kind and what it carries, the alternative of the kind's layout.
struct ReplayRecord {
  ReplayKind kind = ReplayKind::End;
  ReplayValue value;

  template <ReplayKind K>
  static ReplayRecord of(ReplayValueOf<K> value) {
    return {K, ReplayValue(std::in_place_index<static_cast<size_t>(replayKindInfo(K).layout)>,
                           std::move(value))};
  }
  template <ReplayKind K>
  const ReplayValueOf<K>& as() const {
    return std::get<static_cast<size_t>(replayKindInfo(K).layout)>(value);
  }
};

}  // namespace platform
