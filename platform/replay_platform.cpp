#include "platform/replay_platform.h"

#include "platform/dl_library_loader.h"
#include "platform/fake_audio.h"

namespace platform {
namespace {

// Only the display's windows and text drawing: every question goes to the recording.
TapedMachine displayMachine(Platform* display) {
  TapedMachine machine;
  machine.ownAudio = std::make_unique<FakeAudioSystem>();  // the game only prepares samples
  machine.audio = machine.ownAudio.get();
  machine.files = &systemFiles();
  if (display == nullptr) {
    machine.ownLibraries = createDlLibraryLoader();
    machine.libraries = machine.ownLibraries.get();
    return machine;
  }
  machine.text = &display->text();
  machine.windows = display;
  machine.libraries = &display->libraries();
  return machine;
}

}  // namespace

ReplayPlatform::ReplayPlatform(ReplayReader& reader, Platform* display)
    : TapedPlatform(std::make_unique<ReplayTape>(reader, display), displayMachine(display)) {}

}  // namespace platform
