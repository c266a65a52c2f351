#include "platform/replay_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using platform::ReplayFileError;
using platform::ReplayHeader;
using platform::ReplayKind;
using platform::ReplayReader;
using platform::ReplayRecord;
using platform::ReplayWriter;

class ReplayFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("reefmaw_replay_file_" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  static std::vector<uint8_t> read(const std::string& path) {
    return platform::readReplayFile(path);
  }
  static void write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  // The message of the error reading these bytes raises, or "" when they read.
  static std::string errorOf(const std::vector<uint8_t>& bytes) {
    try {
      ReplayReader::check(bytes);
    } catch (const ReplayFileError& e) {
      return e.what();
    }
    return "";
  }

  fs::path dir_;
};

ReplayRecord record(ReplayKind kind, int64_t value = 0) {
  ReplayRecord r;
  r.kind = kind;
  r.value = value;
  return r;
}

// One record of every kind, with values at the edges of what they carry.
std::vector<ReplayRecord> everyKind() {
  std::vector<ReplayRecord> records;
  records.push_back(record(ReplayKind::Ticks, 0xFFFFFFF0u));
  records.push_back(record(ReplayKind::Ticks, 5));  // across the counter's wrap
  records.push_back(record(ReplayKind::Counter, INT64_MAX));
  records.push_back(record(ReplayKind::Counter, 12));
  records.push_back(record(ReplayKind::NoEvent));
  ReplayRecord event = record(ReplayKind::Event);
  event.event.kind = platform::EventKind::Char;
  event.event.window = 4000000000u;
  event.event.x = -20;
  event.event.y = INT32_MAX;
  event.event.button = platform::MouseButton::Middle;
  event.event.key = 0xFFFF;
  event.event.shift = platform::ssAlt | platform::ssRight;
  event.event.text = "Ё";
  records.push_back(event);
  ReplayRecord keys = record(ReplayKind::Keyboard);
  keys.keys[38] = 0x80;
  keys.keys[255] = 1;
  records.push_back(keys);
  keys.keys[38] = 0;
  records.push_back(keys);
  ReplayRecord mouse = record(ReplayKind::Mouse, 1);
  mouse.mouse.x = -3;
  mouse.mouse.z = 120;
  mouse.mouse.buttons = {true, false, false, true};
  records.push_back(mouse);
  records.push_back(record(ReplayKind::Mouse, 0));
  ReplayRecord stick = record(ReplayKind::JoystickRead, 1);
  stick.joystick.axes = {-32768, 32767, 0, 1, 2, 3, 4, INT32_MIN};
  stick.joystick.axisMin = -32768;
  stick.joystick.axisMax = 32767;
  stick.joystick.pov = 27000;
  stick.joystick.buttons[0] = true;
  stick.joystick.buttons[127] = true;
  stick.joystick.pressed[5] = true;
  records.push_back(stick);
  for (ReplayKind kind :
       {ReplayKind::OpenJoystick, ReplayKind::JoystickAttached, ReplayKind::JoystickHaptic,
        ReplayKind::HapticUpdate, ReplayKind::HapticRun, ReplayKind::HapticStop,
        ReplayKind::HapticAutocenter, ReplayKind::DeviceLayer, ReplayKind::WindowVisible,
        ReplayKind::WindowFullscreen, ReplayKind::WindowPresent, ReplayKind::AudioDevice}) {
    records.push_back(record(kind, 1));
  }
  for (ReplayKind kind :
       {ReplayKind::JoystickCount, ReplayKind::JoystickChanges, ReplayKind::JoystickAxes,
        ReplayKind::JoystickButtons, ReplayKind::HapticCreate, ReplayKind::HapticStatus,
        ReplayKind::CreateWindow, ReplayKind::PadLayouts}) {
    records.push_back(record(kind, -1));
  }
  ReplayRecord kinds = record(ReplayKind::HapticKinds);
  kinds.hapticKinds = {platform::HapticKind::Friction, platform::HapticKind::Constant};
  records.push_back(kinds);
  ReplayRecord extent = record(ReplayKind::TextExtent);
  extent.numbers = {120, 17, 0, 0};
  records.push_back(extent);
  ReplayRecord placement = record(ReplayKind::WindowPlacement, 1);
  placement.numbers = {-5, 10, 800, 600};
  records.push_back(placement);
  for (ReplayKind kind :
       {ReplayKind::WindowWorkArea, ReplayKind::WindowFrame, ReplayKind::DesktopMode}) {
    ReplayRecord r = record(kind);
    r.numbers = {1, -2, 3, INT32_MIN};
    records.push_back(r);
  }
  ReplayRecord caption = record(ReplayKind::WindowCaption);
  caption.text = "reefmaw [Pause]";
  records.push_back(caption);
  ReplayRecord path = record(ReplayKind::ExecutablePath);
  path.text = "/usr/games/reefmaw";
  records.push_back(path);
  ReplayRecord modes = record(ReplayKind::DisplayModes);
  modes.modes = {{800, 600, 16, 60}, {1920, 1080, 32, 144}};
  records.push_back(modes);
  ReplayRecord frame = record(ReplayKind::Frame, 4000000000u);
  frame.digest = 0xFEDCBA9876543210ull;
  records.push_back(frame);
  return records;
}

