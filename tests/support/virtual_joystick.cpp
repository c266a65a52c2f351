#include "support/virtual_joystick.h"

#include <SDL.h>

#include "platform/sdl_ptrs.h"

namespace platform {
namespace {

Uint8 hatFromPov(int32_t pov) {
  if (pov < 0) return SDL_HAT_CENTERED;
  static constexpr Uint8 kHats[] = {SDL_HAT_UP,        SDL_HAT_RIGHTUP, SDL_HAT_RIGHT,
                                    SDL_HAT_RIGHTDOWN, SDL_HAT_DOWN,    SDL_HAT_LEFTDOWN,
                                    SDL_HAT_LEFT,      SDL_HAT_LEFTUP};
  return kHats[static_cast<size_t>((pov + 2250) / 4500) % 8];
}

class SdlVirtualJoystick : public VirtualJoystick {
 public:
  SdlVirtualJoystick() = default;
  ~SdlVirtualJoystick() override {
    if (!started_) return;
    joystick_.reset();  // closed before it is detached and the layer stops
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == instance_) SDL_JoystickDetachVirtual(i);
    }
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  SdlVirtualJoystick(const SdlVirtualJoystick&) = delete;
  SdlVirtualJoystick& operator=(const SdlVirtualJoystick&) = delete;

  bool attach(const VirtualJoystickDesc& d) {
    started_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    if (!started_) return false;
    name_ = d.name;
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    // SDL maps only pads of the controller kind; a flight stick it leaves as it is.
    desc.type = d.gamepad ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_FLIGHT_STICK;
    desc.naxes = static_cast<Uint16>(d.axes);
    desc.nbuttons = static_cast<Uint16>(d.buttons);
    desc.nhats = static_cast<Uint16>(d.hats);
    desc.vendor_id = d.vendor;
    desc.product_id = d.product;
    desc.name = name_.c_str();
    desc.userdata = this;
    if (d.rumble) desc.Rumble = &SdlVirtualJoystick::onRumble;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) return false;
    instance_ = SDL_JoystickGetDeviceInstanceID(index);
    joystick_.reset(SDL_JoystickOpen(index));
    return joystick_ != nullptr;
  }

  void setAxis(int axis, int16_t value) override {
    SDL_JoystickSetVirtualAxis(joystick_.get(), axis, value);
  }
  void setButton(int button, bool down) override {
    SDL_JoystickSetVirtualButton(joystick_.get(), button, down ? SDL_PRESSED : SDL_RELEASED);
  }
  void setHat(int hat, int32_t pov) override {
    SDL_JoystickSetVirtualHat(joystick_.get(), hat, hatFromPov(pov));
  }
  std::vector<RumbleCall> rumbles() const override { return rumbles_; }

 private:
  static int SDLCALL onRumble(void* self, Uint16 low, Uint16 high) {
    static_cast<SdlVirtualJoystick*>(self)->rumbles_.push_back(RumbleCall{low, high});
    return 0;
  }

  bool started_ = false;
  std::string name_;
  SDL_JoystickID instance_ = -1;
  SdlJoystickUniquePtr joystick_;
  std::vector<RumbleCall> rumbles_;
};

}  // namespace

VirtualJoystickDesc xboxPadDesc() {
  VirtualJoystickDesc desc;
  desc.name = "Xbox 360 Controller";
  desc.gamepad = true;
  desc.vendor = 0x045E;
  desc.product = 0x028E;
  desc.axes = 6;
  desc.buttons = 11;
  desc.hats = 1;
  desc.rumble = true;
  return desc;
}

std::unique_ptr<VirtualJoystick> attachSdlVirtualJoystick(const VirtualJoystickDesc& desc) {
  auto stick = std::make_unique<SdlVirtualJoystick>();
  if (!stick->attach(desc)) return nullptr;
  return stick;
}

}  // namespace platform
