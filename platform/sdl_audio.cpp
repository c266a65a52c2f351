// SDL's audio stands in for the sound device. The device is opened paused and stays
// so: the game prepares its samples but never plays them. A machine without a sound
// device gets a game without sound, and a quiet terminal.

#include <SDL.h>
#include <dlfcn.h>

#include <memory>

#include "platform/audio_system.h"
#include "platform/memory_audio_buffer.h"
#include "platform/sdl_ptrs.h"

namespace platform {

namespace {

extern "C" void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA, which SDL loads when no sound server runs, prints its failures to find a device
// on the standard error. They say nothing a player needs: the game runs silently then.
void silenceAlsa() {
  static bool done = false;
  if (done) return;
  done = true;
  // The library stays loaded: SDL shares this copy, and the handler must outlive its use.
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  if (alsa == nullptr) return;
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetHandler = int (*)(Handler);
  if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
    set(ignoreAlsaError);
  }
}

// SDL's sample type for a format, or 0 when SDL cannot play it.
SDL_AudioFormat sdlSampleType(const AudioFormat& format) {
  if (format.formatTag == 1) {
    switch (format.bitsPerSample) {
      case 8:
        return AUDIO_U8;
      case 16:
        return AUDIO_S16LSB;
      case 32:
        return AUDIO_S32LSB;
      default:
        return 0;
    }
  }
  if (format.formatTag == 3 && format.bitsPerSample == 32) return AUDIO_F32LSB;
  return 0;
}

bool playable(const AudioFormat& format) {
  return sdlSampleType(format) != 0 && format.channels >= 1 && format.channels <= 8 &&
         format.samplesPerSec >= 1000 && format.samplesPerSec <= 192000;
}

AudioFormat fromSdl(const SDL_AudioSpec& obtained) {
  AudioFormat f;
  f.formatTag = SDL_AUDIO_ISFLOAT(obtained.format) ? 3 : 1;
  f.channels = obtained.channels;
  f.samplesPerSec = static_cast<uint32_t>(obtained.freq);
  f.bitsPerSample = static_cast<uint16_t>(SDL_AUDIO_BITSIZE(obtained.format));
  return f;
}

// The open SDL device, shared by the device object and its buffers so that a buffer
// outliving its device stays harmless.
struct DeviceState {
  SdlAudioDeviceHandle device;  // closed by the device object, whoever else holds this
  SDL_AudioSpec obtained{};
  int buffers = 0;
};

// Opens the default output paused; an empty handle when SDL refuses.
SdlAudioDeviceHandle openPaused(const AudioFormat& format, SDL_AudioSpec& obtained) {
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(format.samplesPerSec);
  wanted.format = sdlSampleType(format);
  wanted.channels = static_cast<Uint8>(format.channels);
  wanted.samples = 1024;
  wanted.callback = nullptr;  // queued samples only; nothing is ever queued
  return SdlAudioDeviceHandle(
      SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_ANY_CHANGE));
}

class SdlPrimaryBuffer : public MemoryAudioBuffer {
 public:
  explicit SdlPrimaryBuffer(const AudioFormat& format) : MemoryAudioBuffer(format, 0) {}

 protected:
  bool convert(const std::vector<uint8_t>&, std::vector<uint8_t>& out) override {
    out.clear();
    return true;
  }
};

class SdlAudioBuffer : public MemoryAudioBuffer {
 public:
  SdlAudioBuffer(std::shared_ptr<DeviceState> device, const AudioFormat& format, uint32_t bytes)
      : MemoryAudioBuffer(format, bytes), device_(std::move(device)) {
    ++device_->buffers;
  }
  ~SdlAudioBuffer() override { --device_->buffers; }

 protected:
  bool convert(const std::vector<uint8_t>& samples, std::vector<uint8_t>& out) override {
    const AudioFormat from = format();
    const SDL_AudioSpec& to = device_->obtained;
    SDL_AudioCVT cvt;
    const int built =
        SDL_BuildAudioCVT(&cvt, sdlSampleType(from), static_cast<Uint8>(from.channels),
                          static_cast<int>(from.samplesPerSec), to.format, to.channels, to.freq);
    if (built < 0) return false;
    // A partial frame at the end cannot be converted and is dropped.
    const size_t whole = samples.size() - samples.size() % from.frameBytes();
    if (built == 0) {
      out.assign(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(whole));
      return true;
    }
    std::vector<uint8_t> work(whole * static_cast<size_t>(cvt.len_mult));
    std::copy(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(whole), work.begin());
    cvt.buf = work.data();
    cvt.len = static_cast<int>(whole);
    if (SDL_ConvertAudio(&cvt) < 0) return false;
    work.resize(static_cast<size_t>(cvt.len_cvt));
    out = std::move(work);
    return true;
  }

 private:
  std::shared_ptr<DeviceState> device_;
};

class SdlAudioDevice : public AudioDevice {
 public:
  explicit SdlAudioDevice(std::shared_ptr<DeviceState> state) : state_(std::move(state)) {}
  ~SdlAudioDevice() override {
    state_->device.reset();  // before the audio layer stops, though buffers keep the state
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  SdlAudioDevice(const SdlAudioDevice&) = delete;
  SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

  AudioFormat format() const override { return fromSdl(state_->obtained); }
  bool paused() const override {
    return SDL_GetAudioDeviceStatus(state_->device.get()) != SDL_AUDIO_PLAYING;
  }
  bool setCooperativeLevel(uint32_t, AudioCooperation) override { return true; }

  std::unique_ptr<AudioBuffer> createPrimaryBuffer() override {
    return std::make_unique<SdlPrimaryBuffer>(format());
  }

  std::unique_ptr<AudioBuffer> createBuffer(const AudioFormat& format, uint32_t bytes) override {
    if (!playable(format) || bytes == 0) return nullptr;
    if (state_->buffers == 0 && !(format == this->format())) follow(format);
    return std::make_unique<SdlAudioBuffer>(state_, format, bytes);
  }

 private:
  // Reopens the device in the format of its first buffer. Drivers that allow one open
  // device at a time get it closed first, and back in its old format if the new one is
  // refused.
  void follow(const AudioFormat& format) {
    SDL_AudioSpec obtained{};
    SdlAudioDeviceHandle device = openPaused(format, obtained);
    if (!device) {
      const AudioFormat old = fromSdl(state_->obtained);
      state_->device.reset();
      device = openPaused(format, obtained);
      if (!device) device = openPaused(old, obtained);
      if (!device) return;
    }
    state_->device = std::move(device);  // the old one closes once the new one is open
    state_->obtained = obtained;
  }

  std::shared_ptr<DeviceState> state_;
};

class SdlAudioSystem : public AudioSystem {
 public:
  std::unique_ptr<AudioDevice> openDevice() override { return openDeviceIn(AudioFormat{}); }

  std::unique_ptr<AudioDevice> openDeviceIn(const AudioFormat& format) override {
    silenceAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) return nullptr;
    auto state = std::make_shared<DeviceState>();
    state->device = openPaused(playable(format) ? format : AudioFormat{}, state->obtained);
    if (!state->device) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return nullptr;
    }
    return std::make_unique<SdlAudioDevice>(std::move(state));
  }
};

}  // namespace

std::unique_ptr<AudioSystem> createSdlAudioSystem() { return std::make_unique<SdlAudioSystem>(); }

}  // namespace platform
