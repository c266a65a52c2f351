// Recorded games from untrusted bytes: the file's check, then a replay of whatever it
// holds. A file that passes the check must read record by record to the same end, and a
// replay that asks for exactly what each record holds must end as recorded; one that
// asks for something else at some point must stop there and stay stopped. Nothing may
// crash, hang or read outside the file.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/audio_system.h"
#include "platform/input_system.h"
#include "platform/replay_file.h"
#include "platform/replay_platform.h"

namespace {

using platform::ReplayKind;

// Asks the platform the question whose answer this record holds.
void ask(platform::ReplayPlatform& p, const platform::ReplayRecord& r,
         std::unique_ptr<platform::Window>& window, std::unique_ptr<platform::Joystick>& stick) {
  platform::Event event;
  std::array<uint8_t, 256> keys{};
  platform::MouseReading mouse;
  platform::JoystickReading reading;
  int width = 0;
  int height = 0;
  switch (r.kind) {
    case ReplayKind::Ticks:
      p.clock().ticks();
      break;
    case ReplayKind::Counter:
      p.clock().highResCounter();
      break;
    case ReplayKind::NoEvent:
    case ReplayKind::Event:
      p.events().poll(event);
      break;
    case ReplayKind::Keyboard:
      p.input().keyboardState(keys);
      break;
    case ReplayKind::Mouse:
      p.input().readMouse(mouse);
      break;
    case ReplayKind::JoystickCount:
      p.input().joystickCount();
      break;
    case ReplayKind::JoystickChanges:
      p.input().joystickChanges();
      break;
    case ReplayKind::OpenJoystick:
      if (auto opened = p.input().openJoystick(0, true)) stick = std::move(opened);
      break;
    case ReplayKind::DeviceLayer:
      p.input().acquireDeviceLayer();
      break;
    case ReplayKind::PadLayouts:
      p.input().addControllerMappings("gamecontrollerdb.txt");
      break;
    case ReplayKind::TextExtent:
      p.text().textExtent("x", {}, width, height);
      break;
    case ReplayKind::CreateWindow:
      window = p.createWindow({});
      break;
    case ReplayKind::DisplayModes:
      p.displayModes();
      break;
    case ReplayKind::DesktopMode:
      p.desktopMode();
      break;
    case ReplayKind::ExecutablePath:
      p.executablePath();
      break;
    case ReplayKind::AudioDevice:
      p.audio().openDevice();
      break;
    case ReplayKind::Frame:
      p.frame(r.as<ReplayKind::Frame>().number, r.as<ReplayKind::Frame>().digest);
      break;
    case ReplayKind::End:
      p.finish(r.as<ReplayKind::End>().state, r.as<ReplayKind::End>().digest);
      break;
    default:
      // Questions to a window or a joystick need one: without it, ask the clock instead,
      // which leaves the recording just the same.
      if (window && r.kind == ReplayKind::WindowVisible) {
        window->visible();
      } else if (window && r.kind == ReplayKind::WindowPlacement) {
        window->placement();
      } else if (stick && r.kind == ReplayKind::JoystickRead) {
        stick->read(reading);
      } else {
        p.clock().ticks();
      }
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  std::string end;
  try {
    end = platform::ReplayReader::check(bytes);
  } catch (const platform::ReplayFileError&) {
    return 0;
  }
  // Record by record, the file reads to the end the check found.
  std::vector<platform::ReplayRecord> records;
  {
    platform::ReplayReader reader(bytes);
    while (!reader.ended() && records.size() < 100000) records.push_back(reader.next());
    if (!reader.ended()) return 0;  // long: the check read it all already
    if (records.back().kind != ReplayKind::End ||
        records.back().as<ReplayKind::End>().state != end) {
      std::abort();
    }
  }
  // Replayed with the right questions, then with a wrong one somewhere.
  for (size_t wrongAt : {records.size(), size % records.size()}) {
    platform::ReplayReader reader(bytes);
    platform::ReplayPlatform replay(reader, nullptr);
    std::unique_ptr<platform::Window> window;
    std::unique_ptr<platform::Joystick> stick;
    bool wrongAsked = false;
    for (size_t i = 0; i < records.size(); ++i) {
      if (i == wrongAt && records[i].kind != ReplayKind::ExecutablePath) {
        replay.executablePath();
        wrongAsked = true;
      }
      ask(replay, records[i], window, stick);
    }
    platform::Event event;
    replay.events().poll(event);
    if (wrongAsked && replay.failure().empty()) std::abort();
  }
  return 0;
}
