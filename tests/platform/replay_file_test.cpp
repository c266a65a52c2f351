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

template <ReplayKind K>
ReplayRecord record(platform::ReplayValueOf<K> value = {}) {
  return ReplayRecord::of<K>(std::move(value));
}

// One record of every kind, with values at the edges of what they carry.
std::vector<ReplayRecord> everyKind() {
  std::vector<ReplayRecord> records;
  records.push_back(record<ReplayKind::Ticks>(0xFFFFFFF0u));
  records.push_back(record<ReplayKind::Ticks>(5));  // across the counter's wrap
  records.push_back(record<ReplayKind::Counter>(INT64_MAX));
  records.push_back(record<ReplayKind::Counter>(12));
  records.push_back(record<ReplayKind::NoEvent>());
  platform::Event event;
  event.kind = platform::EventKind::Char;
  event.window = 4000000000u;
  event.x = -20;
  event.y = INT32_MAX;
  event.button = platform::MouseButton::Middle;
  event.key = 0xFFFF;
  event.shift = platform::ssAlt | platform::ssRight;
  event.text = "Ё";
  records.push_back(record<ReplayKind::Event>(event));
  platform::KeyTable keys{};
  keys[38] = 0x80;
  keys[255] = 1;
  records.push_back(record<ReplayKind::Keyboard>(keys));
  keys[38] = 0;
  records.push_back(record<ReplayKind::Keyboard>(keys));
  platform::MouseReading mouse;
  mouse.x = -3;
  mouse.z = 120;
  mouse.buttons = {true, false, false, true};
  records.push_back(record<ReplayKind::Mouse>(mouse));
  records.push_back(record<ReplayKind::Mouse>(std::nullopt));
  platform::JoystickReading stick;
  stick.axes = {-32768, 32767, 0, 1, 2, 3, 4, INT32_MIN};
  stick.axisMin = -32768;
  stick.axisMax = 32767;
  stick.pov = 27000;
  stick.buttons[0] = true;
  stick.buttons[127] = true;
  stick.pressed[5] = true;
  records.push_back(record<ReplayKind::JoystickRead>(stick));
  records.push_back(record<ReplayKind::JoystickRead>(std::nullopt));
  for (const ReplayRecord& flag :
       {record<ReplayKind::OpenJoystick>(true), record<ReplayKind::JoystickAttached>(true),
        record<ReplayKind::JoystickHaptic>(true), record<ReplayKind::HapticUpdate>(true),
        record<ReplayKind::HapticRun>(true), record<ReplayKind::HapticStop>(false),
        record<ReplayKind::HapticAutocenter>(true), record<ReplayKind::DeviceLayer>(true),
        record<ReplayKind::WindowVisible>(true), record<ReplayKind::WindowFullscreen>(true),
        record<ReplayKind::WindowPresent>(true), record<ReplayKind::AudioDevice>(true)}) {
    records.push_back(flag);
  }
  for (const ReplayRecord& number :
       {record<ReplayKind::JoystickCount>(-1), record<ReplayKind::JoystickChanges>(-1),
        record<ReplayKind::JoystickAxes>(-1), record<ReplayKind::JoystickButtons>(-1),
        record<ReplayKind::HapticCreate>(INT64_MIN), record<ReplayKind::HapticStatus>(-1),
        record<ReplayKind::CreateWindow>(INT64_MAX), record<ReplayKind::PadLayouts>(-1)}) {
    records.push_back(number);
  }
  records.push_back(record<ReplayKind::HapticKinds>(
      {platform::HapticKind::Friction, platform::HapticKind::Constant}));
  records.push_back(record<ReplayKind::TextExtent>({120, 17}));
  records.push_back(record<ReplayKind::WindowPlacement>({-5, 10, 800, 600, true}));
  records.push_back(record<ReplayKind::WindowWorkArea>({1, -2, 3, INT32_MIN}));
  records.push_back(record<ReplayKind::WindowFrame>({1, -2, 3, INT32_MIN}));
  records.push_back(record<ReplayKind::DesktopMode>({1, -2, 3, INT32_MIN}));
  records.push_back(record<ReplayKind::WindowCaption>("reefmaw [Pause]"));
  records.push_back(record<ReplayKind::ExecutablePath>("/usr/games/reefmaw"));
  records.push_back(record<ReplayKind::DisplayModes>({{800, 600, 16, 60}, {1920, 1080, 32, 144}}));
  records.push_back(record<ReplayKind::Frame>({4000000000u, 0xFEDCBA9876543210ull}));
  return records;
}

