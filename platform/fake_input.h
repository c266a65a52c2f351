#pragma once
// A scripted stand-in for the input devices: tests press keys, plug and unplug joysticks,
// move their sticks, and read back what was asked of a force-feedback motor.

#include <memory>
#include <string>
#include <vector>

#include "platform/input_system.h"

namespace platform {

// Records every effect created on it and every call made to those effects.
class FakeHapticDevice : public HapticDevice {
 public:
  struct Record {
    HapticEffect effect;
    bool alive = true;
    bool playing = false;
    int runs = 0;
    int stops = 0;
    int updates = 0;
  };

  std::vector<HapticKind> kinds{HapticKind::Constant, HapticKind::Sine, HapticKind::Spring};
  bool failCreate = false;
  // Number of runEffect calls that fail before the next one succeeds (a lost device).
  int failRuns = 0;
  // What effectStatus answers for a playing effect: 1, or -1 for a device that cannot tell.
  int statusOfPlaying = 1;
  bool autocenter = false;
  std::vector<Record> records;   // indexed by handle
  std::vector<std::string> log;  // "create 0", "run 0", "stop 0", "update 0", "destroy 0"

  int liveEffects() const;
  // Ends every playing effect, as the device does when their time is up.
  void finishAll();

  std::vector<HapticKind> supportedKinds() override { return kinds; }
  int createEffect(const HapticEffect& effect) override;
  bool updateEffect(int handle, const HapticEffect& effect) override;
  bool runEffect(int handle, uint32_t iterations) override;
  bool stopEffect(int handle) override;
  int effectStatus(int handle) override;
  void destroyEffect(int handle) override;
  bool setAutocenter(bool on) override;

 private:
  Record* find(int handle);
};

// One stick plugged into the fake system; tests move it through these fields.
struct FakeJoystickDevice {
  struct RumbleCall {
    uint16_t low = 0;
    uint16_t high = 0;
    uint32_t ms = 0;
  };
  int axisCount = 2;
  int buttonCount = 12;
  // What the next reading gives; its pressed flags are cleared by each reading.
  JoystickReading state{};
  bool plugged = true;
  bool readable = true;
  std::unique_ptr<FakeHapticDevice> motor;  // nullptr: no effect-playing motor
  bool rumble = false;                      // without a motor, the pad can still rumble
  std::vector<RumbleCall> rumbleCalls;
  int opens = 0;

  // Holds a button down, counting it as pressed for the next reading; or lets it go.
  void press(int button, bool down = true);
  // Moves the stick to one end of its X and Y travel (-1, 0 centred, or 1).
  void deflect(int x, int y);
};

class FakeInputSystem : public InputSystem {
 public:
  FakeInputSystem();

  bool deviceLayerWorks = true;
  int deviceLayerUsers = 0;
  std::array<uint8_t, 256> keys{};
  bool mousePresent = true;
  MouseReading mouse;
  std::vector<std::shared_ptr<FakeJoystickDevice>> joysticks;  // attached ones, in order
  uint32_t changes = 0;

  void setKey(uint16_t virtualKey, bool down) { keys[virtualKey & 0xFF] = down ? 0x80 : 0; }
  // A stick with the usual signed 16-bit span, centred.
  std::shared_ptr<FakeJoystickDevice> plugJoystick(int axisCount = 2, int buttonCount = 12,
                                                   bool forceFeedback = false);
  // A pad that SDL would map: the fixed pad layout, no motor, but rumble.
  std::shared_ptr<FakeJoystickDevice> plugPad();
  void unplugJoystick(const std::shared_ptr<FakeJoystickDevice>& device);
  std::vector<std::string> mappingFiles;  // asked for through addControllerMappings
  int mappingsInAFile = 0;                // what addControllerMappings answers

  bool acquireDeviceLayer() override;
  void releaseDeviceLayer() override;
  void keyboardState(std::array<uint8_t, 256>& table) override { table = keys; }
  bool readMouse(MouseReading& reading) override;
  int joystickCount() override { return static_cast<int>(joysticks.size()); }
  uint32_t joystickChanges() override { return changes; }
  std::unique_ptr<Joystick> openJoystick(int position, bool haptics) override;
  int addControllerMappings(const std::string& file) override;
};

}  // namespace platform