// The fields a record of its kind carries.
void expectSame(const ReplayRecord& read, const ReplayRecord& written) {
  ASSERT_EQ(read.kind, written.kind);
  const auto kind = static_cast<int>(written.kind);
  switch (written.kind) {
    case ReplayKind::Ticks:
      EXPECT_EQ(static_cast<uint32_t>(read.value), static_cast<uint32_t>(written.value));
      break;
    case ReplayKind::Event:
      EXPECT_EQ(read.event.kind, written.event.kind);
      EXPECT_EQ(read.event.window, written.event.window);
      EXPECT_EQ(read.event.x, written.event.x);
      EXPECT_EQ(read.event.y, written.event.y);
      EXPECT_EQ(read.event.button, written.event.button);
      EXPECT_EQ(read.event.key, written.event.key);
      EXPECT_EQ(read.event.shift, written.event.shift);
      EXPECT_EQ(read.event.text, written.event.text);
      break;
    case ReplayKind::Keyboard:
      EXPECT_EQ(read.keys, written.keys);
      break;
    case ReplayKind::Mouse:
      EXPECT_EQ(read.value, written.value);
      if (written.value != 0) {
        EXPECT_EQ(read.mouse.x, written.mouse.x);
        EXPECT_EQ(read.mouse.z, written.mouse.z);
        EXPECT_EQ(read.mouse.buttons, written.mouse.buttons);
      }
      break;
    case ReplayKind::JoystickRead:
      EXPECT_EQ(read.joystick.axes, written.joystick.axes);
      EXPECT_EQ(read.joystick.axisMin, written.joystick.axisMin);
      EXPECT_EQ(read.joystick.axisMax, written.joystick.axisMax);
      EXPECT_EQ(read.joystick.pov, written.joystick.pov);
      EXPECT_EQ(read.joystick.buttons, written.joystick.buttons);
      EXPECT_EQ(read.joystick.pressed, written.joystick.pressed);
      break;
    case ReplayKind::HapticKinds:
      EXPECT_EQ(read.hapticKinds, written.hapticKinds);
      break;
    case ReplayKind::TextExtent:
      EXPECT_EQ(read.numbers[0], written.numbers[0]) << kind;
      EXPECT_EQ(read.numbers[1], written.numbers[1]) << kind;
      break;
    case ReplayKind::WindowPlacement:
      EXPECT_EQ(read.numbers, written.numbers);
      EXPECT_EQ(read.value, written.value);
      break;
    case ReplayKind::WindowWorkArea:
    case ReplayKind::WindowFrame:
    case ReplayKind::DesktopMode:
      EXPECT_EQ(read.numbers, written.numbers) << kind;
      break;
    case ReplayKind::NoEvent:
      break;
    case ReplayKind::WindowCaption:
    case ReplayKind::ExecutablePath:
      EXPECT_EQ(read.text, written.text);
      break;
    case ReplayKind::DisplayModes:
      ASSERT_EQ(read.modes.size(), written.modes.size());
      for (size_t i = 0; i < read.modes.size(); ++i) {
        EXPECT_EQ(read.modes[i].width, written.modes[i].width);
        EXPECT_EQ(read.modes[i].refreshRate, written.modes[i].refreshRate);
      }
      break;
    case ReplayKind::Frame:
      EXPECT_EQ(read.value, written.value);
      EXPECT_EQ(read.digest, written.digest);
      break;
    default:
      EXPECT_EQ(read.value, written.value) << kind;
      break;
  }
}