// The value a record of its kind carries, whole.
void expectSame(const ReplayRecord& read, const ReplayRecord& written) {
  ASSERT_EQ(read.kind, written.kind);
  ASSERT_EQ(read.value.index(), written.value.index());
  const auto same = [](const auto& a, const auto& b) {
    using T = std::decay_t<decltype(a)>;
    if constexpr (std::is_same_v<T, platform::Event>) {
      EXPECT_EQ(a.kind, b.kind);
      EXPECT_EQ(a.window, b.window);
      EXPECT_EQ(a.x, b.x);
      EXPECT_EQ(a.y, b.y);
      EXPECT_EQ(a.button, b.button);
      EXPECT_EQ(a.key, b.key);
      EXPECT_EQ(a.shift, b.shift);
      EXPECT_EQ(a.text, b.text);
    } else if constexpr (std::is_same_v<T, std::optional<platform::MouseReading>>) {
      ASSERT_EQ(a.has_value(), b.has_value());
      if (!a) return;
      EXPECT_EQ(std::tie(a->x, a->y, a->z, a->buttons), std::tie(b->x, b->y, b->z, b->buttons));
    } else if constexpr (std::is_same_v<T, std::optional<platform::JoystickReading>>) {
      ASSERT_EQ(a.has_value(), b.has_value());
      if (!a) return;
      EXPECT_EQ(std::tie(a->axes, a->axisMin, a->axisMax, a->pov, a->buttons, a->pressed),
                std::tie(b->axes, b->axisMin, b->axisMax, b->pov, b->buttons, b->pressed));
    } else if constexpr (std::is_same_v<T, platform::Placement>) {
      EXPECT_EQ(std::tie(a.x, a.y, a.width, a.height, a.maximized),
                std::tie(b.x, b.y, b.width, b.height, b.maximized));
    } else if constexpr (std::is_same_v<T, std::vector<platform::DisplayMode>>) {
      ASSERT_EQ(a.size(), b.size());
      for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(std::tie(a[i].width, a[i].height, a[i].bitCount, a[i].refreshRate),
                  std::tie(b[i].width, b[i].height, b[i].bitCount, b[i].refreshRate));
      }
    } else if constexpr (std::is_same_v<T, platform::FrameCheck>) {
      EXPECT_EQ(std::tie(a.number, a.digest), std::tie(b.number, b.digest));
    } else if constexpr (std::is_same_v<T, platform::EndCheck>) {
      EXPECT_EQ(std::tie(a.state, a.digest), std::tie(b.state, b.digest));
    } else {
      EXPECT_EQ(a, b);
    }
  };
  std::visit([&](const auto& a) { same(a, std::get<std::decay_t<decltype(a)>>(written.value)); },
             read.value);
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
  ASSERT_EQ(end.kind, ReplayKind::End);
  EXPECT_EQ(end.as<ReplayKind::End>().state, "level 1, total 0");
  EXPECT_EQ(end.as<ReplayKind::End>().digest, 42u);
  EXPECT_TRUE(reader.ended());
  EXPECT_EQ(reader.next().kind, ReplayKind::End);  // and End again
}

TEST_F(ReplayFileTest, AMinuteOfPlayTakesLessThanTwoMegabytes) {
  ReplayWriter writer(path("minute.replay"), {});
  const ReplayRecord keys = record<ReplayKind::Keyboard>();
  uint64_t counter = 0;
  // 60 frames a second, each with a poll, the keyboard and 200 counter readings whose
  // steps wander over a thousand values, as a real machine's do.
  uint32_t noise = 1;
  for (int frame = 0; frame < 3600; ++frame) {
    writer.write(record<ReplayKind::Ticks>(static_cast<uint32_t>(frame * 50 / 3)));
    writer.write(record<ReplayKind::NoEvent>());
    writer.write(keys);
    for (int i = 0; i < 200; ++i) {
      noise = noise * 1664525u + 1013904223u;
      counter += 500 + (noise >> 22);
      writer.write(record<ReplayKind::Counter>(counter));
    }
  }
  writer.finish("", 0);
  EXPECT_LT(fs::file_size(path("minute.replay")), 2u * 1024 * 1024);
}

TEST_F(ReplayFileTest, AnUnfinishedRecordingLeavesNoFile) {
  {
    ReplayWriter writer(path("cut.replay"), {});
    writer.write(record<ReplayKind::NoEvent>());
  }
  EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(ReplayFileTest, AFileThatCannotBeMadeIsRefusedAtOnce) {
  EXPECT_THROW(ReplayWriter(path("no/such/folder/x.replay"), {}), ReplayFileError);
}

TEST_F(ReplayFileTest, ForeignNewerCutAndDamagedFilesGetTheirOwnMessage) {
  {
    ReplayWriter writer(path("ok.replay"), {});
    for (int i = 0; i < 2000; ++i)
      writer.write(record<ReplayKind::Ticks>(static_cast<uint32_t>(i * 17)));
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