TEST_F(ReplayFileTest, EveryKindOfRecordReadsBackAsWritten) {
  ReplayHeader header;
  header.counterFrequency = 1000000000;
  header.attachments["records"] = std::string("Ёжик\r\n100\r\n\0x", 14);
  header.attachments["empty"] = "";
  const std::vector<ReplayRecord> records = everyKind();
  {
    ReplayWriter writer(path("all.replay"), header);
    for (const ReplayRecord& r : records) writer.write(r);
    writer.finish("level 1, total 0", 42);
  }
  const std::vector<uint8_t> bytes = read(path("all.replay"));
  EXPECT_EQ(ReplayReader::check(bytes), "level 1, total 0");
  ReplayReader reader(bytes);
  EXPECT_EQ(reader.header().counterFrequency, header.counterFrequency);
  EXPECT_EQ(reader.header().attachments, header.attachments);
  for (const ReplayRecord& written : records) {
    SCOPED_TRACE(static_cast<int>(written.kind));
    expectSame(reader.next(), written);
  }
  const ReplayRecord& end = reader.next();
  EXPECT_EQ(end.kind, ReplayKind::End);
  EXPECT_EQ(end.text, "level 1, total 0");
  EXPECT_EQ(end.digest, 42u);
  EXPECT_TRUE(reader.ended());
  EXPECT_EQ(reader.next().kind, ReplayKind::End);  // and End again
}

TEST_F(ReplayFileTest, AMinuteOfPlayTakesLessThanTwoMegabytes) {
  ReplayWriter writer(path("minute.replay"), {});
  ReplayRecord ticks = record(ReplayKind::Ticks);
  ReplayRecord counter = record(ReplayKind::Counter);
  ReplayRecord keys = record(ReplayKind::Keyboard);
  // 60 frames a second, each with a poll, the keyboard and 200 counter readings whose
  // steps wander over a thousand values, as a real machine's do.
  uint32_t noise = 1;
  for (int frame = 0; frame < 3600; ++frame) {
    ticks.value = frame * 50 / 3;
    writer.write(ticks);
    writer.write(record(ReplayKind::NoEvent));
    writer.write(keys);
    for (int i = 0; i < 200; ++i) {
      noise = noise * 1664525u + 1013904223u;
      counter.value += 500 + (noise >> 22);
      writer.write(counter);
    }
  }
  writer.finish("", 0);
  EXPECT_LT(fs::file_size(path("minute.replay")), 2u * 1024 * 1024);
}

TEST_F(ReplayFileTest, AnUnfinishedRecordingLeavesNoFile) {
  {
    ReplayWriter writer(path("cut.replay"), {});
    writer.write(record(ReplayKind::NoEvent));
  }
  EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(ReplayFileTest, AFileThatCannotBeMadeIsRefusedAtOnce) {
  EXPECT_THROW(ReplayWriter(path("no/such/folder/x.replay"), {}), ReplayFileError);
}

TEST_F(ReplayFileTest, ForeignNewerCutAndDamagedFilesGetTheirOwnMessage) {
  {
    ReplayWriter writer(path("ok.replay"), {});
    for (int i = 0; i < 2000; ++i) writer.write(record(ReplayKind::Ticks, i * 17));
    writer.finish("end", 1);
  }
  const std::vector<uint8_t> good = read(path("ok.replay"));
  ASSERT_EQ(errorOf(good), "");

  EXPECT_EQ(errorOf({}), "not a recorded game of Reefmaw");
  EXPECT_EQ(errorOf({'B', 'M', 0x36, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "not a recorded game of Reefmaw");

  std::vector<uint8_t> newer = good;
  newer[8] = 2;
  EXPECT_EQ(errorOf(newer),
            "recorded by a newer version of Reefmaw (format 2; this version reads format 1)");

  // Cut anywhere, the file says so; it never reads as a whole game.
  for (size_t size = 1; size < good.size(); ++size) {
    const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_EQ(errorOf(cut), "the recording is cut short") << size;
  }

  std::vector<uint8_t> trailing = good;
  trailing.push_back(0);
  EXPECT_EQ(errorOf(trailing), "the recording is damaged");

  // A changed byte anywhere in the compressed part is found (the stream's checksum).
  for (size_t at = 10; at < good.size(); at += 7) {
    std::vector<uint8_t> damaged = good;
    damaged[at] ^= 0x10;
    EXPECT_NE(errorOf(damaged), "") << at;
  }
}

TEST_F(ReplayFileTest, AMissingFileIsNamedByTheReason) {
  try {
    read(path("missing.replay"));
    FAIL();
  } catch (const ReplayFileError& e) {
    EXPECT_EQ(std::string(e.what()), "cannot be read: No such file or directory");
  }
}

}  // namespace
